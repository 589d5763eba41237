// TTempTree leaves nothing behind, whatever a test made of its tree, and never
// reaches outside it through a link.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <iostream>
#include <string>

#include <gtest/gtest.h>

#include "Files.h"
#include "TempTree.h"

namespace korvala::test {
namespace {

bool exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// chattr +i or +a; false where the file system or the user cannot.
bool lock(const std::string& path, int flag)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags |= flag;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

TEST(TempTree, MakesTheEntriesAskedFor)
{
    TTempTree tree;
    EXPECT_EQ(readFile(tree.file("a.txt", "bytes")), "bytes");
    const std::string odd = tree.file(std::string("bad-\xFF\xFE-name"), "");
    EXPECT_TRUE(exists(odd)) << odd;
    struct stat st {};
    ASSERT_EQ(::stat(tree.file("ro.txt", "x", 0444).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    ASSERT_EQ(::stat(tree.folder("one/two/three", 0750).c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0750u);
    ASSERT_EQ(::stat(tree.sizedFile("big.bin", 300000).c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 300000);
    ASSERT_EQ(::lstat(tree.symlink("link", "a.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::lstat(tree.fifo("pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(TempTree, RemovesLockedDeepTreesWithoutFollowingLinks)
{
    TTempTree outside;
    const std::string kept = outside.file("kept.txt", "keep me");
    const std::string keptFolder = outside.folder("kept");
    const std::string keptInside = outside.file("kept/inside.txt", "keep me too");

    std::string root;
    {
        TTempTree tree;
        root = tree.root();
        tree.folder("sealed");
        tree.file("sealed/ro.txt", "x", 0400);
        ASSERT_EQ(::chmod(tree.path("sealed").c_str(), 0500), 0);
        // Root can lock files on the usual file systems; elsewhere the rest
        // of the tree is still checked.
        tree.folder("locked-folder/inner");
        const bool locked = lock(tree.file("immutable.txt"), FS_IMMUTABLE_FL)
            && lock(tree.file("append-only.txt"), FS_APPEND_FL)
            && lock(tree.path("locked-folder"), FS_IMMUTABLE_FL);
        if (!locked)
            std::cerr << "note: no chattr here, locked entries not tried\n";
        tree.symlink("to-file", kept);
        tree.symlink("to-folder", keptFolder);
        tree.fifo("pipe");
        tree.file(std::string("\xFF\xFE"));

        // A chain deeper than PATH_MAX allows as one path, made folder by folder.
        int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        for (int level = 0; level < 1400; ++level) {
            ASSERT_EQ(::mkdirat(fd, "dd", 0755), 0) << "level " << level;
            const int next = ::openat(fd, "dd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            ASSERT_GE(next, 0) << "level " << level;
            fd = next;
        }
        ::close(::openat(fd, "bottom.txt", O_CREAT | O_WRONLY | O_CLOEXEC, 0444));
        ::close(fd);
    }
    EXPECT_FALSE(exists(root)) << root << " is still there";
    EXPECT_EQ(readFile(kept), "keep me");
    EXPECT_EQ(readFile(keptInside), "keep me too");
}

}  // namespace
}  // namespace korvala::test
