// korvala-cli seek as a user runs it: output, exit status, options.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Process.h"
#include "TempTree.h"
#include "platform/FileAttributes.h"

namespace korvala {
namespace {

using test::TTempTree;
using test::ProcessResult;

ProcessResult seek(std::vector<std::string> args)
{
    args.insert(args.begin(), "seek");
    return test::runCli(args);
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.file("a.txt", std::string(700, 'a') + " Needle here");
        t.file("b.log", "no match");
        t.file("README", "plain");
        t.folder("sub");
        t.file("sub/c.txt", "needles");
        t.file("sub/.d.txt", "hidden");
    }
    TTempTree t;
};

TEST_F(CliTest, PathsInEngineOrderAndExitStatus)
{
    ProcessResult r = seek({"--name", "*.txt", t.root()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, t.path("a.txt") + "\n" + t.path("sub/c.txt") + "\n");

    r = seek({"--name", "*.nothing", t.root()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");

    r = seek({"--name", "*.txt", "--no-subfolders", t.root() + "/"});
    EXPECT_EQ(r.out, t.path("a.txt") + "\n");

    // A location that is not a folder is skipped; nothing left means no match.
    r = seek({t.path("missing"), t.path("a.txt")});
    EXPECT_EQ(r.exitCode, 1);

    r = seek({"--name", "*.txt", "1>" + t.root()});  // level prefix: root only
    EXPECT_EQ(r.out, t.path("a.txt") + "\n");
}

TEST_F(CliTest, ContentAttributesAndSize)
{
    EXPECT_EQ(seek({"--contains", "needle", t.root()}).out, t.path("a.txt") + "\n" + t.path("sub/c.txt") + "\n");
    EXPECT_EQ(seek({"--contains", "needle", "--whole-word", t.root()}).out, t.path("a.txt") + "\n");
    EXPECT_EQ(seek({"--contains", "Needle", "--case-sensitive", t.root()}).out, t.path("a.txt") + "\n");
    EXPECT_EQ(seek({"--contains", "needle", "--exclude", "--name", "*.txt;*.log", t.root()}).out,
        t.path("b.log") + "\n");
    EXPECT_EQ(seek({"--attr", "Hidden=set", t.root()}).out, t.path("sub/.d.txt") + "\n");
    ProcessResult r = seek({"--attr", "Directory=ignore", "--name", "sub", t.root()});
    EXPECT_EQ(r.out, t.path("sub") + "\n");
    EXPECT_EQ(seek({"--min-size", "1KB", t.root()}).exitCode, 1);
    EXPECT_EQ(seek({"--min-size", "700", "--max-size", "1kb", t.root()}).out, t.path("a.txt") + "\n");
    EXPECT_EQ(seek({"--modified-before", "2000-01-01", t.root()}).exitCode, 1);
    EXPECT_EQ(seek({"--modified-after", "2000-01-01,00:00", "--name", "README", t.root()}).out,
        t.path("README") + "\n");
}

TEST_F(CliTest, RowsAndBadUsage)
{
    ASSERT_FALSE(setFileAttributes(t.path("a.txt"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    ProcessResult r = seek({"--rows", "--name", "a.txt;sub", "--attr", "Directory=ignore", t.root()});
    ASSERT_EQ(r.exitCode, 0);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < r.out.size()) {
        size_t nl = r.out.find('\n', start);
        lines.push_back(r.out.substr(start, nl - start));
        start = nl + 1;
    }
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, lines[0].find('\t', 12) + 1), "a.txt\t1\t_R_A_\t");
    EXPECT_EQ(lines[0].substr(lines[0].rfind('\t') + 1), t.root() + "/");
    EXPECT_EQ(lines[1].substr(0, 17), "sub\tFolder\t____D\t");

    EXPECT_EQ(seek({"--attr", "Bogus=set", t.root()}).exitCode, 2);
    EXPECT_EQ(seek({"--attr", "Hidden=maybe", t.root()}).exitCode, 2);
    EXPECT_EQ(seek({"--min-size", "12XB", t.root()}).exitCode, 2);
    EXPECT_EQ(seek({"--created-after", "2020-13-01", t.root()}).exitCode, 2);
    EXPECT_EQ(seek({"--created-after", "25:00", t.root()}).exitCode, 2);
    EXPECT_EQ(seek({}).exitCode, 2);  // a location is required
}

}  // namespace
}  // namespace korvala
