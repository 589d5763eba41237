// korvala-cli seek as a user runs it: output, exit status, options.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Process.h"
#include "TempTree.h"
#include "WorkingFolder.h"
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

// --null (-0) ends every path with NUL instead of a line feed: split on NUL,
// the output gives back exactly the names, line feeds and all, in the order
// of the plain output.
TEST_F(CliTest, NullEndsEachPathWithNul)
{
    ProcessResult plain = seek({"--name", "*.txt", t.root()});
    ProcessResult r = seek({"--null", "--name", "*.txt", t.root()});
    EXPECT_EQ(r.exitCode, 0) << test::describe(r);
    std::string expected = plain.out;
    for (char& c : expected)
        if (c == '\n')
            c = '\0';
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, plain.err);

    TTempTree odd;
    const std::vector<std::string> names = {"line\nfeed", "\n", "two\n\nfeeds\n", "$(touch x) `id` \"q\" \\",
        "bytes \xff\xfe\x01", "tab\tname"};
    std::vector<std::string> expectedPaths;
    for (const std::string& name : names)
        expectedPaths.push_back(odd.file(name));
    r = seek({"-0", odd.root()});
    ASSERT_EQ(r.exitCode, 0) << test::describe(r);
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), '\0');
    std::vector<std::string> paths;
    for (size_t start = 0; start < r.out.size();) {
        const size_t end = r.out.find('\0', start);
        paths.push_back(r.out.substr(start, end - start));
        start = end + 1;
    }
    std::sort(paths.begin(), paths.end());
    std::sort(expectedPaths.begin(), expectedPaths.end());
    EXPECT_EQ(paths, expectedPaths);

    r = seek({"-0", "--name", "*.nothing", t.root()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    // Rows and JSON have their own separators: NUL with them is bad usage.
    EXPECT_EQ(seek({"-0", "--rows", t.root()}).exitCode, 2);
    EXPECT_EQ(seek({"--null", "--json", t.root()}).exitCode, 2);
}

// A size bound is a signed 64-bit count of bytes: one that does not fit is
// bad usage, where it would wrap round to a bound that every file passes.
// The largest that fits is a bound like any other.
TEST_F(CliTest, SizesBeyondSixtyFourBitsAreBadUsage)
{
    const struct {
        std::vector<std::string> args;
        int exitCode;
    } cases[] = {
        {{"--min-size", "8589934592GB"}, 2},
        {{"--min-size", "8589934591GB"}, 1},
        {{"--min-size", "8796093022208MB"}, 2},
        {{"--min-size", "9007199254740992kb"}, 2},
        {{"--max-size", "9223372036854775808"}, 2},
        {{"--min-size", "9223372036854775807B"}, 1},
        {{"--min-size", "99999999999999999999999"}, 2},
        {{"--max-size", "0009223372036854775807"}, 0},
        {{"--min-size", "1", "--max-size", "18446744073709551616"}, 2},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(t.root());
        const ProcessResult r = seek(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.back() << ": " << test::describe(r);
        if (c.exitCode != 0) {
            EXPECT_EQ(r.out, "") << c.args.back();
        }
    }
}

// --attr takes one value each time; a second value after it is refused
// rather than searched as a folder of that name (the search would then go on
// as if it had not been given). A folder of such a name is still searched
// when named with its folder.
TEST_F(CliTest, AnAttributeValueWhereALocationShouldBeIsBadUsage)
{
    for (const std::vector<std::string>& args : {
             std::vector<std::string>{"--attr", "Hidden=ignore", "System=ignore", t.root()},
             std::vector<std::string>{"--attr", "Hidden=ignore", t.root(), "hidden=set"},
             std::vector<std::string>{"Readonly=unset", t.root()},
         }) {
        const ProcessResult r = seek(args);
        EXPECT_EQ(r.exitCode, 2) << args[args.size() - 2] << ": " << test::describe(r);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("is a value of --attr"), std::string::npos) << r.err;
    }
    const std::string odd = t.folder("System=ignore");
    t.file("System=ignore/e.txt");
    const ProcessResult r = seek({"--name", "e.txt", odd});
    EXPECT_EQ(r.exitCode, 0) << test::describe(r);
    EXPECT_EQ(r.out, odd + "/e.txt\n");
}

TEST_F(CliTest, LocationsNamingFoldersAsTypedAreThoseFolders)
{
    // Beside each folder the one its name would be misread as.
    for (const char* name : {"a>b", "b", "x;", "x", " lead", "lead"}) {
        t.folder(name);
        t.file(std::string(name) + "/in.txt");
    }
    test::TWorkingFolder here(t.root());
    const ProcessResult r = seek({"--name", "in.txt", "--no-subfolders", "a>b", t.path("x;"), " lead"});
    EXPECT_EQ(r.exitCode, 0) << test::describe(r);
    EXPECT_EQ(r.out, t.path("a>b/in.txt") + "\n" + t.path("x;/in.txt") + "\n" + t.path(" lead/in.txt") + "\n");
}

}  // namespace
}  // namespace korvala
