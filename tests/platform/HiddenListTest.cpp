// The ".hidden" list of a folder: its text, the word read from it, listing and
// unlisting through changeFileAttributes, and what is not a list.

#include "platform/HiddenList.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "Files.h"
#include "Process.h"
#include "TempTree.h"
#include "platform/DosAttrib.h"
#include "platform/FileAttributes.h"
#include "platform/SystemError.h"

namespace korvala {
namespace {

TEST(HiddenListText, AddingAndRemovingKeepTheOtherLines)
{
    struct Case {
        const char* contents;
        const char* name;
        const char* with;
        const char* without;
        bool has;
    };
    const Case cases[] = {
        {"", "a", "a\n", "", false},
        {"b\n", "a", "b\na\n", "b\n", false},
        {"b", "a", "b\na\n", "b", false},                    // a last line without its end
        {"a\n", "a", "a\n", "", true},
        {"x\na\ny\n", "a", "x\na\ny\n", "x\ny\n", true},
        {"a\nx\na\n", "a", "a\nx\na\n", "x\n", true},       // every copy goes
        {"x\n\n# note\na", "a", "x\n\n# note\na", "x\n\n# note\n", true},
        {"a \nab\n a\n", "a", "a \nab\n a\na\n", "a \nab\n a\n", false},  // whole lines only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.contents)));
        EXPECT_EQ(hiddenListWith(c.contents, c.name), c.with);
        EXPECT_EQ(hiddenListWithout(c.contents, c.name), c.without);
        EXPECT_EQ(hiddenListHas(c.contents, c.name), c.has);
    }
    EXPECT_EQ(hiddenListNames("x\n\n y\nlast"), (std::vector<std::string_view>{"x", " y", "last"}));
    EXPECT_TRUE(hiddenListIsEmpty("\n\n"));
    EXPECT_FALSE(hiddenListIsEmpty("\n \n"));
    EXPECT_FALSE(hiddenListHas("\n\n", ""));
}

TEST(HiddenListText, FolderAndNameOfAPath)
{
    struct Case {
        const char* path;
        bool listable;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"/tmp/a/b.txt", true, "/tmp/a", "b.txt"},
        {"/tmp/a/sub//", true, "/tmp/a", "sub"},
        {"/tmp//a", true, "/tmp", "a"},
        {"/x", true, "/", "x"},
        {"name", true, ".", "name"},
        {"/", false, "", ""},
        {"", false, "", ""},
        {"/tmp/.", false, "", ""},
        {"/tmp/..", false, "", ""},
        {"/tmp/two\nlines", false, "", ""},
    };
    for (const Case& c : cases) {
        std::string folder, name;
        const bool listable = splitListedName(c.path, folder, name);
        EXPECT_EQ(listable, c.listable) << c.path;
        if (listable && c.listable) {
            EXPECT_EQ(folder, c.folder) << c.path;
            EXPECT_EQ(name, c.name) << c.path;
        }
    }
}

class HiddenList : public ::testing::Test {
protected:
    std::string list() const { return tmp.path(".hidden"); }
    std::string listContents() const
    {
        return std::filesystem::exists(list()) ? test::readFile(list()) : "<absent>";
    }
    test::TTempTree tmp;
};

TEST_F(HiddenList, ListedNamesReadHidden)
{
    const std::string file = tmp.file("secret.txt");
    const std::string folder = tmp.folder("private");
    const std::string other = tmp.file("secret.txt.bak");
    tmp.file(".hidden", "secret.txt\nprivate\n");
    EXPECT_EQ(getFileAttributes(file), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(getFileAttributes(folder), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(getFileAttributes(folder + "/"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(getFileAttributes(other), FILE_ATTRIBUTE_NORMAL);
    // Nothing is stored for a listed name.
    EXPECT_EQ(test::rawXattr(file, "user.DOSATTRIB"), "<absent>");
}

TEST_F(HiddenList, SettingAndClearingHiddenListsAndUnlistsTheName)
{
    const std::string a = tmp.file("a.txt");
    const std::string b = tmp.folder("b");
    const std::string dot = tmp.file(".dot");

    ASSERT_FALSE(changeFileAttributes(a, FILE_ATTRIBUTE_HIDDEN, 0));
    EXPECT_EQ(listContents(), "a.txt\n");
    EXPECT_EQ(parseDosAttrib(test::rawXattr(a, "user.DOSATTRIB"))->attributes, FILE_ATTRIBUTE_HIDDEN);
    ASSERT_FALSE(changeFileAttributes(b, FILE_ATTRIBUTE_HIDDEN, 0));
    ASSERT_FALSE(changeFileAttributes(dot, FILE_ATTRIBUTE_HIDDEN, 0));  // hidden by its dot already
    EXPECT_EQ(listContents(), "a.txt\nb\n");

    // Clearing keeps the other lines; the last one gone, the list goes too.
    ASSERT_FALSE(changeFileAttributes(a, 0, FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(listContents(), "b\n");
    EXPECT_EQ(getFileAttributes(a), FILE_ATTRIBUTE_NORMAL);
    ASSERT_FALSE(changeFileAttributes(b, 0, FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(listContents(), "<absent>");
    EXPECT_EQ(getFileAttributes(b), FILE_ATTRIBUTE_DIRECTORY);

    // A name no line can hold keeps the stored bit alone.
    const std::string twoLines = tmp.file("two\nlines");
    ASSERT_FALSE(changeFileAttributes(twoLines, FILE_ATTRIBUTE_HIDDEN, 0));
    EXPECT_EQ(getFileAttributes(twoLines), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(listContents(), "<absent>");

    // The word of the store alone leaves the list as it is.
    ASSERT_FALSE(setFileAttributes(a, FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(listContents(), "<absent>");
}

TEST_F(HiddenList, AnEditKeepsTheListsLinesModeAndOwnerAndReplacesItWhole)
{
    const std::string a = tmp.file("a.txt");
    const std::string b = tmp.file("b.txt");
    tmp.file(".hidden", "# kept\n\nb.txt\nlast-without-end", 0600);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(list().c_str(), 65534, 65534), 0);
    }
    struct stat before{};
    ASSERT_EQ(::stat(list().c_str(), &before), 0);

    ASSERT_FALSE(changeFileAttributes(a, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, 0));
    EXPECT_EQ(listContents(), "# kept\n\nb.txt\nlast-without-end\na.txt\n");
    struct stat after{};
    ASSERT_EQ(::stat(list().c_str(), &after), 0);
    // Written under another name and renamed into place, never truncated in place.
    EXPECT_NE(after.st_ino, before.st_ino);

    ASSERT_FALSE(changeFileAttributes(b, 0, FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(listContents(), "# kept\n\nlast-without-end\na.txt\n");
    ASSERT_EQ(::stat(list().c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0600u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(tmp.path()))
        ++entries;
    EXPECT_EQ(entries, 3u) << "a temporary file was left behind";
}

// What is not a regular file of a sensible size lists nothing, is never waited
// on, followed or written over: hiding a name there fails with nothing changed,
// clearing hidden has nothing to remove.
TEST_F(HiddenList, WhatIsNotAListIsNeitherReadNorWritten)
{
    const std::string elsewhere = tmp.file("elsewhere", "victim\n");
    struct Case {
        const char* what;
        std::function<void()> make;
        std::error_code refusal;
    };
    const Case cases[] = {
        {"link", [&] { tmp.symlink(".hidden", elsewhere); }, std::make_error_code(std::errc::too_many_symbolic_link_levels)},
        {"fifo", [&] { tmp.fifo(".hidden"); }, make_error_code(PlatformErrc::notRegularFile)},
        {"folder", [&] { tmp.folder(".hidden"); }, std::make_error_code(std::errc::is_a_directory)},
        {"huge", [&] { tmp.file(".hidden", "victim\n" + std::string(kHiddenListMaxSize, 'x')); },
            std::make_error_code(std::errc::file_too_large)},
    };
    const std::string victim = tmp.file("victim");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        EXPECT_EQ(getFileAttributes(victim), FILE_ATTRIBUTE_NORMAL);
        std::string contents;
        EXPECT_EQ(readHiddenList(tmp.path(), contents), c.refusal);

        EXPECT_EQ(changeFileAttributes(victim, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 0), c.refusal);
        EXPECT_EQ(test::rawXattr(victim, "user.DOSATTRIB"), "<absent>") << "the store was not put back";
        EXPECT_FALSE(changeFileAttributes(victim, 0, FILE_ATTRIBUTE_HIDDEN));

        EXPECT_EQ(test::readFile(elsewhere), "victim\n");
        std::filesystem::remove_all(list());
    }
}

// All or nothing with the list as a step: a user who may change the file but
// not write its folder gets the failure, and the stored bit is put back.
TEST_F(HiddenList, AListThatCannotBeWrittenFailsTheWholeChange)
{
    if (::geteuid() != 0)
        FAIL() << "cannot run here: needs root to give the file to another user than the folder's owner";
    ASSERT_EQ(::chmod(tmp.path().c_str(), 0755), 0);
    const std::string file = tmp.file("mine.txt");
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    const std::string answer = test::runAsNobody([&] {
        const std::error_code ec = changeFileAttributes(file, FILE_ATTRIBUTE_HIDDEN, 0);
        return ec ? ec.message() : std::string("ok");
    });
    EXPECT_EQ(answer, "Permission denied");
    EXPECT_EQ(test::rawXattr(file, "user.DOSATTRIB"), "<absent>");
    EXPECT_EQ(listContents(), "<absent>");
    EXPECT_EQ(getFileAttributes(file), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace korvala
