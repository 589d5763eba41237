// korvala-cli split and join as real processes: the end messages, exit
// statuses, failures with their reason, and Ctrl+C taken between two parts.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DirectoryEntries.h"
#include "Files.h"
#include "Process.h"
#include "TempTree.h"
#include "tools/splitjoin/SplitJoin.h"

namespace korvala {
namespace {

using test::randomBytes;
using test::pathExists;
using test::readFile;
using test::runCli;
using test::TTempTree;


TEST(SplitJoinCommand, SplitThenJoinBack)
{
    TTempTree tmp;
    const std::string bytes = randomBytes(10, 1);
    const std::string source = tmp.file("it's $(here)", bytes);
    const auto split = runCli({"split", source, "3"});
    ASSERT_EQ(split.exitCode, 0) << test::describe(split);
    EXPECT_EQ(split.out, "File Splitting process Completed!\n");
    EXPECT_EQ(readFile(source + "._3").size(), 4u);

    test::writeFile(source, "");
    const auto join = runCli({"join", source + "._1"});
    ASSERT_EQ(join.exitCode, 0) << test::describe(join);
    EXPECT_EQ(join.out, "File Joining process Completed!\n");
    EXPECT_EQ(readFile(source), bytes);

    // The end message that cannot be written fails the run.
    EXPECT_EQ(runCli({"split", source, "2"}, {.outputFile = "/dev/full"}).exitCode, 1);
}

TEST(SplitJoinCommand, FailuresAndBadUsage)
{
    TTempTree tmp;
    const std::string file = tmp.file("a.txt", "abc");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;  // the start of standard error
    };
    const std::vector<Case> cases = {
        {{"split", tmp.path("none"), "2"}, 1,
            "File Splitting process FAILED!\nCannot open file \"" + tmp.path("none") + "\". No such file or directory\n"},
        {{"join", tmp.path("none._1")}, 1,
            "File Joining process FAILED!\nCannot open file \"" + tmp.path("none._1") + "\". No such file or directory\n"},
        {{"join", file}, 1, "File Joining process FAILED!\n" + *joinRefusal(file) + "\n"},
        {{"split", file, "1"}, 2, ""},
        {{"split", file, "1000"}, 2, ""},
        {{"split", file, "two"}, 2, ""},
        {{"split", file}, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        const auto r = runCli(c.args);
        EXPECT_EQ(r.exitCode, c.status) << test::describe(r);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
    }
    EXPECT_EQ(readFile(file), "abc");
    EXPECT_FALSE(pathExists(file + "._1"));
}

TEST(SplitJoinCommand, CtrlCStopsBetweenParts)
{
    // Ctrl+C comes once the source is open: the run stops after creating the next part.
    TTempTree tmp;
    const size_t size = 48u << 20;
    const std::string source = tmp.file("big.bin", std::string(size, 'x'));
    const auto r = runCli({"split", source, "999"}, {.interruptWhenOpen = source});
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.err, "File Splitting process ABORTED!\n");
    int last = 0;
    while (pathExists(source + "._" + std::to_string(last + 1)))
        ++last;
    ASSERT_GT(last, 0);
    ASSERT_LT(last, 999);
    EXPECT_EQ(readFile(source + "._" + std::to_string(last)), "") << "the part created when the abort was seen";
    if (last > 1) {
        EXPECT_EQ(readFile(source + "._1").size(), size / 999);
    }

    // Ctrl+C once the big first part is open: the join stops at the check
    // after that part or the next one was opened, and the whole parts
    // appended by then stay under the joined name.
    TTempTree parts;
    const std::string first = parts.file("j.bin._1", std::string(size, 'y'));
    parts.file("j.bin._2", "second");
    parts.file("j.bin._3", "third");
    const auto j = runCli({"join", first}, {.interruptWhenOpen = first});
    EXPECT_EQ(j.exitCode, 1) << test::describe(j);
    EXPECT_EQ(j.err, "File Joining process ABORTED!\n");
    const std::string joined = readFile(parts.path("j.bin"));
    EXPECT_TRUE(joined.empty() || joined == std::string(size, 'y')) << joined.size() << " bytes joined";
}

}  // namespace
}  // namespace korvala
