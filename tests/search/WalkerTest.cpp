// The walk on real trees: order, levels, folder-ignore answers, folders that are
// never entered, links, and a tree far deeper than PATH_MAX.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <atomic>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempTree.h"
#include "platform/DirectoryListing.h"
#include "platform/FileAttributes.h"
#include "search/FindFileW.h"

namespace korvala {
namespace {

using test::TTempTree;

// Records the walk as lines: "> folder" for each folder announced, the path
// (relative to the tree) of each match.
class Recorder : public SearchWalkHandler {
public:
    explicit Recorder(const std::string& root) : m_root(root + "/") {}
    TFolderIgnore folderChange(const std::string& folder) override
    {
        events.push_back("> " + rel(folder));
        auto it = answers.find(rel(folder));
        return it == answers.end() ? fiNone : it->second;
    }
    void fileMatch(const std::string& folder, DirectoryListing& listing, size_t index) override
    {
        events.push_back(rel(folder) + std::string(listing.name(index)));
        if (abortAfter && --abortAfter == 0)
            aborted = true;
    }
    std::string rel(const std::string& p) const
    {
        return p.compare(0, m_root.size(), m_root) == 0 ? p.substr(m_root.size()) : p;
    }
    std::vector<std::string> matches() const
    {
        std::vector<std::string> out;
        for (const auto& e : events)
            if (e.rfind("> ", 0) != 0)
                out.push_back(e);
        return out;
    }
    std::vector<std::string> events;
    std::map<std::string, TFolderIgnore> answers;
    std::atomic<bool> aborted{false};
    int abortAfter = 0;

private:
    std::string m_root;
};

class WalkerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // root: a.txt b.log sub1/{c.txt, deep/d.txt} sub2/e.txt .hidden/f.txt
        t.file("a.txt", "x");
        t.file("b.log", "x");
        t.folder("sub1");
        t.file("sub1/c.txt", "x");
        t.folder("sub1/deep");
        t.file("sub1/deep/d.txt", "x");
        t.folder("sub2");
        t.file("sub2/e.txt", "x");
        t.folder(".hidden");
        t.file(".hidden/f.txt", "x");
    }
    std::vector<std::string> run(TSearchCriteria& c, Recorder& r)
    {
        SearchWalker w(c, r.aborted, r);
        w.runAll();
        return r.matches();
    }
    TSearchCriteria criteria(const std::string& location, const std::string& masks = "*.txt")
    {
        TSearchCriteria c;
        c.Files().setFileName(masks);
        c.Files().setLocation(location);
        return c;
    }
    // The sub-folders of the root in listing order.
    std::vector<std::string> subfolderOrder(const std::string& folder)
    {
        DirectoryListing l;
        l.open(AT_FDCWD, folder);
        std::vector<std::string> out;
        for (size_t i = 0; i < l.size(); ++i)
            if (l.type(i) == EntryType::Directory)
                out.emplace_back(l.name(i));
        return out;
    }
    TTempTree t;
};

TEST_F(WalkerTest, DepthFirstOwnFilesFirstHiddenFoldersNotEntered)
{
    TSearchCriteria c = criteria(t.root());
    Recorder r(t.root());
    std::vector<std::string> expected = {"a.txt"};
    for (const std::string& sub : subfolderOrder(t.root())) {
        if (sub == "sub1") {
            expected.push_back("sub1/c.txt");
            expected.push_back("sub1/deep/d.txt");
        } else if (sub == "sub2") {
            expected.push_back("sub2/e.txt");
        }
    }
    EXPECT_EQ(run(c, r), expected);
    // Announced folders: never the hidden one.
    for (const std::string& e : r.events)
        EXPECT_EQ(e.find(".hidden"), std::string::npos) << e;

    // With Hidden ignored, the hidden folder is walked too.
    c.Attributes().setHidden(fsIgnore);
    Recorder r2(t.root());
    std::vector<std::string> m = run(c, r2);
    EXPECT_NE(std::find(m.begin(), m.end(), ".hidden/f.txt"), m.end());
}

