// Reading and writing time stamps on real files and folders: single stamps at
// full precision, all three through the DOS form, and the failures.

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/stat.h>

#include "TempTree.h"
#include "TimeTestSupport.h"
#include "platform/FileAttributes.h"
#include "platform/KorvalaError.h"
#include "tools/datetime/FileDateTime.h"

namespace korvala {
namespace {

using namespace test;

TEST(GetFileTimes, ReadsTheStampsInUtcToTheMillisecond)
{
    TTempTree dir;
    const std::string file = dir.file("a.txt");
    const timespec c = makeTimespec(utcSeconds(2001, 2, 3, 4, 5, 6), 7999999);
    const timespec m = makeTimespec(utcSeconds(2014, 7, 28, 11, 41, 3), 123456789);
    const timespec a = makeTimespec(utcSeconds(1999, 12, 31, 23, 59, 59), 999999999);
    setTimes(file, c, m, a);

    EXPECT_EQ(GetFileCreatedTime(file), encodeDate(2001, 2, 3) + encodeTime(4, 5, 6, 7));
    EXPECT_EQ(GetFileModifiedTime(file), encodeDate(2014, 7, 28) + encodeTime(11, 41, 3, 123));
    EXPECT_EQ(GetFileAccessedTime(file), encodeDate(1999, 12, 31) + encodeTime(23, 59, 59, 999));
}

TEST(GetFileTimes, APathThatIsGoneHasNoTimes)
{
    TTempTree dir;
    const std::string gone = dir.path() + "/gone";
    EXPECT_FALSE(GetFileCreatedTime(gone));
    EXPECT_FALSE(GetFileModifiedTime(gone));
    EXPECT_FALSE(GetFileAccessedTime(gone));
}

TEST(UTCToLocalDateTime, UsesTheRulesOfTheValuesOwnDate)
{
    ZoneGuard zone("Europe/Berlin");
    const TDateTime winter = encodeDate(2020, 1, 15) + encodeTime(12, 0, 0, 0);
    const TDateTime summer = encodeDate(2020, 7, 15) + encodeTime(12, 0, 0, 0);
    EXPECT_EQ(UTCToLocalDateTime(winter), encodeDate(2020, 1, 15) + encodeTime(13, 0, 0, 0));
    EXPECT_EQ(UTCToLocalDateTime(summer), encodeDate(2020, 7, 15) + encodeTime(14, 0, 0, 0));
}

TEST(SetFileDateTime, SetsOneStampAndKeepsTheOthers)
{
    TTempTree dir;
    const std::string file = dir.file("one.txt");
    const timespec c0 = makeTimespec(utcSeconds(2010, 1, 1), 1);
    const timespec m0 = makeTimespec(utcSeconds(2011, 1, 1), 2);
    const timespec a0 = makeTimespec(utcSeconds(2012, 1, 1), 3);
    setTimes(file, c0, m0, a0);

    const timespec c1 = makeTimespec(utcSeconds(2001, 2, 3, 4, 5, 7), 123456700);  // the store keeps 100 ns
    SetFileDateTime(file, FileTimeKind::fkCreated, c1);
    expectTimes(file, c1, m0, a0);
    const timespec m1 = makeTimespec(utcSeconds(1975, 6, 1), 999999999);
    SetFileDateTime(file, FileTimeKind::fkModified, m1);
    expectTimes(file, c1, m1, a0);
    const timespec a1 = makeTimespec(utcSeconds(2107, 12, 31, 23, 59, 59), 1);
    SetFileDateTime(file, FileTimeKind::fkAccessed, a1);
    expectTimes(file, c1, m1, a1);

    // The date-time form carries the millisecond.
    SetFileDateTime(file, FileTimeKind::fkModified, encodeDate(2020, 2, 29) + encodeTime(1, 2, 3, 456));
    expectTimes(file, c1, makeTimespec(utcSeconds(2020, 2, 29, 1, 2, 3), 456000000), a1);

    // Any other kind sets nothing.
    SetFileDateTime(file, static_cast<FileTimeKind>(3), makeTimespec(0, 0));
    expectTimes(file, c1, makeTimespec(utcSeconds(2020, 2, 29, 1, 2, 3), 456000000), a1);
}

TEST(SetFileDateTime, FailureRaisesTheSystemError)
{
    TTempTree dir;
    try {
        SetFileDateTime(dir.path() + "/gone", FileTimeKind::fkModified, makeTimespec(0, 0));
        FAIL() << "no error for a missing file";
    } catch (const KorvalaError& e) {
        EXPECT_STREQ(e.what(), "System Error.  Code: 2.\r\nNo such file or directory");
    }
}

TEST(SetFileDateTime, AValueTheFileSystemCannotHoldIsAnErrorNotAQuietClamp)
{
    TTempTree dir;
    const std::string file = dir.file("far.txt");
    // Many file systems end before the year 3000 (ext4 in 2446) and the kernel
    // then stores its last second without complaint.
    const timespec far = makeTimespec(utcSeconds(3000, 1, 1), 0);
    try {
        SetFileDateTime(file, FileTimeKind::fkModified, far);
        EXPECT_TRUE(sameTime(timesOf(file).modified, far)) << "stored another value silently";
    } catch (const KorvalaError& e) {
        EXPECT_EQ(std::string(e.what()), systemErrorText(EOVERFLOW));
    }
}

TEST(SetFileDateTime, ACreationTimeIsStoredOrRefusedNeverDroppedQuietly)
{
    // tmpfs keeps user.* attributes only on newer kernels; without them it has
    // no store for a creation time and the write must fail with a reason.
    struct stat shm {};
    if (::stat("/dev/shm", &shm) != 0 || !S_ISDIR(shm.st_mode))
        FAIL() << "cannot run here: no /dev/shm here";
    TTempTree dir("/dev/shm");
    const std::string file = dir.file("c.txt", "x");
    const timespec wanted = makeTimespec(utcSeconds(2001, 2, 3, 4, 5, 6), 0);
    try {
        SetFileDateTime(file, FileTimeKind::fkCreated, wanted);
        EXPECT_TRUE(sameTime(timesOf(file).created, wanted)) << describe(timesOf(file).created);
    } catch (const KorvalaError& e) {
        EXPECT_EQ(std::string(e.what()), systemErrorText(ENOTSUP));
    }
}

TEST(LocalDateTimeToFileTime, GoesThroughTheDosFormInTwoSecondSteps)
{
    ZoneGuard zone("UTC");
    const auto t = LocalDateTimeToFileTime(encodeDate(2020, 1, 15) + encodeTime(10, 0, 3, 750));
    ASSERT_TRUE(t);
    EXPECT_TRUE(sameTime(*t, makeTimespec(utcSeconds(2020, 1, 15, 10, 0, 2), 0))) << describe(*t);

    EXPECT_FALSE(LocalDateTimeToFileTime(encodeDate(1979, 12, 31) + encodeTime(23, 59, 59, 0)));
    EXPECT_TRUE(LocalDateTimeToFileTime(encodeDate(1980, 1, 1)));
    EXPECT_TRUE(LocalDateTimeToFileTime(encodeDate(2107, 12, 31) + encodeTime(23, 59, 59, 999)));
    EXPECT_FALSE(LocalDateTimeToFileTime(encodeDate(2108, 1, 1)));
}

TEST(LocalDateTimeToFileTime, ConvertsByTheZoneRulesOfTheValuesDate)
{
    ZoneGuard zone("Europe/Berlin");
    const auto winter = LocalDateTimeToFileTime(encodeDate(2020, 1, 15) + encodeTime(10, 0, 2, 0));
    const auto summer = LocalDateTimeToFileTime(encodeDate(2020, 7, 15) + encodeTime(10, 0, 2, 0));
    ASSERT_TRUE(winter && summer);
    EXPECT_TRUE(sameTime(*winter, makeTimespec(utcSeconds(2020, 1, 15, 9, 0, 2), 0)));
    EXPECT_TRUE(sameTime(*summer, makeTimespec(utcSeconds(2020, 7, 15, 8, 0, 2), 0)));
}

class SetAllFileDateTimesTest : public ::testing::Test {
protected:
    ZoneGuard zone{"UTC"};
    TTempTree dir;
    const timespec c0 = makeTimespec(utcSeconds(2010, 1, 1), 100);
    const timespec m0 = makeTimespec(utcSeconds(2011, 1, 1), 222);
    const timespec a0 = makeTimespec(utcSeconds(2012, 1, 1), 333);
    const TDateTime c1 = encodeDate(2001, 2, 3) + encodeTime(4, 5, 7, 999);
    const TDateTime a1 = encodeDate(1980, 1, 1) + encodeTime(0, 0, 1, 0);
    const TDateTime m1 = encodeDate(2107, 12, 31) + encodeTime(23, 59, 59, 0);
};

TEST_F(SetAllFileDateTimesTest, WritesAllThreeInTwoSecondSteps)
{
    for (const std::string& path : {dir.file("f.txt"), dir.folder("sub")}) {
        setTimes(path, c0, m0, a0);
        EXPECT_FALSE(SetAllFileDateTimes(path, c1, a1, m1)) << path;
        expectTimes(path, makeTimespec(utcSeconds(2001, 2, 3, 4, 5, 6), 0),
            makeTimespec(utcSeconds(2107, 12, 31, 23, 59, 58), 0), makeTimespec(utcSeconds(1980, 1, 1), 0));
    }
}

TEST_F(SetAllFileDateTimesTest, AReadOnlyFileCannotBeOpenedAndKeepsItsTimes)
{
    const std::string file = dir.file("ro.txt");
    setTimes(file, c0, m0, a0);
    ASSERT_FALSE(setFileAttributes(file, FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(SetAllFileDateTimes(file, c1, a1, m1), std::make_error_code(std::errc::permission_denied));
    expectTimes(file, c0, m0, a0);

    // A folder with the read-only attribute still opens.
    const std::string folder = dir.folder("ro-folder");
    ASSERT_FALSE(setFileAttributes(folder, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SetAllFileDateTimes(folder, c1, a1, m1));
    EXPECT_EQ(timesOf(folder).modified.tv_sec, utcSeconds(2107, 12, 31, 23, 59, 58));
}

TEST_F(SetAllFileDateTimesTest, MissingPathOrAValueWithoutDosFormChangesNothing)
{
    EXPECT_EQ(SetAllFileDateTimes(dir.path() + "/gone", c1, a1, m1),
        std::make_error_code(std::errc::no_such_file_or_directory));

    const std::string file = dir.file("range.txt");
    setTimes(file, c0, m0, a0);
    EXPECT_EQ(SetAllFileDateTimes(file, c1, encodeDate(1979, 12, 31), m1),
        std::make_error_code(std::errc::value_too_large));
    EXPECT_EQ(SetAllFileDateTimes(file, c1, a1, encodeDate(2108, 1, 1)),
        std::make_error_code(std::errc::value_too_large));
    expectTimes(file, c0, m0, a0);
}

}  // namespace
}  // namespace korvala
