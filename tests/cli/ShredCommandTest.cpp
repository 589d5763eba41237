// korvala-cli shred as a real process: the confirmation it requires, the end
// messages and statuses, a file it may not write (read-only, another user's),
// and Ctrl+C taken between two files.

#include <sys/stat.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DirectoryEntries.h"
#include "Files.h"
#include "Process.h"
#include "TempTree.h"

namespace korvala {
namespace {

using test::pathExists;
using test::readFile;
using test::runCli;
using test::TTempTree;


TEST(ShredCommand, AsksForYesAndShredsTheFilesThatExist)
{
    TTempTree tmp;
    const std::string a = tmp.file("a.txt", "secret a");
    const std::string b = tmp.file("b\nname.txt", "secret b");
    // Without --yes and without a terminal to ask on, nothing is touched.
    const auto refused = runCli({"shred", a, b}, {.input = "y\n"});
    EXPECT_EQ(refused.exitCode, 2) << test::describe(refused);
    EXPECT_EQ(readFile(a), "secret a");

    const auto r = runCli({"shred", "--yes", a, tmp.path("missing"), b});
    EXPECT_EQ(r.exitCode, 0) << test::describe(r);
    EXPECT_EQ(r.out, "File Shredding process Completed!\n");
    EXPECT_EQ(r.err, tmp.path("missing") + ": not an existing file; left alone\n");
    EXPECT_EQ(test::entryNames(tmp.path()), std::vector<std::string>{});
}

TEST(ShredCommand, FileThatCannotBeOpenedAbortsTheRun)
{
    TTempTree tmp;
    ASSERT_EQ(::chmod(tmp.path().c_str(), 0755), 0);
    const std::string first = tmp.file("1.txt", "one", 0666);
    const std::string readOnly = tmp.file("2.txt", "two", 0444);
    const std::string last = tmp.file("3.txt", "three", 0666);
    const auto r = runCli({"shred", "-y", first, readOnly, last});
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.err, "Cannot open file \"" + readOnly + "\". Permission denied\nFile Shredding process ABORTED!\n");
    EXPECT_FALSE(pathExists(last));
    EXPECT_EQ(readFile(readOnly), "two");
    EXPECT_EQ(readFile(first), "one");

    // Another user's file, writable by its owner only.
    const std::string owned = tmp.file("owned.txt", "root's", 0644);
    const auto other = runCli({"shred", "-y", owned}, {.unprivileged = true});
    EXPECT_EQ(other.exitCode, 1) << test::describe(other);
    EXPECT_EQ(other.err, "Cannot open file \"" + owned + "\". Permission denied\nFile Shredding process ABORTED!\n");
    EXPECT_EQ(readFile(owned), "root's");
}

TEST(ShredCommand, CtrlCStopsBetweenFiles)
{
    TTempTree tmp;
    std::vector<std::string> files;
    for (int i = 1; i <= 5; ++i)
        files.push_back(i == 4 ? tmp.sizedFile("f4", 24u << 20) : tmp.file(std::string("f").append(std::to_string(i)), "small"));
    std::vector<std::string> args = {"shred", "--yes"};
    args.insert(args.end(), files.begin(), files.end());
    // Walked from the end: f5, then f4, during which Ctrl+C comes.
    const auto r = runCli(args, {.interruptWhenOpen = files[3]});
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.err, "File Shredding process ABORTED!\n");
    EXPECT_EQ(test::entryNames(tmp.path()), (std::vector<std::string>{"f1", "f2", "f3"}));
}

}  // namespace
}  // namespace korvala
