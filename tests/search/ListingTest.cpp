// The folder listing: mask rules, result order, and the attribute word and times
// it computes per entry compared with the platform's own readers.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempTree.h"
#include "platform/DirectoryListing.h"
#include "platform/FileAttributes.h"
#include "platform/FileTimes.h"

namespace korvala {
namespace {

using test::TTempTree;

TEST(ListingMask, Rules)
{
    struct Case {
        const char* name;
        const char* mask;
        bool expected;
    } cases[] = {
        {"README", "*.*", true},
        {"README", "*", true},
        {"README", "*.", true},       // trailing dot: names without an extension
        {"a.txt", "*.", false},
        {"abc", "abc.", true},
        {"abc", "abc.*", true},       // ".*" also lists a name without extension
        {"abc.d", "abc.*", true},
        {"A.TXT", "*.txt", true},
        {"a.txt.bak", "*.txt", false},
        {"a1.txt", "a?.txt", true},
        {"a.txt", "a?.txt", false},
        {"Über.txt", "über*", true},
        {"\xFF\xFE.bin", "\xFF*", true},  // not UTF-8: bytes compare as they are
    };
    for (const Case& c : cases)
        EXPECT_EQ(listingMaskMatches(c.name, c.mask), c.expected) << c.name << " vs " << c.mask;
}

std::vector<std::string> readdirOrder(const std::string& path)
{
    std::vector<std::string> names;
    DIR* d = ::opendir(path.c_str());
    while (dirent* e = ::readdir(d))
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
            names.push_back(e->d_name);
    ::closedir(d);
    return names;
}

TEST(DirectoryListing, OrderIsListingOrderMaskByMask)
{
    TTempTree t;
    for (const char* n : {"a.txt", "b.TXT", "ab", "c.log", "a.log", "zz.txt", "README"})
        t.file(n, "x");
    DirectoryListing l;
    ASSERT_FALSE(l.open(AT_FDCWD, t.root()));
    std::vector<std::string> listed;
    for (size_t i = 0; i < l.size(); ++i)
        listed.emplace_back(l.name(i));
    EXPECT_EQ(listed, readdirOrder(t.root()));

    auto names = [&](const std::vector<size_t>& idx) {
        std::vector<std::string> out;
        for (size_t i : idx)
            out.emplace_back(l.name(i));
        return out;
    };
    std::vector<std::string> expected;
    for (const char* mask : {"*.txt", "a*"})
        for (const std::string& n : listed)
            if (listingMaskMatches(n, mask))
                expected.push_back(n);
    EXPECT_EQ(names(l.matchMasks({"*.txt", "a*"})), expected);
    EXPECT_EQ(std::count(expected.begin(), expected.end(), "a.txt"), 2);  // fits both masks
}

TEST(DirectoryListing, AttributesAndTimesAgreeWithThePlatform)
{
    TTempTree t;
    t.file("plain", "12345");
    t.file(".dotfile", "x");
    t.file("readonly", "x");
    ::chmod(t.path("readonly").c_str(), 0444);
    t.file("hidden", "x");
    ASSERT_FALSE(setFileAttributes(t.path("hidden"), FILE_ATTRIBUTE_HIDDEN));
    t.file("system", "x");
    ASSERT_FALSE(setFileAttributes(t.path("system"), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    t.folder("folder");
    t.folder("sysfolder");
    ASSERT_FALSE(setFileAttributes(t.path("sysfolder"), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_EQ(::symlink("folder", t.path("folderlink").c_str()), 0);
    ASSERT_EQ(::symlink("plain", t.path("filelink").c_str()), 0);
    ASSERT_EQ(::mkfifo(t.path("fifo").c_str(), 0644), 0);
    {
        int fd = ::open(t.path("sparse").c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 8 << 20), 0);
        ::close(fd);
    }
    // A stored value longer than usual is read in full, as the platform reads it.
    t.file("longvalue", "x");
    const std::string longHex = "0x" + std::string(150, '0') + "2";
    ASSERT_EQ(::setxattr(t.path("longvalue").c_str(), "user.DOSATTRIB", longHex.c_str(), longHex.size() + 1, 0), 0);
    ASSERT_FALSE(writeFileTimes(t.path("plain"), timespec{1000000000, 5}, timespec{1200000000, 0}, std::nullopt));

    DirectoryListing l;
    ASSERT_FALSE(l.open(AT_FDCWD, t.root()));
    ASSERT_EQ(l.size(), 12u);
    for (size_t i = 0; i < l.size(); ++i) {
        const std::string name(l.name(i));
        const std::string path = t.path(name);
        const uint32_t expected = getFileAttributes(path);
        // A partial question answers its bits like the full one.
        const uint32_t few = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
        EXPECT_EQ(l.attributes(i, few) & few, expected & few) << name;
        EXPECT_EQ(l.attributes(i), expected) << name;
        const EntryDetails& d = l.details(i);
        EXPECT_EQ(d.attributes, expected) << name;
        FileTimes times;
        ASSERT_FALSE(readFileTimes(path, times)) << name;
        if (name != "filelink" && name != "folderlink") {
            EXPECT_EQ(d.created.tv_sec, times.created.tv_sec) << name;
            EXPECT_EQ(d.created.tv_nsec, times.created.tv_nsec) << name;
            EXPECT_EQ(d.modified.tv_sec, times.modified.tv_sec) << name;
        }
    }
    auto find = [&](const char* n) {
        for (size_t i = 0; i < l.size(); ++i)
            if (l.name(i) == n)
                return i;
        return size_t(-1);
    };
    EXPECT_EQ(l.attributes(find("folderlink")) & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(l.type(find("folderlink")), EntryType::Symlink);  // never a folder to enter
    EXPECT_EQ(l.details(find("plain")).size, 5);
    EXPECT_EQ(l.details(find("plain")).created.tv_sec, 1000000000);
}

// The folder's ".hidden" is read once, when the folder is opened; its names
// read hidden from the bits the listing knows without asking the disk, and
// agree with the platform's reader. A ".hidden" that is not a list hides nothing.
TEST(DirectoryListing, NamesInTheFoldersHiddenListReadHidden)
{
    TTempTree t;
    t.folder("listed");
    t.file("listed/secret.txt");
    t.folder("listed/private");
    t.file("listed/shown.txt");
    t.symlink("listed/link", "shown.txt");
    t.file("listed/.hidden", "secret.txt\nprivate\nlink\nnot-here\n");
    t.folder("fifo");
    t.file("fifo/secret.txt");
    t.fifo("fifo/.hidden");

    struct Case {
        const char* folder;
        std::vector<std::string> hidden;  // the entries that read hidden
    };
    const Case cases[] = {
        {"listed", {".hidden", "link", "private", "secret.txt"}},
        {"fifo", {".hidden"}},
    };
    for (const Case& c : cases) {
        DirectoryListing l;
        ASSERT_FALSE(l.open(AT_FDCWD, t.path(c.folder))) << c.folder;
        std::vector<std::string> hidden;
        for (size_t i = 0; i < l.size(); ++i) {
            const std::string name(l.name(i));
            const std::string path = t.path(std::string(c.folder) + "/" + name);
            if (l.attributes(i, 0) & FILE_ATTRIBUTE_HIDDEN)
                hidden.push_back(name);
            EXPECT_EQ(l.attributes(i), getFileAttributes(path)) << path;
            EXPECT_EQ(l.details(i).attributes, getFileAttributes(path)) << path;
        }
        std::sort(hidden.begin(), hidden.end());
        EXPECT_EQ(hidden, c.hidden) << c.folder;
    }
}

TEST(DirectoryListing, MissingFolderIsEmptyAndLinksAreNotFollowed)
{
    TTempTree t;
    t.folder("real");
    t.file("real/inside", "x");
    ASSERT_EQ(::symlink("real", t.path("link").c_str()), 0);
    DirectoryListing l;
    EXPECT_TRUE(l.open(AT_FDCWD, t.path("missing")));
    EXPECT_EQ(l.size(), 0u);
    DirectoryListing parent;
    ASSERT_FALSE(parent.open(AT_FDCWD, t.root()));
    DirectoryListing viaLink;
    EXPECT_TRUE(viaLink.open(parent.fd(), "link"));  // entered relative: refused
    EXPECT_EQ(viaLink.size(), 0u);
}

}  // namespace
}  // namespace korvala
