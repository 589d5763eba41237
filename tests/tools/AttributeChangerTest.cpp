// Attribute Changer engine on real files and folders in a temporary folder.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include <sys/stat.h>

#include "TempTree.h"
#include "TimeTestSupport.h"
#include "platform/FileAttributes.h"
#include "tools/attributes/AttributeChanger.h"

namespace korvala {
namespace {

using test::TTempTree;
constexpr AttributeChoice S = AttributeChoice::acSet;
constexpr AttributeChoice C = AttributeChoice::acClear;
constexpr AttributeChoice K = AttributeChoice::acKeep;

timespec changeTime(const std::string& path)
{
    struct stat st{};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st.st_ctim;
}

TEST(ComputeAttributeWord, EachChoiceSetsClearsOrKeepsItsOwnBitOnly)
{
    struct Case {
        uint32_t word;
        AttributeChoice ro, hidden, system, archive;
        uint32_t expected;
    };
    const Case cases[] = {
        {0x80, K, K, K, K, 0x80},
        {0x20, S, K, K, K, 0x21},
        {0x21, C, S, K, K, 0x22},
        {0x27, C, C, C, C, 0x00},
        {0x00, S, S, S, S, 0x27},
        {0x10, K, S, S, K, 0x16},               // the folder bit rides along
        {0x2F37, C, K, C, K, 0x2F32},           // other bits carried through untouched
        {0xFFFFFFFF, C, K, K, K, 0xFFFFFFFE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComputeAttributeWord(c.word, c.ro, c.hidden, c.system, c.archive), c.expected)
            << std::hex << "word 0x" << c.word;
}

TEST(AttributeLetters, FiveLettersInSeekerOrder)
{
    EXPECT_EQ(AttributeLetters(0x21), "_R_A_");
    EXPECT_EQ(AttributeLetters(0x80), "_____");
    EXPECT_EQ(AttributeLetters(0x37), "SRHAD");
    EXPECT_EQ(AttributeLetters(0x14), "S___D");
}

TEST(ApplyAttributeChoices, ClearReadOnlyAndSetHiddenIsOneWriteOfBothBits)
{
    TTempTree dir;
    const std::string file = dir.file("report.txt");
    ASSERT_FALSE(setFileAttributes(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_EQ(getFileAttributes(file) & 0x27u, 0x21u);

    const AttributeChange change = ApplyAttributeChoices(file, C, S, K, K);
    EXPECT_FALSE(change.error) << change.error.message();
    EXPECT_TRUE(change.written);
    EXPECT_EQ(change.before & 0x27u, 0x21u);
    EXPECT_EQ(change.after & 0x27u, 0x22u);  // both bits changed in the one word written
    EXPECT_EQ(getFileAttributes(file) & 0x27u, 0x22u);

    // The read-only flag really went away: the file can be written again.
    struct stat st{};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
}

TEST(ApplyAttributeChoices, AnItemThatAlreadyHasTheChoicesIsNotWritten)
{
    TTempTree dir;
    const std::string file = dir.file("same.txt");
    ASSERT_FALSE(setFileAttributes(file, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    const timespec before = changeTime(file);

    for (const auto& choices : {std::array{K, K, K, K}, std::array{C, S, C, S}}) {
        const AttributeChange change =
            ApplyAttributeChoices(file, choices[0], choices[1], choices[2], choices[3]);
        EXPECT_FALSE(change.written);
        EXPECT_FALSE(change.error);
        EXPECT_EQ(change.before, change.after);
    }
    EXPECT_TRUE(test::sameTime(changeTime(file), before)) << "the file was written";
}

TEST(ApplyAttributeChoices, FolderKeepsItsDirectoryBit)
{
    TTempTree dir;
    const std::string folder = dir.folder("sub");
    AttributeChange change = ApplyAttributeChoices(folder, S, S, S, S);
    EXPECT_TRUE(change.written);
    EXPECT_EQ(AttributeLetters(getFileAttributes(folder)), "SRHAD");

    // "Blank": every choice unchecked clears the four bits, the folder stays a folder.
    change = ApplyAttributeChoices(folder, C, C, C, C);
    EXPECT_TRUE(change.written);
    const uint32_t word = getFileAttributes(folder);
    EXPECT_EQ(AttributeLetters(word), "____D");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(ApplyAttributeChoices, MissingPathIsPassedOverWithoutWriting)
{
    TTempTree dir;
    const std::string gone = dir.path() + "/gone.txt";
    const AttributeChange change = ApplyAttributeChoices(gone, C, C, C, C);
    EXPECT_EQ(change.before, INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(change.written);
    EXPECT_EQ(change.error, std::make_error_code(std::errc::no_such_file_or_directory));
    EXPECT_FALSE(std::filesystem::exists(gone));
}

}  // namespace
}  // namespace korvala
