// The three time stamps on real files: to the nanosecond, the creation time kept in
// user.DOSATTRIB next to the attribute bits, and what a symbolic link does.

#include "platform/FileTimes.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DosAttrib.h"
#include "platform/FileAttributes.h"
#include "platform/NtTime.h"
#include "Files.h"
#include "Process.h"
#include "TempTree.h"

namespace korvala {
namespace {

::testing::AssertionResult sameTime(const timespec& actual, const timespec& expected)
{
    if (actual.tv_sec == expected.tv_sec && actual.tv_nsec == expected.tv_nsec)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual.tv_sec << "." << actual.tv_nsec << " instead of " << expected.tv_sec
                                         << "." << expected.tv_nsec;
}

class FileTimesTest : public ::testing::Test {
protected:
    test::TTempTree tmp;
};

TEST_F(FileTimesTest, ModifiedAndAccessedRoundTripToTheNanosecond)
{
    const timespec cases[][2] = {
        {{1700000000, 123456789}, {1600000000, 987654321}},
        {{0, 1}, {1, 999999999}},
        {{-86400 * 365, 5}, {4102444800, 0}},  // 1969 and 2100
    };
    for (bool isFolder : {false, true}) {
        const std::string path = isFolder ? tmp.folder("d") : tmp.file("f.txt");
        for (const auto& c : cases) {
            SCOPED_TRACE(path + " " + std::to_string(c[0].tv_sec));
            ASSERT_FALSE(writeFileTimes(path, std::nullopt, c[0], c[1]));
            FileTimes times;
            ASSERT_FALSE(readFileTimes(path, times));
            EXPECT_TRUE(sameTime(times.modified, c[0]));
            EXPECT_TRUE(sameTime(times.accessed, c[1]));
        }
    }
}

TEST_F(FileTimesTest, OnlyTheGivenStampsChange)
{
    const std::string path = tmp.file("f.txt");
    const timespec m{1500000000, 111}, a{1400000000, 222};
    ASSERT_FALSE(writeFileTimes(path, std::nullopt, m, a));
    ASSERT_FALSE(writeFileTimes(path, std::nullopt, timespec{1300000000, 333}, std::nullopt));
    FileTimes times;
    ASSERT_FALSE(readFileTimes(path, times));
    EXPECT_TRUE(sameTime(times.modified, {1300000000, 333}));
    EXPECT_TRUE(sameTime(times.accessed, a));
}

// A user who may write a file but does not own it cannot set its times: the
// refusal comes before the creation time is written, so nothing changes.
TEST_F(FileTimesTest, ACallerWhoMayNotSetTheTimesChangesNothing)
{
    ASSERT_EQ(::chmod(tmp.path().c_str(), 0755), 0) << tmp.path();
    const std::string path = tmp.file("shared.txt", "x", 0666);
    const timespec c0{1400000000, 0}, m0{1500000000, 0};
    ASSERT_FALSE(writeFileTimes(path, c0, m0, m0));
    std::string answer;
    if (::geteuid() == 0) {
        answer = test::runAsNobody([&] {
            return writeFileTimes(path, timespec{1600000000, 0}, timespec{1600000000, 0}, std::nullopt).message();
        });
    } else {
        FAIL() << "cannot run here: needs root to hand the file to another user";
    }
    EXPECT_EQ(answer, std::error_code(EPERM, std::generic_category()).message());
    FileTimes times;
    ASSERT_FALSE(readFileTimes(path, times));
    EXPECT_TRUE(sameTime(times.created, c0));
    EXPECT_TRUE(sameTime(times.modified, m0));
}

TEST_F(FileTimesTest, CreationTimeIsStoredAndKeepsTheAttributeBits)
{
    const std::string path = tmp.file("c.txt");
    ASSERT_FALSE(setFileAttributes(path, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    const timespec created{1262304000, 123456700};  // NT time keeps 100 ns steps
    ASSERT_FALSE(writeFileTimes(path, created, std::nullopt, std::nullopt));

    FileTimes times;
    ASSERT_FALSE(readFileTimes(path, times));
    EXPECT_TRUE(sameTime(times.created, created));
    EXPECT_EQ(getFileAttributes(path), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(test::rawXattr(path, "user.DOSATTRIB"),
        buildDosAttrib(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, timespecToNtTime(created)));

    // Changing the attribute bits afterwards keeps the creation time.
    ASSERT_FALSE(setFileAttributes(path, FILE_ATTRIBUTE_SYSTEM));
    ASSERT_FALSE(readFileTimes(path, times));
    EXPECT_TRUE(sameTime(times.created, created));
    ASSERT_FALSE(setFileAttributes(path, FILE_ATTRIBUTE_NORMAL));
    ASSERT_FALSE(readFileTimes(path, times));
    EXPECT_TRUE(sameTime(times.created, created));
}

TEST_F(FileTimesTest, CreationTimeOfAReadOnlyFileAndOfAFolder)
{
    const std::string file = tmp.file("ro.txt");
    ASSERT_FALSE(setFileAttributes(file, FILE_ATTRIBUTE_READONLY));
    const std::string dir = tmp.folder("dir");
    const timespec created{946684800, 0};
    for (const std::string& path : {file, dir}) {
        SCOPED_TRACE(path);
        ASSERT_FALSE(writeFileTimes(path, created, std::nullopt, std::nullopt));
        FileTimes times;
        ASSERT_FALSE(readFileTimes(path, times));
        EXPECT_TRUE(sameTime(times.created, created));
    }
    struct stat st{};
    ::stat(file.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0222, 0u) << "the file stays read-only";
    EXPECT_EQ(getFileAttributes(file), FILE_ATTRIBUTE_READONLY);
}

TEST_F(FileTimesTest, WithoutAStoredCreationTimeTheBirthTimeIsUsed)
{
    const std::string path = tmp.file("b.txt");
    struct statx stx{};
    ASSERT_EQ(::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &stx), 0);
    if (!(stx.stx_mask & STATX_BTIME))
        FAIL() << "cannot run here: no birth time on this file system";
    // Moving the modification time into the past does not move the creation time.
    ASSERT_FALSE(writeFileTimes(path, std::nullopt, timespec{1000000000, 0}, std::nullopt));
    FileTimes times;
    ASSERT_FALSE(readFileTimes(path, times));
    EXPECT_TRUE(sameTime(times.created, {static_cast<time_t>(stx.stx_btime.tv_sec), static_cast<long>(stx.stx_btime.tv_nsec)}));
}

TEST_F(FileTimesTest, SymbolicLinkGivesAndTakesTheTimesOfItsTarget)
{
    const std::string target = tmp.file("t.txt");
    const std::string link = tmp.path() + "/l";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    const timespec m{1234567890, 42}, c{1111111111, 100};
    ASSERT_FALSE(writeFileTimes(link, c, m, m));
    FileTimes viaTarget, viaLink;
    ASSERT_FALSE(readFileTimes(target, viaTarget));
    ASSERT_FALSE(readFileTimes(link, viaLink));
    EXPECT_TRUE(sameTime(viaTarget.modified, m));
    EXPECT_TRUE(sameTime(viaTarget.created, c));
    EXPECT_TRUE(sameTime(viaLink.created, c));
    EXPECT_TRUE(sameTime(viaLink.accessed, m));
}

TEST_F(FileTimesTest, MissingPathsFail)
{
    FileTimes times;
    const std::string missing = tmp.path() + "/missing";
    EXPECT_EQ(readFileTimes(missing, times), std::make_error_code(std::errc::no_such_file_or_directory));
    EXPECT_EQ(writeFileTimes(missing, std::nullopt, timespec{1, 0}, std::nullopt),
        std::make_error_code(std::errc::no_such_file_or_directory));
    const std::string dangling = tmp.path() + "/dangling";
    ASSERT_EQ(::symlink(missing.c_str(), dangling.c_str()), 0);
    EXPECT_TRUE(readFileTimes(dangling, times));
}

TEST_F(FileTimesTest, CreationTimeOnAFileSystemWithoutAStore)
{
    // /proc keeps no extended attributes: setting a creation time fails there.
    EXPECT_TRUE(writeFileTimes("/proc", timespec{1000, 0}, std::nullopt, std::nullopt));
}

}  // namespace
}  // namespace korvala
