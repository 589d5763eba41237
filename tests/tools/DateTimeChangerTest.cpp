// The per-item work of the DateTime Changer on real files and folders.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <utility>

#include "Process.h"
#include "TempTree.h"
#include "TimeTestSupport.h"
#include "platform/FileAttributes.h"
#include "platform/KorvalaError.h"
#include "tools/datetime/DateTimeChanger.h"

namespace korvala {
namespace {

using namespace test;

DateTimeOffsets days(int n)
{
    DateTimeOffsets o;
    o.days = n;
    return o;
}

class DateTimeChangerTest : public ::testing::Test {
protected:
    ZoneGuard zone{"UTC"};
    TTempTree dir;
    // Odd seconds and sub-second parts, so that every cut shows.
    const timespec c0 = makeTimespec(utcSeconds(2014, 1, 31, 10, 0, 3), 750000000);
    const timespec m0 = makeTimespec(utcSeconds(2015, 3, 1, 23, 59, 59), 999999999);
    const timespec a0 = makeTimespec(utcSeconds(2016, 2, 29, 0, 0, 1), 123456789);

    static timespec evenSecond(const timespec& t) { return makeTimespec(t.tv_sec - t.tv_sec % 2, 0); }
};

// A stamp with neither date nor time chosen is not rewritten: it keeps its
// exact value, even when the others are written.
TEST_F(DateTimeChangerTest, SpecifiedLeavesStampsWithNothingChosenExactlyAsTheyWere)
{
    for (const std::string& path : {dir.file("f.txt"), dir.folder("sub")}) {
        setTimes(path, c0, m0, a0);
        EXPECT_FALSE(SetBySpecifiedDateTime(path, {}, {}, {})) << path;
        expectTimes(path, c0, m0, a0);
        NewTimeChoice modified;
        modified.date = encodeDate(2020, 1, 15);
        EXPECT_FALSE(SetBySpecifiedDateTime(path, {}, modified, {})) << path;
        expectTimes(path, c0, makeTimespec(utcSeconds(2020, 1, 15, 23, 59, 58), 0), a0);
    }
}

// An untouched stamp outside the years the DOS form holds (1970 is common in
// archives) does not stop the chosen one from being written.
TEST_F(DateTimeChangerTest, SpecifiedWritesTheChosenStampBesideAnUntouchedOneOutsideTheDosYears)
{
    const std::string file = dir.file("old.txt");
    const timespec epoch = makeTimespec(utcSeconds(1970, 1, 1, 0, 0, 1), 0);
    setTimes(file, c0, m0, epoch);
    NewTimeChoice modified;
    modified.timeOfDay = encodeTime(7, 8, 10, 0);
    EXPECT_FALSE(SetBySpecifiedDateTime(file, {}, modified, {}));
    expectTimes(file, c0, makeTimespec(utcSeconds(2015, 3, 1, 7, 8, 10), 0), epoch);
}

TEST_F(DateTimeChangerTest, SpecifiedDateOrTimeReplacesOnlyThatPart)
{
    const std::string file = dir.file("f.txt");
    setTimes(file, c0, m0, a0);
    NewTimeChoice created;
    created.date = encodeDate(2020, 1, 15);
    NewTimeChoice modified;
    modified.timeOfDay = encodeTime(7, 8, 9, 500);
    NewTimeChoice accessed;
    accessed.date = encodeDate(2000, 2, 29);
    accessed.timeOfDay = encodeDate(1999, 1, 1) + encodeTime(12, 0, 0, 0);  // the picker's date is not used
    EXPECT_FALSE(SetBySpecifiedDateTime(file, created, modified, accessed));
    expectTimes(file, makeTimespec(utcSeconds(2020, 1, 15, 10, 0, 2), 0),
        makeTimespec(utcSeconds(2015, 3, 1, 7, 8, 8), 0), makeTimespec(utcSeconds(2000, 2, 29, 12), 0));
}

TEST_F(DateTimeChangerTest, SpecifiedKeepsUntickedValuesAcrossDaylightSaving)
{
    // Stored times in January and in July, zones with daylight saving in either
    // half of the year: whatever the season of today in one of them, an
    // unticked picker keeps its value.
    const timespec january = makeTimespec(utcSeconds(2019, 1, 10, 12, 0, 0), 0);
    const timespec july = makeTimespec(utcSeconds(2019, 7, 10, 12, 0, 0), 0);
    for (const char* name : {"Europe/Berlin", "Australia/Sydney", "America/New_York"}) {
        ZoneGuard zoneOfTest(name);
        const std::string file = dir.file("dst.txt");
        setTimes(file, january, july, january);
        EXPECT_FALSE(SetBySpecifiedDateTime(file, {}, {}, {})) << name;
        expectTimes(file, january, july, january);
        setTimes(file, july, january, july);
        EXPECT_FALSE(SetBySpecifiedDateTime(file, {}, {}, {})) << name;
        expectTimes(file, july, january, july);
    }

    ZoneGuard berlin("Europe/Berlin");
    const std::string file = dir.file("dst.txt");
    setTimes(file, july, january, july);
    NewTimeChoice date;
    date.date = encodeDate(2019, 8, 1);
    EXPECT_FALSE(SetBySpecifiedDateTime(file, {}, date, {}));
    // The time of day stays 13:00 local, which on 1 August is 11:00 UTC.
    expectTimes(file, july, makeTimespec(utcSeconds(2019, 8, 1, 11, 0, 0), 0), july);
}

TEST_F(DateTimeChangerTest, SpecifiedLeavesAReadOnlyFileAndAMissingPathAlone)
{
    const std::string file = dir.file("ro.txt");
    setTimes(file, c0, m0, a0);
    ASSERT_FALSE(setFileAttributes(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    NewTimeChoice all;
    all.date = encodeDate(2020, 1, 15);
    all.timeOfDay = encodeTime(1, 2, 4, 0);
    EXPECT_EQ(SetBySpecifiedDateTime(file, all, all, all), std::make_error_code(std::errc::permission_denied));
    expectTimes(file, c0, m0, a0);

    EXPECT_EQ(SetBySpecifiedDateTime(dir.path() + "/gone", all, all, all),
        std::make_error_code(std::errc::no_such_file_or_directory));
}

TEST_F(DateTimeChangerTest, AgeWithZeroAmountsLeavesAFileExactlyAsItWas)
{
    const std::string file = dir.file("zero.txt");
    setTimes(file, c0, m0, a0);
    EXPECT_FALSE(SetByAge(file, {}, {}, {}));
    expectTimes(file, c0, m0, a0);

    // A new file whose creation time is its birth time, to the nanosecond: a
    // zero row leaves it so while another row moves its own stamp.
    const std::string fresh = dir.file("fresh.txt");
    const FileTimes born = timesOf(fresh);
    EXPECT_FALSE(SetByAge(fresh, {}, {}, {}));
    expectTimes(fresh, born.created, born.modified, born.accessed);
    EXPECT_FALSE(SetByAge(fresh, {}, days(-1), {}));
    expectTimes(fresh, born.created, makeTimespec(born.modified.tv_sec - 86400, born.modified.tv_nsec),
        born.accessed);
}

TEST_F(DateTimeChangerTest, AgeMovesAFileAtFullPrecisionEvenWhenReadOnly)
{
    const std::string file = dir.file("age.txt");
    setTimes(file, c0, m0, a0);
    ASSERT_FALSE(setFileAttributes(file, FILE_ATTRIBUTE_READONLY));
    DateTimeOffsets created;
    created.months = 1;  // 31 January 2014 -> 28 February 2014
    DateTimeOffsets accessed;
    accessed.years = 1;  // 29 February 2016 -> 28 February 2017
    accessed.seconds = -2;
    EXPECT_FALSE(SetByAge(file, created, days(1), accessed));
    expectTimes(file, makeTimespec(utcSeconds(2014, 2, 28, 10, 0, 3), 750000000),
        makeTimespec(utcSeconds(2015, 3, 2, 23, 59, 59), 999999999),
        makeTimespec(utcSeconds(2017, 2, 27, 23, 59, 59), 123456789));
}

TEST_F(DateTimeChangerTest, AgeOnAFolderGoesThroughLocalTimeInTwoSecondSteps)
{
    const std::string folder = dir.folder("sub");
    setTimes(folder, c0, m0, a0);
    EXPECT_FALSE(SetByAge(folder, {}, days(1), days(-1)));
    expectTimes(folder, evenSecond(c0), evenSecond(makeTimespec(m0.tv_sec + 86400, 0)),
        evenSecond(makeTimespec(a0.tv_sec - 86400, 0)));
}

TEST_F(DateTimeChangerTest, AgeOutOfTheCalendarIsADateEncodeErrorAndWritesNothing)
{
    const std::string file = dir.file("bounds.txt");
    setTimes(file, c0, m0, a0);
    DateTimeOffsets later;
    later.years = 7990;  // 2015 + 7990 = 10005
    DateTimeOffsets earlier;
    earlier.months = -2014 * 12;  // January 2014 - 2014 years = year 0
    for (const auto& [created, modified] : {std::pair{days(1), later}, std::pair{earlier, days(1)}}) {
        try {
            SetByAge(file, created, modified, days(1));
            ADD_FAILURE() << "no error";
        } catch (const KorvalaError& e) {
            EXPECT_STREQ(e.what(), "Invalid argument to date encode");
        }
        expectTimes(file, c0, m0, a0);
    }
}

// A user who may write a file but does not own it: "Set by Age" moves the
// creation time (its store takes writes from such a user), then setting the
// modified time is refused. The error ends the run, and the file is left as
// it was: the creation time is put back.
TEST_F(DateTimeChangerTest, AgeFailingOnALaterStampPutsTheEarlierOnesBack)
{
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0) << dir.path();
    const std::string file = dir.file("shared.txt", "x", 0666);
    setTimes(file, c0, m0, a0);
    const std::string raised = runAsNobody([&] {
        try {
            (void)SetByAge(file, days(1), days(1), DateTimeOffsets());
        } catch (const KorvalaError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    });
    EXPECT_EQ(raised, "System Error.  Code: 1.\r\nOperation not permitted");
    expectTimes(file, c0, m0, a0);
}

// A path whose times cannot be read gives the reason itself, in both modes.
TEST_F(DateTimeChangerTest, UnreadableTimesReportTheirOwnReason)
{
    const std::string gone = dir.path() + "/gone";
    const std::string loop = dir.symlink("loop", "loop");
    const std::string locked = dir.folder("locked", 0700);
    const std::string inside = dir.file("locked/inside.txt");
    const NewTimeChoice keep;
    for (const auto& [path, errnum] : {std::pair{gone, ENOENT}, std::pair{loop, ELOOP}}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(SetByAge(path, days(1), days(1), days(1)), std::error_code(errnum, std::generic_category()));
        EXPECT_EQ(SetBySpecifiedDateTime(path, keep, keep, keep), std::error_code(errnum, std::generic_category()));
    }
    // An ordinary user cannot look into another user's private folder.
    EXPECT_EQ(runAsNobody([&] {
        const std::error_code ec = SetByAge(inside, days(1), days(1), days(1));
        return std::to_string(ec.value()) + " " + ec.category().name();
    }),
        std::to_string(EACCES) + " generic");
}

}  // namespace
}  // namespace korvala
