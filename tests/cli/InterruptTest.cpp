// Ctrl+C in korvala-cli, sent to real processes: a per-path run stops before
// its next path with the tool's abort text and status 1, and a step blocked
// in a read ends the way its tool's abort ends it.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "JsonRecords.h"
#include "Files.h"
#include "Process.h"
#include "TempTree.h"
#include "platform/FileAttributes.h"
#include "platform/FileTimes.h"

namespace korvala {
namespace {

using test::ProcessResult;
using test::runCli;
using test::TTempTree;

using test::splitLines;

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

    // Runs args to its end, then again with Ctrl+C after the first line: the
    // first must succeed, the second end with status 1 and abortText alone.
    static void runFullThenInterrupted(const std::vector<std::string>& args, const std::string& abortText,
        ProcessResult& full, ProcessResult& interrupted)
    {
        full = runCli(args);
        ASSERT_EQ(full.exitCode, 0) << args[0] << ": " << test::describe(full);
        interrupted = runCli(args, {.interruptAfter = "\n"});
        EXPECT_EQ(interrupted.exitCode, 1) << args[0] << ": " << test::describe(interrupted);
        EXPECT_EQ(interrupted.err, abortText) << args[0];
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
    const std::vector<std::string> printed = splitLines(r.out);
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
    const std::vector<std::string> printed = splitLines(r.out);
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
        ProcessResult full, r;
        ASSERT_NO_FATAL_FAILURE(runFullThenInterrupted(c.args, c.abortText, full, r));
        EXPECT_FALSE(r.out.empty()) << c.args[0];
        EXPECT_LT(r.out.size(), full.out.size()) << c.args[0] << ": the run was not stopped";
        EXPECT_EQ(full.out.compare(0, r.out.size(), r.out), 0) << c.args[0] << ": not the start of the full output";
    }
}

// An interrupted --json run leaves whole records only: every line is JSON,
// the lines are the first ones of the full run, and every hash record has
// all its digests (a file cut short by Ctrl+C gives no record).
TEST_F(InterruptedRun, JsonRunsStopBetweenWholeRecords)
{
    const struct {
        std::vector<std::string> args;
        std::string abortText;
    } cases[] = {
        {plus({"hash", "--json", "-a", "CRC32", "-a", "MD5"}, paths), "Hash Generating process ABORTED!\n"},
        {{"seek", "--json", "--name", "*.txt", tree.root()}, "Searching process Aborted!\n"},
    };
    for (const auto& c : cases) {
        ProcessResult full, r;
        ASSERT_NO_FATAL_FAILURE(runFullThenInterrupted(c.args, c.abortText, full, r));
        const std::vector<nlohmann::json> records = test::parseJsonLines(r.out);
        ASSERT_GE(records.size(), 1u) << c.args[0];
        ASSERT_LT(records.size(), paths.size()) << c.args[0] << ": the run was not stopped";
        EXPECT_EQ(full.out.compare(0, r.out.size(), r.out), 0) << c.args[0] << ": not the start of the full output";
        if (c.args[0] == "hash") {
            for (const nlohmann::json& record : records) {
                EXPECT_TRUE(record.contains("crc32") && record.contains("md5")) << record;
            }
        }
    }
}

// A large sparse file (4 GiB): reading it takes far longer than a signal
// needs to arrive (a second or more, half a minute with every digest),
// without filling the disk; a run that takes Ctrl+C within a block ends at
// once.
// Content readers refuse named pipes, so a read that waits for ever cannot be
// made from local files; a long read shows the same stops.
class LongRead : public ::testing::Test {
protected:
    std::string sparse(const std::string& name, off_t size) { return tree.sparseFile(name, size); }

    // Ctrl+C once the command has path open.
    static test::RunOptions interruptWhileReading(const std::string& path) { return {.interruptWhenOpen = path}; }

    static constexpr off_t kLong = off_t(4) << 30;

