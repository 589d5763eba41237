// The Batch Folder Creator's engine on real folders.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <sys/stat.h>

#include "Process.h"
#include "TempTree.h"
#include "platform/KorvalaError.h"
#include "tools/mkdirs/FolderLines.h"

namespace korvala {
namespace {

using test::TTempTree;

bool isFolder(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

TEST(FolderLinesTest, WhichLinesNameFolders)
{
    struct Case {
        const char* line;
        bool folder;
    } cases[] = {
        {"/a/b", true}, {"~/x", true}, {"/", true}, {"relative/path", false}, {"", false}, {" /lead", false},
        {"~user/x", false}, {"~", false}, {"C:\\Windows", false}, {"\\\\server\\share", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isFolderLine(c.line), c.folder) << c.line;
}

TEST(FolderLinesTest, LinesKeptFoldersMadeFailuresBottomUp)
{
    TTempTree tree;
    tree.file("file", "x");
    const std::string home = tree.folder("home");
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    ::setenv("HOME", home.c_str(), 1);
    const std::vector<std::string> lines = {
        tree.path("A/B/C/"), "relative", "", tree.path("file/one"), "~/in home/deeper", tree.path("file/two"),
        tree.path("A"),
    };
    const TFolderLinesResult r = CreateFolderLines(lines);
    ::setenv("HOME", savedHome.c_str(), 1);

    EXPECT_TRUE(isFolder(tree.path("A/B/C")));
    EXPECT_TRUE(isFolder(home + "/in home/deeper"));
    EXPECT_EQ(r.lines, (std::vector<std::string>{tree.path("A/B/C/"), tree.path("file/one"), "~/in home/deeper",
                           tree.path("file/two"), tree.path("A")}));
    ASSERT_EQ(r.failures.size(), 2u);
    EXPECT_EQ(r.failures[0].line, tree.path("file/two"));
    EXPECT_EQ(r.failures[1].line, tree.path("file/one"));
    EXPECT_EQ(folderFailuresText(r.failures), "These folders could not be created:\n" + tree.path("file/two") +
            " : Not a directory\n" + tree.path("file/one") + " : Not a directory");
}

TEST(FolderLinesTest, EmptyPathDeepPathAndAnotherUsersFolder)
{
    std::error_code why;
    try {
        ForceFolder("", why);
        FAIL() << "an empty path was accepted";
    } catch (const KorvalaError& e) {
        EXPECT_STREQ(e.what(), "Unable to create directory");
    }

    TTempTree tree;
    // Far longer than a path may be (4096 bytes): made one folder below the
    // other all the same, and found there the second time. In memory, where
    // removing thousands of folders is quick.
    TTempTree memory("/dev/shm");
    std::string deep = memory.root();
    for (int i = 0; i < 5000; ++i)
        deep += "/d";
    EXPECT_TRUE(ForceFolder(deep, why)) << why.message();
    EXPECT_TRUE(ForceFolder(deep + "/", why)) << why.message();
    EXPECT_TRUE(isFolder(memory.path("d/d/d")));
    EXPECT_TRUE(ForceFolder(tree.path("d/../d/./x/") + "//y", why)) << why.message();
    EXPECT_TRUE(isFolder(tree.path("d/x/y")));

    EXPECT_TRUE(ForceFolder(tree.root(), why));
    EXPECT_TRUE(ForceFolder("/", why));

    ::chmod(tree.root().c_str(), 0755);
    const std::string theirs = tree.folder("theirs", 0755);
    const std::string answer = test::runAsNobody([&] {
        std::error_code e;
        return ForceFolder(theirs + "/mine/sub", e) ? std::string("made") : e.message();
    });
    EXPECT_EQ(answer, "Permission denied");
    EXPECT_FALSE(isFolder(theirs + "/mine"));
}

TEST(FolderLinesTest, CommandReadsLinesAndReportsFailures)
{
    TTempTree tree;
    tree.file("file", "x");
    const std::string input = tree.path("made/here") + "\r\nnot a folder\n" + tree.path("file/no") + "\n";
    const test::ProcessResult r = test::runCli({"mkdirs"}, {.input = input});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, tree.path("made/here") + "\n" + tree.path("file/no") + "\n");
    EXPECT_EQ(r.err, "Folder creating Process Completed!\nThis folder could not be created:\n" + tree.path("file/no") +
            " : Not a directory\n");
    EXPECT_TRUE(isFolder(tree.path("made/here")));

    const std::string list = tree.file("list", tree.path("from file") + "\n");
    const test::ProcessResult f = test::runCli({"mkdirs", "--file", list});
    EXPECT_EQ(f.exitCode, 0) << f.err;
    EXPECT_TRUE(isFolder(tree.path("from file")));
}

}  // namespace
}  // namespace korvala