TEST_F(WalkerTest, NamesInAFoldersHiddenListAreHiddenInTheWalk)
{
    t.file("sub2/listed.txt", "x");
    t.folder("sub2/quiet");
    t.file("sub2/quiet/q.txt", "x");
    t.file("sub2/.hidden", "listed.txt\nquiet\n");
    // A FIFO in place of the list is neither waited on nor read.
    t.file("sub1/deep/listed.txt", "x");
    t.fifo("sub1/deep/.hidden");

    TSearchCriteria c = criteria(t.path("sub2") + ";" + t.path("sub1"));
    Recorder r(t.root());
    std::vector<std::string> m = run(c, r);
    std::sort(m.begin(), m.end());
    EXPECT_EQ(m, (std::vector<std::string>{"sub1/c.txt", "sub1/deep/d.txt", "sub1/deep/listed.txt", "sub2/e.txt"}));
    EXPECT_EQ(std::find(r.events.begin(), r.events.end(), "> sub2/quiet/"), r.events.end()) << "a listed folder was entered";

    // Hidden must be set: the listed names, and the files of the listed folder.
    c.Attributes().setHidden(fsSet);
    Recorder r2(t.root());
    m = run(c, r2);
    std::sort(m.begin(), m.end());
    EXPECT_EQ(m, (std::vector<std::string>{"sub2/listed.txt"}));
    c.Attributes().setHidden(fsIgnore);
    Recorder r3(t.root());
    m = run(c, r3);
    EXPECT_NE(std::find(m.begin(), m.end(), "sub2/quiet/q.txt"), m.end());
}

TEST_F(WalkerTest, SystemFoldersAreNotEnteredUnlessAsked)
{
    ASSERT_FALSE(setFileAttributes(t.path("sub2"), FILE_ATTRIBUTE_SYSTEM));
    TSearchCriteria c = criteria(t.root());
    Recorder r(t.root());
    std::vector<std::string> m = run(c, r);
    EXPECT_EQ(std::find(m.begin(), m.end(), "sub2/e.txt"), m.end());
    c.Attributes().setSystem(fsSet);  // system must be set: the folder is entered,
    Recorder r2(t.root());            // but its plain files do not match
    m = run(c, r2);
    EXPECT_TRUE(m.empty());
    EXPECT_NE(std::find(r2.events.begin(), r2.events.end(), "> sub2/"), r2.events.end());
}

TEST_F(WalkerTest, MasksTwiceLevelsAndNoSubfolders)
{
    TSearchCriteria c = criteria(t.root(), "*.txt;a*");
    c.Files().setSubfolders(false);
    Recorder r(t.root());
    EXPECT_EQ(run(c, r), (std::vector<std::string>{"a.txt", "a.txt"}));

    TSearchCriteria two = criteria("2>" + t.root());  // levels 1 and 2 only
    Recorder r2(t.root());
    std::vector<std::string> m = run(two, r2);
    EXPECT_EQ(std::find(m.begin(), m.end(), "sub1/deep/d.txt"), m.end());
    EXPECT_NE(std::find(m.begin(), m.end(), "sub1/c.txt"), m.end());

    TSearchCriteria one = criteria(t.root());
    one.Files().setMaxLevel(1);
    Recorder r3(t.root());
    EXPECT_EQ(run(one, r3), (std::vector<std::string>{"a.txt"}));

    TSearchCriteria fromTwo = criteria("2-0>" + t.root());  // nothing from the root
    Recorder r4(t.root());
    m = run(fromTwo, r4);
    EXPECT_EQ(std::find(m.begin(), m.end(), "a.txt"), m.end());
    EXPECT_NE(std::find(m.begin(), m.end(), "sub1/deep/d.txt"), m.end());
}

TEST_F(WalkerTest, FolderIgnoreAnswers)
{
    TSearchCriteria c = criteria(t.root());
    Recorder justThis(t.root());
    justThis.answers[""] = fiJustThis;
    std::vector<std::string> m = run(c, justThis);
    EXPECT_EQ(std::find(m.begin(), m.end(), "a.txt"), m.end());
    EXPECT_NE(std::find(m.begin(), m.end(), "sub2/e.txt"), m.end());

    Recorder justSubs(t.root());
    justSubs.answers[""] = fiJustSubfolders;
    EXPECT_EQ(run(c, justSubs), (std::vector<std::string>{"a.txt"}));

    Recorder both(t.root());
    both.answers["sub1/"] = fiThisAndSubfolders;
    m = run(c, both);
    EXPECT_EQ(std::find(m.begin(), m.end(), "sub1/c.txt"), m.end());
    EXPECT_EQ(std::find(m.begin(), m.end(), "sub1/deep/d.txt"), m.end());
    EXPECT_NE(std::find(m.begin(), m.end(), "sub2/e.txt"), m.end());
}

TEST_F(WalkerTest, MissingRootIsAnnouncedOnceAndAbortStops)
{
    TSearchCriteria c = criteria(t.path("missing"));
    Recorder r(t.root());
    EXPECT_TRUE(run(c, r).empty());
    EXPECT_EQ(r.events, (std::vector<std::string>{"> missing/"}));

    TSearchCriteria all = criteria(t.root());
    Recorder stop(t.root());
    stop.abortAfter = 1;
    EXPECT_EQ(run(all, stop).size(), 1u);
}