    TTempTree tree;
};

// Ctrl+C while a big file is read with all twelve digests: the read stops
// between two blocks, and the report ends with that file's name line, without
// any of its digests (which would take half a minute to compute).
TEST_F(LongRead, HashStopsWithinTheFileBeingRead)
{
    const std::string before = tree.file("before.txt", "x");
    const std::string big = sparse("big.bin", kLong);
    const std::string after = tree.file("after.txt", "y");
    const ProcessResult r = runCli({"hash", "-a", "all", before, big, after}, interruptWhileReading(big));
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.err, "Hash Generating process ABORTED!\n");
    const std::string bigLine = "Filename   : " + big + "\n";
    ASSERT_GE(r.out.size(), bigLine.size()) << r.out;
    EXPECT_EQ(r.out.compare(r.out.size() - bigLine.size(), bigLine.size(), bigLine), 0)
        << "the report goes on after the big file's name:\n" << r.out;
    EXPECT_NE(r.out.find("Filename   : " + before + "\nCRC32      : "), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(after), std::string::npos) << r.out;
}

// The same stop with --json: the file being read gives no record, the one
// before it its whole record.
TEST_F(LongRead, HashJsonGivesNoRecordForTheFileBeingRead)
{
    const std::string before = tree.file("before.txt", "x");
    const std::string big = sparse("big.bin", kLong);
    const ProcessResult r = runCli({"hash", "--json", "-a", "all", before, big}, interruptWhileReading(big));
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.err, "Hash Generating process ABORTED!\n");
    const std::vector<nlohmann::json> records = test::parseJsonLines(r.out);
    ASSERT_EQ(records.size(), 1u) << r.out;
    EXPECT_EQ(records[0].value("path", ""), before);
    EXPECT_EQ(records[0].size(), 13u) << records[0];
}

// Ctrl+C while either file is read: the comparison stops within that read,
// with no digest and no verdict. When the second file is the big one, a check
// only between the two digests would come too late and print a verdict.
TEST_F(LongRead, CompareStopsWithinEitherFile)
{
    const std::string big = sparse("big.bin", kLong);
    const std::string other = tree.file("other.txt", "");
    for (const auto& files : {std::vector<std::string>{big, other}, std::vector<std::string>{other, big}}) {
        const ProcessResult r = runCli({"compare", files[0], files[1]}, interruptWhileReading(big));
        EXPECT_EQ(r.exitCode, 1) << test::describe(r);
        EXPECT_EQ(r.err, "File Compare Process ABORTED!\n");
        EXPECT_EQ(r.out, "");
    }
}

// Two Ctrl+C in a row end a run with its abort text and status 1, whether
// the run took the first one at its next check (every local read now gets
// there within a block) or the second one ended the program at once (for a
// read of a stalled network file, which may never return). In the first
// case the second signal may still arrive while the program ends and give
// the abort text a second time.
TEST_F(LongRead, TwoCtrlCEndARunInsideARead)
{
    const std::string big = sparse("big.bin", kLong);
    const std::string after = tree.file("after.txt", "y");
    test::RunOptions options = interruptWhileReading(big);
    options.interrupts = 2;
    const ProcessResult r = runCli({"hash", "-a", "CRC32", big, after}, options);
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    // Once, whether the second press ended the read or came while the first
    // abort was being reported.
    EXPECT_EQ(r.err, "Hash Generating process ABORTED!\n");
    EXPECT_EQ(r.out.find("CRC32"), std::string::npos) << r.out;
}

// The verifier has no abort to wait for: Ctrl+C ends it at once. Without
// that, it would read the whole file and print its verdict.
TEST_F(LongRead, VerifyEndsAtOnce)
{
    const std::string big = sparse("big.bin", kLong);
    const ProcessResult r =
        runCli({"verify", "-a", "MD5", big, "D41D8CD98F00B204E9800998ECF8427E"}, interruptWhileReading(big));
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace korvala
