// Attribute Changer engine on real files and folders in a temporary folder.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "Files.h"
#include "Process.h"
#include "TempTree.h"
#include "TimeTestSupport.h"
#include "platform/DosAttrib.h"
#include "platform/FileAttributes.h"
#include "tools/attributes/AttributeChanger.h"

namespace korvala {
namespace {

using test::TTempTree;
constexpr AttributeChoice S = AttributeChoice::acSet;
constexpr AttributeChoice C = AttributeChoice::acClear;
constexpr AttributeChoice K = AttributeChoice::acKeep;

mode_t modeOf(const std::string& path)
{
    struct stat st{};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// The bits kept in the file's user.DOSATTRIB, or a text saying why there are none.
std::string storedBits(const std::string& path)
{
    const std::string raw = test::rawXattr(path, "user.DOSATTRIB");
    if (raw == "<absent>")
        return raw;
    const auto info = parseDosAttrib(raw);
    if (!info)
        return "<unreadable>";
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", info->attributes);
    return text;
}

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

// A bit the word shows only because of the name or the mode must not reach the
// store: once the name or the mode changes, the file would keep it for ever.
TEST(ApplyAttributeChoices, OnlyTheChosenChangesReachTheStore)
{
    struct Case {
        const char* name;
        mode_t mode;
        uint32_t storedFirst;  // stored before the run (0: nothing)
        AttributeChoice ro, hidden, system, archive;
        const char* stored;    // the store after the run
        uint32_t word;         // of R H S A, after the run
    };
    const Case cases[] = {
        {".profile", 0644, 0, K, K, K, S, "0x20", 0x22},   // hidden by the dot
        {"ro.txt", 0444, 0, K, K, K, S, "0x20", 0x21},     // read-only by the mode
        {".both", 0444, 0, K, K, S, K, "0x4", 0x07},
        {".kept", 0444, 0x4, K, K, C, K, "<absent>", 0x03},  // clearing the last stored bit
        {"ro-hidden.txt", 0444, 0x2, K, K, K, S, "0x22", 0x23},
    };
    TTempTree dir;
    for (const Case& c : cases) {
        const std::string path = dir.file(c.name, "x", c.mode);
        SCOPED_TRACE(path);
        if (c.storedFirst)
            test::setRawXattr(path, "user.DOSATTRIB", buildDosAttrib(c.storedFirst, std::nullopt));
        const AttributeChange change = ApplyAttributeChoices(path, c.ro, c.hidden, c.system, c.archive);
        ASSERT_FALSE(change.error) << change.error.message();
        EXPECT_TRUE(change.written);
        EXPECT_EQ(storedBits(path), c.stored);
        EXPECT_EQ(getFileAttributes(path) & 0x27u, c.word);
        EXPECT_EQ(modeOf(path), c.mode);
    }

    // After a rename and a chmod the derived bits go, the stored ones stay.
    const std::string profile = dir.path(".profile");
    const std::string renamed = dir.path("profile");
    ASSERT_EQ(::rename(profile.c_str(), renamed.c_str()), 0);
    EXPECT_EQ(getFileAttributes(renamed) & 0x27u, 0x20u) << renamed << " still reads hidden";
    const std::string ro = dir.path("ro.txt");
    ASSERT_EQ(::chmod(ro.c_str(), 0644), 0);
    EXPECT_EQ(getFileAttributes(ro) & 0x27u, 0x20u) << ro << " still reads read-only";
}

// Hidden the Linux way: the folder's ".hidden" lists what the Attribute Changer
// hides, and a name hidden only by the list is unhidden by taking it off.
TEST(ApplyAttributeChoices, HiddenAlsoListsAndUnlistsTheNameInTheFoldersHiddenList)
{
    TTempTree dir;
    const std::string list = dir.path(".hidden");
    const std::string a = dir.file("a.txt");
    const std::string b = dir.file("b.txt");
    dir.file(".hidden", "b.txt\nkeep\n");

    // b is hidden by the list alone: archive is stored without hidden.
    ASSERT_EQ(getFileAttributes(b) & 0x27u, 0x02u);
    ASSERT_FALSE(ApplyAttributeChoices(b, K, K, K, S).error);
    EXPECT_EQ(storedBits(b), "0x20");

    AttributeChange change = ApplyAttributeChoices(a, K, S, K, K);
    ASSERT_FALSE(change.error) << change.error.message();
    EXPECT_EQ(test::readFile(list), "b.txt\nkeep\na.txt\n");
    EXPECT_EQ(storedBits(a), "0x2");

    change = ApplyAttributeChoices(b, K, C, K, K);
    ASSERT_FALSE(change.error) << change.error.message();
    EXPECT_TRUE(change.written);
    EXPECT_EQ(getFileAttributes(b) & 0x27u, 0x20u);
    EXPECT_EQ(test::readFile(list), "keep\na.txt\n");
}

// A change is all or nothing. Setting read-only needs the mode changed, which
// only the owner may do; an ordinary user who may write the file (and so its
// store) must get the failure with nothing written, not a file that reads
// read-only while anyone can write it.
TEST(ApplyAttributeChoices, ReadOnlyByAUserWhoCannotChangeTheModeChangesNothing)
{
    if (::geteuid() != 0)
        FAIL() << "cannot run here: needs root to give the file to another user than the one asking";
    struct Case {
        const char* name;
        mode_t mode;
        AttributeChoice ro, hidden, system, archive;
        const char* answer;   // what the ordinary user is told
        const char* stored;   // the store afterwards
        mode_t modeAfter;
    };
    const Case cases[] = {
        {"set-ro.txt", 0666, S, K, K, K, "Operation not permitted", "<absent>", 0666},
        {"set-ro-and-system.txt", 0666, S, K, S, S, "Operation not permitted", "<absent>", 0666},
        {"set-ro-group.txt", 0646, S, K, K, K, "Operation not permitted", "<absent>", 0646},
        {"clear-ro.txt", 0444, C, K, S, K, "Operation not permitted", "<absent>", 0444},
        // What needs no new mode is the store's alone, which this user may write.
        {"system-only.txt", 0666, K, K, S, K, "ok", "0x4", 0666},
    };
    TTempTree dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0) << dir.path();
    for (const Case& c : cases) {
        const std::string path = dir.file(c.name, "x", c.mode);
        ASSERT_EQ(::chmod(path.c_str(), c.mode), 0) << path;
        SCOPED_TRACE(path);
        const std::string answer = test::runAsNobody([&] {
            const AttributeChange change = ApplyAttributeChoices(path, c.ro, c.hidden, c.system, c.archive);
            return change.error ? change.error.message() : std::string("ok");
        });
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(storedBits(path), c.stored);
        EXPECT_EQ(modeOf(path), c.modeAfter);
    }
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