TEST_F(WalkerTest, LinkedFoldersAreReportedButNeverEntered)
{
    ASSERT_EQ(::symlink(t.root().c_str(), t.path("sub1/loop").c_str()), 0);
    TSearchCriteria c = criteria(t.root(), "*");
    c.Attributes().Clear();  // everything, folders and links included
    Recorder r(t.root());
    std::vector<std::string> m = run(c, r);
    EXPECT_NE(std::find(m.begin(), m.end(), "sub1/loop"), m.end());
    for (const std::string& e : r.events)
        EXPECT_EQ(e.find("loop/"), std::string::npos) << e;
    // A folder link as a root is taken as the user gave it.
    TSearchCriteria viaLink = criteria(t.path("sub1/loop"));
    Recorder r2(t.root());
    EXPECT_FALSE(run(viaLink, r2).empty());
}

TEST_F(WalkerTest, ContentAndSizeFiltersApplyInTheWalk)
{
    t.file("sub2/big.txt", std::string(3000, 'k') + " needle");
    TSearchCriteria c = criteria(t.root());
    c.Content().setPhrase("NEEDLE");
    Recorder r(t.root());
    EXPECT_EQ(run(c, r), (std::vector<std::string>{"sub2/big.txt"}));
    c.Content().setPhrase("");
    c.Size().Min = 2000;
    Recorder r2(t.root());
    EXPECT_EQ(run(c, r2), (std::vector<std::string>{"sub2/big.txt"}));
    c.Size().Min = 0;
    c.Files().Filters() = {"*/sub?/*"};
    Recorder r3(t.root());
    EXPECT_EQ(run(c, r3), (std::vector<std::string>{"a.txt"}));
}

