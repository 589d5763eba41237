// Criteria: wildcard matching, list splitting, targets and their cache, filters,
// attribute, size and time-stamp bounds, Assign and Clear.

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "platform/FileAttributes.h"
#include "platform/KorvalaError.h"
#include "search/FindFileW.h"

namespace korvala {
namespace {

TEST(WildcardMatch, Table)
{
    struct Case {
        const char* text;
        const char* pattern;
        bool expected;
    } cases[] = {
        {"ab", "ab?", true},        // "?" at the end may match nothing
        {"ab", "a*?b", true},       // "?" after "*" may match nothing
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"ABC.TXT", "*.txt", true}, // without regard to case
        {"abc.txt.bak", "*.txt", false},
        {"a.txt", "*.*", true},
        {"readme", "*.*", false},   // the pattern itself needs a dot
        {"readme.", "*.", true},
        {"", "*", true},
        {"", "", true},
        {"a", "", false},
        {"", "?", true},
        {"abcabd", "*abd", true},
        {"abcabc", "*abd", false},
        {"aXbXc", "a*b*c", true},
        {"/tmp/keep/a.txt", "*/keep/*", true},
        {"ÄRGER.txt", "ärger*", true},  // non-ASCII letters fold too
        {"straße", "STRASSE", false},   // simple folding: no expansion
        {"xy", "x*y*", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.text, c.pattern), c.expected) << c.text << " vs " << c.pattern;
}

// Many "*" before a missing character: each "*" tries its places once, so
// the answer comes at once instead of after trying every way to place them.
TEST(WildcardMatch, ManyStarsAgainstALongName)
{
    const std::string name(200, 'a');
    std::string pattern;
    for (int i = 0; i < 30; ++i)
        pattern += "*a";
    EXPECT_FALSE(WildcardMatch(name, pattern + "*b"));
    EXPECT_TRUE(WildcardMatch(name + "b", pattern + "*b"));
    EXPECT_FALSE(WildcardMatch("\u00e4" + name, "*\u00c4" + pattern + "?b"));
}

TEST(SplitList, TrimsDropsEmptyAndCaseDuplicates)
{
    EXPECT_EQ(SplitList(" *.txt; *.TXT ;;a*; "), (std::vector<std::string>{"*.txt", "a*"}));
    EXPECT_TRUE(SplitList("  ; ;").empty());
    // Folders keep their case: two names that differ in case are two folders.
    EXPECT_EQ(SplitFolderList("/a;/A;/a"), (std::vector<std::string>{"/a", "/A"}));
}

TEST(TargetFolderSyntax, PrefixesAndLevels)
{
    using namespace std::literals;
    struct Case {
        std::string_view item;
        bool sub;
        uint16_t minL, maxL;
        const char* folder;
    } cases[] = {
        {"2>/data", true, 0, 2, "/data/"},
        {"1-3>/d/x", true, 1, 3, "/d/x/"},
        {"<  /tmp ", false, 5, 7, "/tmp/"},
        {">/tmp", true, 5, 7, "/tmp/"},       // levels kept
        {"x>/tmp", true, 0, 7, "/tmp/"},      // invalid max kept, min becomes 0
        {"a-4>/tmp", true, 5, 4, "/tmp/"},    // invalid min kept
        {"9\0x>/tmp"sv, true, 0, 7, "/tmp/"},  // a NUL inside a level: not a number
        {"2\0x-3>/tmp"sv, true, 5, 3, "/tmp/"},
        {"/a/./b/../c//", false, 5, 7, "/a/c/"},
        {"/", false, 5, 7, "/"},
    };
    for (const Case& c : cases) {
        bool sub = false;
        uint16_t minL = 5, maxL = 7;
        std::string folder = ParseTargetFolder(c.item, sub, minL, maxL);
        EXPECT_EQ(folder, c.folder) << c.item;
        EXPECT_EQ(sub, c.sub) << c.item;
        EXPECT_EQ(minL, c.minL) << c.item;
        EXPECT_EQ(maxL, c.maxL) << c.item;
    }
    // Relative folders are made absolute against the current folder.
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    bool sub = true;
    uint16_t a = 0, b = 0;
    std::string expected = std::string(cwd) + (std::string(cwd) == "/" ? "" : "/") + "rel/";
    EXPECT_EQ(ParseTargetFolder("rel", sub, a, b), expected);
}

TEST(FileCriteria, TargetsMergeFoldersAndKeepMaskOrder)
{
    TFileCriteria f;
    EXPECT_EQ(f.TargetPaths().Count(), 0u);
    f.setFileName("");
    f.setLocation("/a;/a/;/b");
    f.addPath("/a/*.log");
    f.addPath("2>/b/");
    const TTargetPaths& t = f.TargetPaths();
    ASSERT_EQ(t.Count(), 2u);
    EXPECT_EQ(t[0].Folder, "/a/");
    // "/a" and "/a/" are one folder given twice: its masks are added twice.
    EXPECT_EQ(t[0].Masks, (std::vector<std::string>{"*.*", "*.*", "*.log"}));
    EXPECT_EQ(t[1].Folder, "/b/");
    EXPECT_EQ(t[1].Masks, (std::vector<std::string>{"*.*", "*.*"}));
    // The later item's recursion values replace the earlier ones.
    EXPECT_EQ(t[1].MaxLevel, 2);
    EXPECT_TRUE(t[1].Subfolders);

    f.setFileName("*.txt; *.TXT");
    EXPECT_EQ(f.TargetPaths()[0].Masks, (std::vector<std::string>{"*.txt", "*.txt", "*.log"}));

    // Exact roots come after the Location items and before the Paths entries,
    // merge with an equal folder and keep every byte of their names; an empty
    // one names nothing.
    f.setFolders({{"/e", false, 1, 1}, {"/b", false, 1, 1}, {"", true, 0, 0}, {" 3>/c;d ", true, 0, 0}});
    const TTargetPaths& u = f.TargetPaths();
    ASSERT_EQ(u.Count(), 4u);
    EXPECT_EQ(u[1].Folder, "/b/");
    EXPECT_EQ(u[1].Masks, (std::vector<std::string>{"*.txt", "*.txt", "*.*"}));
    EXPECT_EQ(u[2].Folder, "/e/");
    EXPECT_FALSE(u[2].Subfolders);
    EXPECT_EQ(u[2].MinLevel, 1);
    EXPECT_EQ(u[2].MaxLevel, 1);
    EXPECT_EQ(u[3].Folder, currentFolder() + (currentFolder() == "/" ? "" : "/") + " 3>/c;d /");
    EXPECT_EQ(u[3].Masks, (std::vector<std::string>{"*.txt"}));
}

TEST(FileCriteria, CacheRules)
{
    TFileCriteria f;
    f.setLocation("/x");
    f.TargetPaths();
    EXPECT_TRUE(f.hasCachedTargets());
    f.setLocation("/x");  // same value: kept
    f.setSubfolders(true);
    f.setMinLevel(0);
    EXPECT_TRUE(f.hasCachedTargets());
    f.Filters().push_back("*.tmp");  // filters never touch the cache
    EXPECT_TRUE(f.hasCachedTargets());
    f.setMaxLevel(3);
    EXPECT_FALSE(f.hasCachedTargets());
    f.TargetPaths();
    f.addPath("/y/*.c");
    EXPECT_FALSE(f.hasCachedTargets());
    f.TargetPaths();
    f.setFileName("*.c");
    EXPECT_FALSE(f.hasCachedTargets());
    f.TargetPaths();
    f.setFolders({{"/z", true, 0, 0}});
    EXPECT_FALSE(f.hasCachedTargets());
    f.TargetPaths();
    f.setFolders({{"/z", true, 0, 0}});  // same value: kept
    EXPECT_TRUE(f.hasCachedTargets());
    f.Clear();
    EXPECT_TRUE(f.Folders().empty());
    EXPECT_FALSE(f.hasCachedTargets());
    EXPECT_TRUE(f.Subfolders());
    EXPECT_TRUE(f.Filters().empty());
}

TEST(FileCriteria, Filters)
{
    TFileCriteria f;
    EXPECT_TRUE(f.Matches("/tmp/", "b.txt"));
    f.Filters() = {">*/keep/*", "*/tmp/*"};
    EXPECT_TRUE(f.Matches("/tmp/keep/", "a.txt"));
    EXPECT_FALSE(f.Matches("/tmp/", "b.txt"));
    EXPECT_TRUE(f.Matches("/other/", "b.txt"));
    f.Filters() = {"<*."};  // names without an extension are tested with a dot
    EXPECT_FALSE(f.Matches("/x/", "README"));
    EXPECT_TRUE(f.Matches("/x/", "a.txt"));
}

TEST(AttributesCriteria, StatesMasksAndMatching)
{
    TAttributesCriteria a;
    EXPECT_EQ(a.Hidden(), fsUnset);
    EXPECT_EQ(a.System(), fsUnset);
    EXPECT_EQ(a.Directory(), fsUnset);
    EXPECT_EQ(a.Archive(), fsIgnore);
    EXPECT_FALSE(a.Matches(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(a.Matches(FILE_ATTRIBUTE_ARCHIVE));

    a.setHidden(fsSet);  // moves the bit between masks
    EXPECT_EQ(a.Hidden(), fsSet);
    EXPECT_EQ(a.UnsetMask() & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_TRUE(a.Matches(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(a.Matches(0));

    a.Clear();
    for (const AttributeName& n : kAttributeNames)
        EXPECT_EQ(a.State(n.bit), fsIgnore) << n.name;
    a.setReadonly(fsAnySet);
    a.setArchive(fsAnySet);
    EXPECT_FALSE(a.Matches(FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(a.Matches(FILE_ATTRIBUTE_ARCHIVE));
    a.Clear();
    a.setReadonly(fsAnyUnset);
    a.setArchive(fsAnyUnset);
    EXPECT_FALSE(a.Matches(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(a.Matches(FILE_ATTRIBUTE_ARCHIVE));
}

TEST(SizeCriteria, InclusiveBounds)
{
    TSizeCriteria s;
    EXPECT_TRUE(s.Matches(0));
    EXPECT_TRUE(s.Matches(1LL << 40));
    s.Min = 1024;
    EXPECT_TRUE(s.Matches(1024));
    EXPECT_FALSE(s.Matches(1023));
    s.Max = 2048;
    EXPECT_TRUE(s.Matches(2048));
    EXPECT_FALSE(s.Matches(2049));
}

TEST(DateTimeCriteria, DateOnlyTimeOnlyAndFull)
{
    const TDateTime day = encodeDate(2024, 3, 15);
    const TDateTime lateThatDay = day + encodeTime(23, 59, 0, 0);
    TDateTimeCriteria t;
    EXPECT_TRUE(t.MatchesLocal(0, lateThatDay, 0));
    t.ModifiedBefore = day;  // a date alone covers the whole day
    EXPECT_TRUE(t.MatchesLocal(0, lateThatDay, 0));
    EXPECT_FALSE(t.MatchesLocal(0, day + 1 + encodeTime(0, 0, 1, 0), 0));
    t.Clear();
    t.ModifiedBefore = encodeTime(12, 0, 0, 0);  // a time alone: any day
    EXPECT_TRUE(t.MatchesLocal(0, encodeDate(2001, 1, 1) + encodeTime(11, 59, 0, 0), 0));
    EXPECT_TRUE(t.MatchesLocal(0, encodeDate(2030, 6, 1) + encodeTime(12, 0, 0, 0), 0));
    EXPECT_FALSE(t.MatchesLocal(0, day + encodeTime(12, 0, 1, 0), 0));
    t.Clear();
    t.CreatedAfter = day + encodeTime(10, 0, 0, 0);  // date and time: the instant
    EXPECT_FALSE(t.MatchesLocal(day + encodeTime(9, 0, 0, 0), 0, 0));
    EXPECT_TRUE(t.MatchesLocal(day + encodeTime(10, 0, 0, 0), 0, 0));
    t.Clear();
    t.AccessedAfter = day;
    EXPECT_TRUE(t.MatchesLocal(0, 0, day));
    EXPECT_FALSE(t.MatchesLocal(0, 0, day - 0.0001));

    // The UTC form converts to local time first.
    t.Clear();
    const timespec noonLocal = localDateTimeToTimespec(day + encodeTime(12, 0, 0, 0));
    t.ModifiedAfter = day;
    t.ModifiedBefore = day;
    EXPECT_TRUE(t.Matches(noonLocal, noonLocal, noonLocal));
    t.ModifiedAfter = day + 1;
    EXPECT_FALSE(t.Matches(noonLocal, noonLocal, noonLocal));
}

TEST(SearchCriteria, AssignClearAndRefusedAssign)
{
    TSearchCriteria a;
    a.Files().setFileName("*.c");
    a.Files().setLocation("/src");
    a.Files().setFolders({{"/a;b", false, 2, 3}});
    a.Files().Filters().push_back("*tmp*");
    a.Attributes().setArchive(fsSet);
    a.Size().Min = 5;
    a.TimeStamp().ModifiedAfter = 100;
    a.Content().setPhrase("needle");
    a.Content().setOptions(csoWholeWord | csoNegate);

    TSearchCriteria b;
    b.Assign(a);
    EXPECT_EQ(b.Files().FileName(), "*.c");
    EXPECT_EQ(b.Files().Location(), "/src");
    EXPECT_EQ(b.Files().Folders(), (std::vector<TRootFolder>{{"/a;b", false, 2, 3}}));
    EXPECT_EQ(b.Files().Filters().size(), 1u);
    EXPECT_EQ(b.Attributes().Archive(), fsSet);
    EXPECT_EQ(b.Attributes().Hidden(), fsUnset);
    EXPECT_EQ(b.Size().Min, 5);
    EXPECT_EQ(b.TimeStamp().ModifiedAfter, 100);
    EXPECT_EQ(b.Content().Phrase(), "needle");
    EXPECT_EQ(b.Content().Variants().Unicode, u"needle");
    EXPECT_EQ(b.Content().Options(), unsigned(csoWholeWord | csoNegate));

    b.Clear();
    EXPECT_EQ(b.Files().FileName(), "");
    EXPECT_EQ(b.Attributes().Hidden(), fsIgnore);
    EXPECT_EQ(b.Size().Min, 0);
    EXPECT_EQ(b.Content().Phrase(), "");
    EXPECT_EQ(b.Content().Options(), 0u);

    TSizeCriteria size;
    try {
        size.Assign(a.Files());
        FAIL() << "assigning an unrelated class must be refused";
    } catch (const KorvalaError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TFileCriteria to a TSizeCriteria");
    }
}

}  // namespace
}  // namespace korvala
