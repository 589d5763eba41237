// Ctrl+C in korvala-cli, sent to real processes: a per-path run stops before
// its next path with the tool's abort text and status 1, and a step blocked
// in a read ends the way its tool's abort ends it.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Process.h"
#include "TempTree.h"
#include "platform/FileAttributes.h"
#include "platform/FileTimes.h"

namespace korvala {
namespace {

using test::ProcessResult;
using test::runCli;
using test::TTempTree;

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        out.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return out;
}

std::vector<std::string> plus(std::vector<std::string> args, const std::vector<std::string>& paths)
{
    args.insert(args.end(), paths.begin(), paths.end());
    return args;
}

// Thousands of files with long names: every run over them prints far more
// than a pipe holds, so it is still under way when the Ctrl+C sent after its
// first lines reaches it (RunOptions::interruptAfter).
class InterruptedRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3000; ++i) {
            char number[16];
            std::snprintf(number, sizeof number, "%05d-", i);
            paths.push_back(tree.file(number + std::string(100, 'n') + ".txt", "x"));
        }
    }

    TTempTree tree;
    std::vector<std::string> paths;
};

TEST_F(InterruptedRun, AttribChangesExactlyThePathsItPrinted)
{
    const ProcessResult r =
        runCli(plus({"attrib", "--hidden=set"}, paths), {.interruptAfter = paths[0] + "\n"});
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.err, "Attribute Changing process ABORTED!\n");
    const std::vector<std::string> printed = lines(r.out);
    ASSERT_GE(printed.size(), 1u);
    ASSERT_LT(printed.size(), paths.size()) << "the run was not stopped";
    for (size_t i = 0; i < paths.size(); ++i) {
        const bool hidden = (getFileAttributes(paths[i]) & FILE_ATTRIBUTE_HIDDEN) != 0;
        if (i < printed.size()) {
            EXPECT_EQ(printed[i], "__H__  " + paths[i]);
            EXPECT_TRUE(hidden) << paths[i] << " was printed but not changed";
        } else if (hidden) {
            ADD_FAILURE() << paths[i] << " was changed after Ctrl+C (" << printed.size() << " printed)";
            break;
        }
    }
}

TEST_F(InterruptedRun, TimesChangesExactlyThePathsItPrinted)
{
    const ProcessResult r = runCli(plus({"times", "--set", "modified=2020-01-01"}, paths),
        {.env = {"TZ=UTC"}, .interruptAfter = "Accessed : "});
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.err, "DateTime Changing process ABORTED!\n");
    const std::vector<std::string> printed = lines(r.out);
    ASSERT_EQ(printed.size() % 3, 0u) << "a path's three lines were cut";
    const size_t done = printed.size() / 3;
    ASSERT_GE(done, 1u);
    ASSERT_LT(done, paths.size()) << "the run was not stopped";
    const time_t year2021 = 1609459200;
    for (size_t i = 0; i < paths.size(); ++i) {
        FileTimes times;
        ASSERT_FALSE(readFileTimes(paths[i], times)) << paths[i];
        const bool changed = times.modified.tv_sec < year2021;
        if (i < done) {
            EXPECT_EQ(printed[3 * i + 1].substr(0, 21), "Modified : 2020-01-01") << paths[i];
            EXPECT_TRUE(changed) << paths[i] << " was printed but not changed";
        } else if (changed) {
            ADD_FAILURE() << paths[i] << " was changed after Ctrl+C (" << done << " printed)";
            break;
        }
    }
}

// For the commands that only read, the interrupted output is the start of
// the full one, cut before its end, and the abort text replaces the closing
// message.
TEST_F(InterruptedRun, HashAndSeekEndEarlyWithTheirAbortTexts)
{
    const struct {
        std::vector<std::string> args;
        std::string abortText;
    } cases[] = {
        {plus({"hash", "-a", "CRC32", "-a", "MD5"}, paths), "Hash Generating process ABORTED!\n"},
        {{"seek", "--name", "*.txt", tree.root()}, "Searching process Aborted!\n"},
    };
    for (const auto& c : cases) {
        const ProcessResult full = runCli(c.args);
        ASSERT_EQ(full.exitCode, 0) << c.args[0] << ": " << test::describe(full);
        const ProcessResult r = runCli(c.args, {.interruptAfter = "\n"});
        EXPECT_EQ(r.exitCode, 1) << c.args[0] << ": " << test::describe(r);
        EXPECT_EQ(r.err, c.abortText) << c.args[0];
        EXPECT_FALSE(r.out.empty()) << c.args[0];
        EXPECT_LT(r.out.size(), full.out.size()) << c.args[0] << ": the run was not stopped";
        EXPECT_EQ(full.out.compare(0, r.out.size(), r.out), 0) << c.args[0] << ": not the start of the full output";
    }
}

// A named pipe that the test holds open without writing: a command reading
// it waits until the test closes its end.
class BlockedRead : public ::testing::Test {
protected:
    void SetUp() override
    {
        pipe = tree.fifo("pipe");
        writer = ::open(pipe.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(writer, 0) << pipe;
    }
    void TearDown() override { closeWriter(); }

    void closeWriter()
    {
        if (writer >= 0)
            ::close(writer);
        writer = -1;
    }

    // Ctrl+C once the command has the pipe open, then the pipe's end.
    test::RunOptions interruptInRead()
    {
        return {.interruptWhenOpen = pipe, .afterInterrupt = [this] { closeWriter(); }};
    }

    TTempTree tree;
    std::string pipe;
    int writer = -1;
};

TEST_F(BlockedRead, HashStopsBeforeTheFileAfterThePipe)
{
    const std::string before = tree.file("before.txt", "x");
    const std::string after = tree.file("after.txt", "y");
    const ProcessResult r = runCli({"hash", "-a", "CRC32", before, pipe, after}, interruptInRead());
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.err, "Hash Generating process ABORTED!\n");
    EXPECT_NE(r.out.find("Filename   : " + before + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Filename   : " + pipe + "\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(after), std::string::npos) << r.out;
}

TEST_F(BlockedRead, CompareStopsBetweenTheTwoDigests)
{
    const std::string other = tree.file("other.txt", "");
    const ProcessResult r = runCli({"compare", pipe, other}, interruptInRead());
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.err, "File Compare Process ABORTED!\n");
    EXPECT_EQ(r.out, "");
}

// A second Ctrl+C ends a run whose step never gets to its check. The pipe is
// closed only after both; without that, the report would go on with the
// pipe's digest and stop after it.
TEST_F(BlockedRead, ASecondCtrlCEndsARunStuckInARead)
{
    const std::string after = tree.file("after.txt", "y");
    test::RunOptions options = interruptInRead();
    options.interrupts = 2;
    const ProcessResult r = runCli({"hash", "-a", "CRC32", pipe, after}, options);
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.err, "Hash Generating process ABORTED!\n");
    EXPECT_EQ(r.out.find("CRC32"), std::string::npos) << r.out;
}

// The verifier has no abort to wait for: Ctrl+C ends it at once. Without
// that, it would go on after the pipe's end and find the digest of no bytes,
// which is the code given.
TEST_F(BlockedRead, VerifyEndsAtOnce)
{
    const ProcessResult r = runCli({"verify", "-a", "MD5", pipe, "D41D8CD98F00B204E9800998ECF8427E"}, interruptInRead());
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace korvala
