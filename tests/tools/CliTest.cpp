// korvala-cli attrib and times: output formats, changes made through them,
// exit statuses and messages.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "Files.h"
#include "Process.h"
#include "TempTree.h"
#include "TimeTestSupport.h"
#include "platform/FileAttributes.h"

namespace korvala {
namespace {

using namespace test;

ProcessResult cli(const std::vector<std::string>& args)
{
    return runCli(args, {.env = {"TZ=UTC"}});
}

TEST(CliAttrib, PrintsTheFiveLettersAndThePath)
{
    TTempTree dir;
    const std::string file = dir.file("a.txt");
    const std::string folder = dir.folder("sub");
    ASSERT_FALSE(setFileAttributes(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    const ProcessResult r = cli({"attrib", file, folder});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "_R_A_  " + file + "\n____D  " + folder + "\n");
    EXPECT_EQ(r.err, "");
}

TEST(CliAttrib, AppliesTheChoicesThenPrints)
{
    TTempTree dir;
    const std::string file = dir.file("a.txt");
    const std::string folder = dir.folder("sub");
    ASSERT_FALSE(setFileAttributes(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    ProcessResult r = cli({"attrib", "--readonly=clear", "--hidden=set", "--system", "set", file, folder});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "S_HA_  " + file + "\nS_H_D  " + folder + "\n");
    EXPECT_EQ(getFileAttributes(file) & 0x27u, 0x26u);

    r = cli({"attrib", "--readonly=keep", "--hidden=clear", "--system=clear", "--archive=clear", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "_____  " + file + "\n");
}

TEST(CliAttrib, ANameInTheFoldersHiddenListShowsHiddenAndIsUnlistedByClearing)
{
    TTempTree dir;
    const std::string file = dir.file("a.txt");
    const std::string other = dir.file("b.txt");
    const std::string list = dir.file(".hidden", "a.txt\n");
    ProcessResult r = cli({"attrib", file, other});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "__H__  " + file + "\n_____  " + other + "\n");

    r = cli({"attrib", "--hidden=clear", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "_____  " + file + "\n");
    EXPECT_EQ(::access(list.c_str(), F_OK), -1) << list << " was left with no names";

    r = cli({"attrib", "--hidden=set", other});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "__H__  " + other + "\n");
    EXPECT_EQ(readFile(list), "b.txt\n");
}

TEST(CliAttrib, UnreadablePathIsReportedAndFailsTheRun)
{
    TTempTree dir;
    const std::string file = dir.file("a.txt");
    const std::string gone = dir.path() + "/gone";
    for (const std::vector<std::string>& args :
        {std::vector<std::string>{"attrib", gone, file},
            std::vector<std::string>{"attrib", "--hidden=set", gone, file}}) {
        const ProcessResult r = cli(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.out.find("  " + file + "\n"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find(gone), std::string::npos) << r.out;
        EXPECT_EQ(r.err, gone + ": System Error.  Code: 2.\r\nNo such file or directory\n");
    }
}

TEST(CliAttrib, BadUsageIsStatusTwo)
{
    TTempTree dir;
    const std::string file = dir.file("a.txt");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"attrib"},
             std::vector<std::string>{"attrib", "--hidden=on", file},
             std::vector<std::string>{"attrib", "--compressed=set", file}}) {
        const ProcessResult r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
    }
    EXPECT_EQ(getFileAttributes(file) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// In `attrib --hidden set clear DIR` the second value is taken as a path:
// refused before anything is touched; a file of that name is reached with
// its folder (./clear).
TEST(CliAttrib, AChoiceWordWhereAPathShouldBeIsBadUsage)
{
    TTempTree dir;
    const std::string folder = dir.folder("target");
    const ProcessResult r = cli({"attrib", "--hidden", "set", "clear", folder});
    EXPECT_EQ(r.exitCode, 2) << describe(r);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("\"clear\""), std::string::npos) << r.err;
    EXPECT_EQ(getFileAttributes(folder) & FILE_ATTRIBUTE_HIDDEN, 0u);

    // Without a choice, "clear" is only a path.
    const ProcessResult shown = cli({"attrib", "clear"});
    EXPECT_EQ(shown.exitCode, 1) << describe(shown);
    EXPECT_NE(shown.err.find("clear: "), std::string::npos) << shown.err;

    // A file named so, given with its folder.
    const std::string named = dir.file("clear");
    const ProcessResult r2 = cli({"attrib", "--hidden", "set", named});
    EXPECT_EQ(r2.exitCode, 0) << describe(r2);
    EXPECT_NE(getFileAttributes(named) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(CliTimes, PrintsThreeLocalTimesToTheNanosecond)
{
    TTempTree dir;
    const std::string file = dir.file("a.txt");
    setTimes(file, makeTimespec(utcSeconds(2001, 2, 3, 4, 5, 6), 700),
        makeTimespec(utcSeconds(2014, 7, 28, 11, 41, 3), 123456789),
        makeTimespec(utcSeconds(1999, 12, 31, 23, 59, 59), 999999999));
    ProcessResult r = cli({"times", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
        "Created  : 2001-02-03 04:05:06.000000700\n"
        "Modified : 2014-07-28 11:41:03.123456789\n"
        "Accessed : 1999-12-31 23:59:59.999999999\n");

    r = runCli({"times", file}, {.env = {"TZ=Asia/Kolkata"}});
    EXPECT_EQ(r.out.substr(0, 41), "Created  : 2001-02-03 09:35:06.000000700\n");
}

TEST(CliTimes, SetBySpecifiedDateTimeKeepsUnnamedParts)
{
    TTempTree dir;
    const std::string file = dir.file("a.txt");
    setTimes(file, makeTimespec(utcSeconds(2001, 2, 3, 4, 5, 7), 500),
        makeTimespec(utcSeconds(2014, 7, 28, 11, 41, 3), 0), makeTimespec(utcSeconds(1999, 12, 31, 23, 59, 59), 0));
    const ProcessResult r = cli({"times", "--set", "created=2020-01-15", "--set", "modified=07:08:09",
        "--set", "accessed=2000-02-29,12:00", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
        "Created  : 2020-01-15 04:05:06.000000000\n"
        "Modified : 2014-07-28 07:08:08.000000000\n"
        "Accessed : 2000-02-29 12:00:00.000000000\n");
}

TEST(CliTimes, SetByAgeShiftsByTheAmounts)
{
    TTempTree dir;
    const std::string file = dir.file("a.txt");
    setTimes(file, makeTimespec(utcSeconds(2020, 1, 31, 10, 0, 0), 500),
        makeTimespec(utcSeconds(2014, 7, 28, 11, 41, 3), 123456789), makeTimespec(utcSeconds(2016, 2, 29), 0));
    const ProcessResult r = cli({"times", "--shift", "created=+1mo", "--shift", "modified=+1d,-2h",
        "--shift", "accessed=1y,-30min,+5s", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
        "Created  : 2020-02-29 10:00:00.000000500\n"
        "Modified : 2014-07-29 09:41:03.123456789\n"
        "Accessed : 2017-02-27 23:30:05.000000000\n");
}

TEST(CliTimes, FailuresAndBadUsage)
{
    TTempTree dir;
    const std::string file = dir.file("a.txt");
    const std::string gone = dir.path() + "/gone";

    ProcessResult r = cli({"times", gone, file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, gone + ": System Error.  Code: 2.\r\nNo such file or directory\n");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3);

    // A read-only file keeps its times under "Set by Specified DateTime".
    const std::string ro = dir.file("ro.txt");
    ASSERT_FALSE(setFileAttributes(ro, FILE_ATTRIBUTE_READONLY));
    const FileTimes before = timesOf(ro);
    r = cli({"times", "--set", "modified=2020-01-01", ro});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, ro + ": System Error.  Code: 13.\r\nPermission denied\n");
    EXPECT_TRUE(sameTime(timesOf(ro).modified, before.modified));

    // A date without a DOS form.
    r = cli({"times", "--set", "modified=1970-06-01", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, file + ": " + "System Error.  Code: 75.\r\nValue too large for defined data type\n");

    // A file failing under "Set by Age" ends the run: later paths keep their
    // times. Year 2478 is past the end of ext4's stamps (2446), where the
    // kernel would clamp silently; a file system that holds it must then
    // really hold it.
    const std::string other = dir.file("other.txt");
    setTimes(file, makeTimespec(utcSeconds(2020, 1, 1), 0), makeTimespec(utcSeconds(2020, 1, 1), 0),
        makeTimespec(utcSeconds(2020, 1, 1), 0));
    const FileTimes otherBefore = timesOf(other);
    r = cli({"times", "--shift", "modified=+250y,+2500mo", file, other});
    if (r.exitCode == 0) {
        EXPECT_EQ(timesOf(file).modified.tv_sec, utcSeconds(2478, 5, 1));
    } else {
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, file + ": System Error.  Code: 75.\r\nValue too large for defined data type\n"
                         "DateTime Changing process ABORTED!\n");
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(sameTime(timesOf(other).modified, otherBefore.modified));
    }

    for (const std::vector<std::string>& args : {
             std::vector<std::string>{"times"},
             std::vector<std::string>{"times", "--set", "changed=2020-01-01", file},
             std::vector<std::string>{"times", "--set", "created=2020-02-30", file},
             std::vector<std::string>{"times", "--set", "created=25:00", file},
             std::vector<std::string>{"times", "--set", "created=2020-01-01", "--set", "created=10:00", file},
             std::vector<std::string>{"times", "--shift", "created=+1w", file},
             std::vector<std::string>{"times", "--shift", "created=+251y", file},
             std::vector<std::string>{"times", "--shift", "created=+1d,+2d", file},
             std::vector<std::string>{"times", "--set", "created=2020-01-01", "--shift", "modified=1d", file},
         }) {
        r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args[args.size() > 2 ? 2 : 0];
        EXPECT_EQ(r.out, "");
    }
    EXPECT_TRUE(sameTime(timesOf(file).created, makeTimespec(utcSeconds(2020, 1, 1), 0)));
}

// --set and --shift take one value each time: a second value after one of
// them would be taken as a path, and the path before it changed. Such a word
// is bad usage, refused before any path is touched; a path of that form is
// still reached when named with a folder before it.
TEST(CliTimes, AValueWhereAPathShouldBeIsBadUsage)
{
    TTempTree dir;
    const std::string folder = dir.folder("target");
    const std::string file = dir.file("target/a.txt");
    const timespec stamp = makeTimespec(utcSeconds(2015, 6, 7, 8, 9, 10), 0);
    for (const std::string& path : {folder, file})
        setTimes(path, stamp, stamp, stamp);
    const struct {
        std::vector<std::string> args;
        std::string word;
    } cases[] = {
        {{"times", "--shift", "modified=+1d", "accessed=+1d", folder}, "accessed=+1d"},
        {{"times", "--set", "modified=2020-01-01", "created=2020-01-01", folder, file}, "created=2020-01-01"},
        {{"times", "--shift", "created=-1h", folder, "Modified=+1d"}, "Modified=+1d"},
        {{"times", "accessed=2020-01-01", file}, "accessed=2020-01-01"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = cli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.word << ": " << describe(r);
        EXPECT_EQ(r.out, "") << c.word;
        EXPECT_NE(r.err.find("\"" + c.word + "\""), std::string::npos) << r.err;
        for (const std::string& path : {folder, file}) {
            const FileTimes after = timesOf(path);
            EXPECT_TRUE(sameTime(after.created, stamp) && sameTime(after.modified, stamp)
                && sameTime(after.accessed, stamp))
                << path << " changed by " << c.word;
        }
    }

    const std::string oddName = dir.file("accessed=+1d");
    setTimes(oddName, stamp, stamp, stamp);
    const ProcessResult r = cli({"times", "--shift", "modified=+1d", oddName});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_TRUE(sameTime(timesOf(oddName).modified, makeTimespec(utcSeconds(2015, 6, 8, 8, 9, 10), 0)));
}

// The tests run as root, who may change any file; an ordinary user may not
// change root's, and each refusal is reported with its reason and fails the
// run while the file stays as it was.
TEST(CliAsOrdinaryUser, RefusedChangesAreReportedAndFailTheRun)
{
    TTempTree dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0) << dir.path();
    const std::string file = dir.file("root-owned.txt", "x", 0644);
    const FileTimes before = timesOf(file);
    const std::string refused = file + ": System Error.  Code: 13.\r\nPermission denied\n";
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"attrib", "--hidden=set", file}, "_____  " + file + "\n"},
        {{"times", "--set", "modified=2020-01-01", file}, ""},
    };
    for (const auto& c : cases) {
        const ProcessResult r = runCli(c.args, {.env = {"TZ=UTC"}, .unprivileged = true});
        EXPECT_EQ(r.exitCode, 1) << c.args[0] << ": " << describe(r);
        EXPECT_EQ(r.err, refused) << c.args[0];
        EXPECT_EQ(r.out, c.out) << c.args[0];
    }
    EXPECT_EQ(getFileAttributes(file) & FILE_ATTRIBUTE_HIDDEN, 0u) << file;
    EXPECT_TRUE(sameTime(timesOf(file).modified, before.modified)) << file;
}

}  // namespace
}  // namespace korvala
