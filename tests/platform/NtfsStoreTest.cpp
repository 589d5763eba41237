// The NTFS attribute store on a real NTFS volume: a small image formatted with
// mkntfs and mounted with ntfs-3g (FUSE). Skipped where that cannot be done (not
// root, no FUSE, the tools missing).

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <thread>

#include "platform/ConsoleCommand.h"
#include "platform/FileAttributes.h"
#include "platform/FileTimes.h"
#include "platform/NtTime.h"
#include "Files.h"
#include "Process.h"
#include "TempTree.h"

namespace korvala {
namespace {

using test::haveProgram;

uint32_t ntfsAttrib(const std::string& path)
{
    uint32_t value = 0xDEADBEEF;
    ::getxattr(path.c_str(), "system.ntfs_attrib", &value, sizeof value);
    return value;
}

class NtfsVolume : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            FAIL() << "cannot run here: mounting a volume needs root";
        if (::access("/dev/fuse", R_OK | W_OK) != 0 || !haveProgram("mkntfs") || !haveProgram("ntfs-3g"))
            FAIL() << "cannot run here: no FUSE or no ntfs-3g";
        m_image = tmp.path() + "/volume.img";
        m_mount = tmp.folder("mnt");
        runConsoleCommand("truncate -s 16M volume.img && mkntfs -F -f -q volume.img", tmp.path());
        runConsoleCommand("ntfs-3g volume.img mnt", tmp.path());
        struct stat image{}, mounted{};
        if (::stat(tmp.path().c_str(), &image) != 0 || ::stat(m_mount.c_str(), &mounted) != 0 ||
            image.st_dev == mounted.st_dev)
            FAIL() << "cannot run here: the NTFS image could not be mounted";
        m_mounted = true;
    }

    void TearDown() override
    {
        if (!m_mounted)
            return;
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (::umount2(m_mount.c_str(), 0) == 0 || errno != EBUSY)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::umount2(m_mount.c_str(), MNT_DETACH);
    }

    std::string onVolume(const std::string& name) const { return m_mount + "/" + name; }

    test::TTempTree tmp;
    std::string m_image;
    std::string m_mount;
    bool m_mounted = false;
};

TEST_F(NtfsVolume, AttributesLiveInTheVolumesOwnWord)
{
    const std::string file = onVolume("a.txt");
    // (ntfs-3g reads a system file of one or two bytes as a special file of another
    // system; real content keeps it an ordinary file.)
    { std::ofstream(file) << "the content of an ordinary file"; }
    const std::string dir = onVolume("d");
    ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
    // New entries carry the archive bit, as the volume made them.
    EXPECT_EQ(getFileAttributes(file), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(getFileAttributes(dir), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);

    const uint32_t cases[] = {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE,
        FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_TEMPORARY, FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_HIDDEN, 0};
    for (uint32_t bits : cases) {
        SCOPED_TRACE(bits);
        ASSERT_FALSE(setFileAttributes(file, bits));
        EXPECT_EQ(getFileAttributes(file), bits ? bits : FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ntfsAttrib(file), bits ? bits : FILE_ATTRIBUTE_NORMAL);  // the volume's form of "nothing"
        // The folder keeps its directory bit in the volume's word.
        ASSERT_FALSE(setFileAttributes(dir, FILE_ATTRIBUTE_DIRECTORY | bits));
        EXPECT_EQ(getFileAttributes(dir), FILE_ATTRIBUTE_DIRECTORY | bits);
        EXPECT_EQ(ntfsAttrib(dir), FILE_ATTRIBUTE_DIRECTORY | bits);
    }
    // Writing the word as read writes nothing.
    struct stat before{}, after{};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_FALSE(setFileAttributes(file, getFileAttributes(file)));
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(before.st_ctim.tv_nsec, after.st_ctim.tv_nsec);
    EXPECT_EQ(before.st_ctim.tv_sec, after.st_ctim.tv_sec);

    // Nothing went to the user attribute of other file systems.
    EXPECT_EQ(test::rawXattr(file, "user.DOSATTRIB"), "<absent>");
}

TEST_F(NtfsVolume, CreationTimeIsTheVolumesOwn)
{
    const std::string file = onVolume("c.txt");
    { std::ofstream(file) << "the content of an ordinary file"; }
    const timespec created{1262304000, 123456700};
    ASSERT_FALSE(writeFileTimes(file, created, timespec{1300000000, 500}, std::nullopt));
    FileTimes times;
    ASSERT_FALSE(readFileTimes(file, times));
    EXPECT_EQ(times.created.tv_sec, created.tv_sec);
    EXPECT_EQ(times.created.tv_nsec, created.tv_nsec);
    EXPECT_EQ(times.modified.tv_sec, 1300000000);
    uint64_t nt = 0;
    ASSERT_EQ(::getxattr(file.c_str(), "system.ntfs_crtime", &nt, sizeof nt), 8);
    EXPECT_EQ(nt, timespecToNtTime(created));
    EXPECT_EQ(test::rawXattr(file, "user.DOSATTRIB"), "<absent>");
}

}  // namespace
}  // namespace korvala
