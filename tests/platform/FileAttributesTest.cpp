// The attribute word on real files of the test machine's file system (user.DOSATTRIB
// store): stored bits, derived bits, and how read-only meets the permission bits.

#include "platform/FileAttributes.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DosAttrib.h"
#include "Files.h"
#include "Process.h"
#include "TempTree.h"

namespace korvala {
namespace {

mode_t modeOf(const std::string& path)
{
    struct stat st{};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

class FileAttributes : public ::testing::Test {
protected:
    test::TTempTree tmp;
};

TEST_F(FileAttributes, EachStoredBitRoundTripsOnFilesAndFolders)
{
    const uint32_t storedBits[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
        FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_TEMPORARY, FILE_ATTRIBUTE_OFFLINE, FILE_ATTRIBUTE_NOT_CONTENT_INDEXED,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY};
    for (bool isFolder : {false, true}) {
        for (uint32_t bits : storedBits) {
            const std::string name = (isFolder ? "dir-" : "file-") + std::to_string(bits);
            const std::string path = isFolder ? tmp.folder(name) : tmp.file(name);
            SCOPED_TRACE(path);
            const uint32_t base = isFolder ? FILE_ATTRIBUTE_DIRECTORY : 0;
            ASSERT_FALSE(setFileAttributes(path, base | bits));
            EXPECT_EQ(getFileAttributes(path), base | bits);
            const auto stored = parseDosAttrib(test::rawXattr(path, "user.DOSATTRIB"));
            ASSERT_TRUE(stored.has_value());
            EXPECT_EQ(stored->attributes, bits);

            // Clearing everything removes the attribute and gives back the plain word.
            ASSERT_FALSE(setFileAttributes(path, base));
            EXPECT_EQ(getFileAttributes(path), isFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL);
            EXPECT_EQ(test::rawXattr(path, "user.DOSATTRIB"), "<absent>");
        }
    }
}

TEST_F(FileAttributes, DerivedBitsAreNeverStored)
{
    const std::string path = tmp.file("a.txt");
    ASSERT_FALSE(setFileAttributes(path, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                                             FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DEVICE));
    EXPECT_EQ(getFileAttributes(path), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(parseDosAttrib(test::rawXattr(path, "user.DOSATTRIB"))->attributes, FILE_ATTRIBUTE_HIDDEN);

    // Writing back the word as read, with one more bit: hidden by the dot and
    // read-only by the mode are not stored along with it.
    const std::string dot = tmp.file(".rc", "x", 0444);
    ASSERT_EQ(getFileAttributes(dot), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    ASSERT_FALSE(setFileAttributes(dot, getFileAttributes(dot) | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(test::rawXattr(dot, "user.DOSATTRIB"), buildDosAttrib(FILE_ATTRIBUTE_SYSTEM, std::nullopt));
    EXPECT_EQ(modeOf(dot), 0444u);
    ASSERT_FALSE(setFileAttributes(dot, getFileAttributes(dot) & ~FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(test::rawXattr(dot, "user.DOSATTRIB"), "<absent>");
}

TEST_F(FileAttributes, FolderKeepsDirectoryBitAndReadOnlyOnlyInTheStore)
{
    const std::string dir = tmp.folder("d");
    EXPECT_EQ(getFileAttributes(dir), FILE_ATTRIBUTE_DIRECTORY);
    const mode_t before = modeOf(dir);
    ASSERT_FALSE(setFileAttributes(dir, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(getFileAttributes(dir), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(modeOf(dir), before);
    // Trailing slashes name the same folder.
    EXPECT_EQ(getFileAttributes(dir + "/"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
}

TEST_F(FileAttributes, DotNamesStayHidden)
{
    const std::string dotFile = tmp.file(".profile");
    const std::string dotDir = tmp.folder(".config");
    EXPECT_EQ(getFileAttributes(dotFile), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(getFileAttributes(dotDir), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);

    ASSERT_FALSE(setFileAttributes(dotFile, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_FALSE(setFileAttributes(dotFile, FILE_ATTRIBUTE_ARCHIVE));  // clearing hidden
    EXPECT_EQ(getFileAttributes(dotFile), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(::access(dotFile.c_str(), F_OK), 0) << "un-hiding must never rename";
    EXPECT_EQ(parseDosAttrib(test::rawXattr(dotFile, "user.DOSATTRIB"))->attributes, FILE_ATTRIBUTE_ARCHIVE);

    // No ".hidden" line can hold a line feed; the dot still hides such a name.
    EXPECT_EQ(getFileAttributes(tmp.file(".two\nlines")), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(getFileAttributes(tmp.file("two\nlines")), FILE_ATTRIBUTE_NORMAL);

    // "." and ".." only name folders by their place.
    EXPECT_EQ(getFileAttributes(tmp.path() + "/."), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(getFileAttributes(dotDir + "/.."), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FileAttributes, ReadOnlyFollowsTheWritePermission)
{
    const std::string path = tmp.file("r.txt");
    ASSERT_EQ(::chmod(path.c_str(), 0664), 0);

    ASSERT_FALSE(setFileAttributes(path, FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(modeOf(path), 0444u) << "setting read-only removes every write permission";
    EXPECT_EQ(getFileAttributes(path), FILE_ATTRIBUTE_READONLY);

    ASSERT_FALSE(setFileAttributes(path, FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(modeOf(path), 0644u) << "clearing read-only gives the owner write permission";
    EXPECT_EQ(getFileAttributes(path), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(test::rawXattr(path, "user.DOSATTRIB"), "<absent>");

    // A file without owner write permission reads read-only with nothing stored.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(getFileAttributes(path), FILE_ATTRIBUTE_READONLY);
    ASSERT_FALSE(setFileAttributes(path, 0));
    EXPECT_EQ(modeOf(path), 0644u);
}

TEST_F(FileAttributes, ClearingReadOnlyAndSettingHiddenIsOneWrite)
{
    const std::string path = tmp.file("both.txt");
    ASSERT_FALSE(setFileAttributes(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_EQ(modeOf(path) & 0222, 0u);

    const uint32_t word = getFileAttributes(path);
    ASSERT_FALSE(setFileAttributes(path, (word & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(getFileAttributes(path), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_NE(modeOf(path) & S_IWUSR, 0u);
    // The store holds exactly the new bits, written as one version 3 value.
    EXPECT_EQ(test::rawXattr(path, "user.DOSATTRIB"), buildDosAttrib(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, std::nullopt));
}

TEST_F(FileAttributes, ChangingOtherBitsOfAReadOnlyFileKeepsItReadOnly)
{
    const std::string path = tmp.file("ro.txt");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_FALSE(setFileAttributes(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(modeOf(path), 0444u);
    EXPECT_EQ(getFileAttributes(path), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
}

TEST_F(FileAttributes, UnchangedWordWritesNothing)
{
    const std::string path = tmp.file("same.txt");
    ASSERT_FALSE(setFileAttributes(path, FILE_ATTRIBUTE_HIDDEN));
    struct statx before{}, after{};
    ASSERT_EQ(::statx(AT_FDCWD, path.c_str(), 0, STATX_CTIME, &before), 0);
    ::usleep(20000);
    ASSERT_FALSE(setFileAttributes(path, getFileAttributes(path)));
    ASSERT_EQ(::statx(AT_FDCWD, path.c_str(), 0, STATX_CTIME, &after), 0);
    EXPECT_EQ(before.stx_ctime.tv_sec, after.stx_ctime.tv_sec);
    EXPECT_EQ(before.stx_ctime.tv_nsec, after.stx_ctime.tv_nsec);
}

TEST_F(FileAttributes, SymbolicLinkIsAReparsePointAndIsNotFollowed)
{
    const std::string target = tmp.file("target.txt");
    ASSERT_FALSE(setFileAttributes(target, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    const std::string link = tmp.path() + "/link";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    EXPECT_EQ(getFileAttributes(link), FILE_ATTRIBUTE_REPARSE_POINT);

    const std::string dirLink = tmp.path() + "/dirlink";
    ASSERT_EQ(::symlink(tmp.folder("sub").c_str(), dirLink.c_str()), 0);
    EXPECT_EQ(getFileAttributes(dirLink), FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY);

    const std::string dangling = tmp.path() + "/dangling";
    ASSERT_EQ(::symlink("/nonexistent/korvala", dangling.c_str()), 0);
    EXPECT_EQ(getFileAttributes(dangling), FILE_ATTRIBUTE_REPARSE_POINT);

    // A link keeps no user attributes: storing a bit fails, and the target is untouched.
    EXPECT_TRUE(setFileAttributes(link, FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(getFileAttributes(target), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    // Writing the word as read needs no write and succeeds.
    EXPECT_FALSE(setFileAttributes(link, getFileAttributes(link)));
}

TEST_F(FileAttributes, SpecialFilesAndMissingPaths)
{
    const std::string fifo = tmp.path() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(getFileAttributes(fifo), FILE_ATTRIBUTE_DEVICE);
    EXPECT_EQ(getFileAttributes("/dev/null"), FILE_ATTRIBUTE_DEVICE);

    EXPECT_EQ(getFileAttributes(tmp.path() + "/missing"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(getFileAttributes(""), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(setFileAttributes(tmp.path() + "/missing", FILE_ATTRIBUTE_HIDDEN),
        std::make_error_code(std::errc::no_such_file_or_directory));
}

TEST_F(FileAttributes, SparseFileIsMarkedSparse)
{
    const std::string path = tmp.path() + "/sparse.bin";
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 64 * 1024 * 1024), 0);
    ::close(fd);
    EXPECT_EQ(getFileAttributes(path), FILE_ATTRIBUTE_SPARSE_FILE);
    EXPECT_EQ(getFileAttributes(tmp.file("dense.bin", std::string(8192, 'x'))), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileAttributes, FileSystemWithoutAttributesReportsTheError)
{
    // /proc keeps no extended attributes (and is not ours unless we are root).
    const std::error_code ec = setFileAttributes("/proc", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(ec == std::errc::not_supported || ec == std::errc::permission_denied) << ec.message();
    EXPECT_EQ(getFileAttributes("/proc"), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FileAttributes, FolderWithoutWritePermissionReportsTheError)
{
    // A folder without write permission refuses the attribute to anyone but
    // root; run as root, the test asks as an ordinary user who owns the folder.
    const std::string dir = tmp.folder("locked", 0555);
    const auto ask = [&] {
        const std::error_code ec = setFileAttributes(dir, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
        return ec == std::errc::permission_denied ? std::string("refused") : "not refused: " + ec.message();
    };
    std::string answer;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(tmp.path().c_str(), 0755), 0) << tmp.path();
        ASSERT_EQ(::chown(dir.c_str(), 65534, 65534), 0) << dir;
        answer = test::runAsNobody(ask);
    } else {
        answer = ask();
    }
    EXPECT_EQ(answer, "refused") << dir;
}

}  // namespace
}  // namespace korvala