// With a phrase the attribute store is tested after the content: a file that
// holds the phrase is still rejected by its stored bits, and the stored bits
// still select it when they must be set.
TEST_F(WalkerTest, StoredBitsStillDecideForFilesThatHoldThePhrase)
{
    t.file("sub2/system.txt", "a needle here");
    t.file("sub2/hidden.txt", "no match");
    ASSERT_FALSE(setFileAttributes(t.path("sub2/system.txt"), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_FALSE(setFileAttributes(t.path("sub2/hidden.txt"), FILE_ATTRIBUTE_HIDDEN));
    t.file("sub2/e.txt", "the needle");
    TSearchCriteria c = criteria(t.path("sub2"));
    c.Content().setPhrase("needle");
    Recorder r(t.root());
    EXPECT_EQ(run(c, r), (std::vector<std::string>{"sub2/e.txt"}));
    c.Attributes().setSystem(fsSet);
    Recorder r2(t.root());
    EXPECT_EQ(run(c, r2), (std::vector<std::string>{"sub2/system.txt"}));
}

// Removes a chain of "dd" folders of any depth in constant time per level by
// moving each grandchild up to the root before removing its parent (rm -rf
// needs seconds for such a chain).
void removeChain(const std::string& root)
{
    int rootFd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(rootFd, 0);
    for (;;) {
        int fd = ::openat(rootFd, "dd", O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            break;
        bool hasChild = ::renameat(fd, "dd", rootFd, "dd-next") == 0;
        DirectoryListing l;
        l.open(fd, ".");
        for (size_t i = 0; i < l.size(); ++i)
            ::unlinkat(fd, std::string(l.name(i)).c_str(), 0);
        ::close(fd);
        ASSERT_EQ(::unlinkat(rootFd, "dd", AT_REMOVEDIR), 0);
        if (!hasChild || ::renameat(rootFd, "dd-next", rootFd, "dd") != 0)
            break;
    }
    ::close(rootFd);
}

// A chain of folders far deeper than PATH_MAX allows as one path, made relative
// folder by folder; the walk reaches the bottom and comes back up without a
// crash, with only a few folders open at once.
TEST(WalkerDeepTree, ThreeThousandLevels)
{
    // tmpfs when there is one: /tmp here discards every freed block, which makes
    // removing 3000 folders take many seconds.
    struct stat shm {};
    TTempTree t(::stat("/dev/shm", &shm) == 0 && S_ISDIR(shm.st_mode) ? "/dev/shm" : "/tmp");
    const int depth = 3000;
    int fd = ::open(t.root().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < depth; ++i) {
        ASSERT_EQ(::mkdirat(fd, "dd", 0755), 0) << "level " << i;
        if (i == depth / 2) {
            int f = ::openat(fd, "mid.txt", O_CREAT | O_WRONLY, 0644);
            ::close(f);
        }
        int next = ::openat(fd, "dd", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    int f = ::openat(fd, "bottom.txt", O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(f, 0);
    ::close(f);
    ::close(fd);

    // A sibling after the chain proves the walk came back to the root.
    t.folder("zz");
    t.file("zz/after.txt", "x");

    for (size_t maxOpen : {size_t(64), size_t(3)}) {
        SearchWalker::setMaxOpenFoldersForTests(maxOpen);
        TSearchCriteria c;
        c.Files().setFileName("*.txt");
        c.Files().setLocation(t.root());
        Recorder r(t.root());
        SearchWalker w(c, r.aborted, r);
        w.runAll();
        std::vector<std::string> m = r.matches();
        ASSERT_EQ(m.size(), 3u) << maxOpen;
        std::string mid, bottom;
        for (int i = 0; i < depth / 2; ++i)
            mid += "dd/";
        mid += "mid.txt";
        for (int i = 0; i < depth; ++i)
            bottom += "dd/";
        bottom += "bottom.txt";
        EXPECT_NE(std::find(m.begin(), m.end(), mid), m.end());
        EXPECT_NE(std::find(m.begin(), m.end(), bottom), m.end());
        EXPECT_NE(std::find(m.begin(), m.end(), "zz/after.txt"), m.end());
        EXPECT_EQ(r.events.size(), size_t(depth + 2 + 3));  // root, chain, zz + matches
    }
    SearchWalker::setMaxOpenFoldersForTests(64);
    removeChain(t.root());
}

// Reading sub-folders ahead on a second thread changes nothing a handler sees:
// on a wide tree with hidden and system folders, a ".hidden" list, links, a
// FIFO and folder-ignore answers, the same events in the same order as the
// walk on one thread, also when it is aborted part way.
TEST(WalkerReadAhead, SameEventsAsTheWalkOnOneThread)
{
    TTempTree t;
    for (int i = 0; i < 12; ++i) {
        char top[8];
        std::snprintf(top, sizeof top, "w%02d", i);
        const std::string w = top;
        for (const char* folder : {"", "/a", "/a/b", "/.dot", "/empty", "/s"})
            t.folder(w + folder);
        t.file(w + "/f.txt", "x");
        t.file(w + "/g.log", "x");
        t.file(w + "/a/b/deep.txt", "x");
        t.file(w + "/a/mid.txt", "x");
        t.file(w + "/.dot/in-dot.txt", "x");
        if (i % 3 == 0)
            t.file(w + "/.hidden", "a\n");
        if (i % 4 == 1) {
            t.file(w + "/s/in-system.txt", "x");
            ASSERT_FALSE(setFileAttributes(t.path(w + "/s"), FILE_ATTRIBUTE_SYSTEM));
        }
        t.symlink(w + "/ln", t.root());
        t.fifo(w + "/p.txt");
    }
    struct Variant {
        const char* location;  // "" for the root
        const char* masks;
        bool hiddenIgnored;
        int abortAfter;
    };
    const Variant variants[] = {
        {"", "*.txt", false, 0},
        {"2-3>", "*.txt;*.log", false, 0},
        {"", "*", true, 0},
        {"", "*.txt", false, 7},
    };
    for (const Variant& v : variants) {
        // One thread; reading ahead as it comes; the walk waiting for every
        // folder to be read ahead, which must then have happened.
        std::vector<std::string> events[3];
        size_t readAhead = 0;
        for (int ahead = 0; ahead < 3; ++ahead) {
            SearchWalker::setReadAheadForTests(ahead > 0, ahead == 2);
            const size_t before = SearchWalker::foldersReadAheadForTests();
            TSearchCriteria c;
            c.Files().setFileName(v.masks);
            c.Files().setLocation(std::string(v.location) + t.root());
            if (v.hiddenIgnored)
                c.Attributes().setHidden(fsIgnore);
            Recorder r(t.root());
            r.answers["w03/"] = fiJustThis;
            r.answers["w05/"] = fiJustSubfolders;
            r.answers["w07/a/"] = fiThisAndSubfolders;
            r.abortAfter = v.abortAfter;
            SearchWalker(c, r.aborted, r).runAll();
            events[ahead] = r.events;
            readAhead = SearchWalker::foldersReadAheadForTests() - before;
        }
        SearchWalker::setReadAheadForTests(true);
        EXPECT_EQ(events[1], events[0]) << v.location << v.masks;
        EXPECT_EQ(events[2], events[0]) << v.location << v.masks;
        EXPECT_GT(events[0].size(), 12u) << v.location << v.masks;
        EXPECT_GT(readAhead, 0u) << v.location << v.masks << ": nothing was read ahead";
    }
}

}  // namespace
}  // namespace korvala
