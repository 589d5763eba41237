// Hidden Revealer engine on real trees: the scan with and without system
// entries, and revealing with real attribute stores and ".hidden" files.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "Files.h"
#include "Process.h"
#include "TempTree.h"
#include "platform/FileAttributes.h"
#include "tools/hidden/HiddenRevealer.h"

namespace korvala {
namespace {

using test::TTempTree;

// Stores bits without touching the folder's ".hidden" (as another system
// reading the share would have left them).
void storeBits(const std::string& path, uint32_t bits)
{
    ASSERT_FALSE(setFileAttributes(path, getFileAttributes(path) | bits)) << path;
}

std::vector<std::string> scan(const std::string& folder, bool includeSystem)
{
    std::vector<std::string> found;
    const std::atomic<bool> aborted{false};
    ScanHiddenEntries(HiddenScanCriteria(folder, includeSystem), aborted,
        [&](const std::string& path) { found.push_back(path); });
    return found;
}

TEST(HiddenScan, SystemEntriesAreReportedAndEnteredOnlyWhenIncluded)
{
    TTempTree tree;
    const std::string hiddenFile = tree.file("hidden.txt");
    storeBits(hiddenFile, FILE_ATTRIBUTE_HIDDEN);
    const std::string hiddenFolder = tree.folder("hiddendir");
    storeBits(hiddenFolder, FILE_ATTRIBUTE_HIDDEN);
    const std::string inner = tree.file("hiddendir/inner.txt");
    storeBits(inner, FILE_ATTRIBUTE_HIDDEN);
    const std::string hiddenSystem = tree.file("hs.sys");
    storeBits(hiddenSystem, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    tree.file("plain.txt");
    // A system folder (not hidden itself) with a hidden file in it.
    const std::string systemFolder = tree.folder("sysdir");
    storeBits(systemFolder, FILE_ATTRIBUTE_SYSTEM);
    const std::string inSystem = tree.file("sysdir/deep.txt");
    storeBits(inSystem, FILE_ATTRIBUTE_HIDDEN);

    auto sorted = [](std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    const std::vector<std::string> without = scan(tree.root(), false);
    EXPECT_EQ(sorted(without), sorted({hiddenFile, hiddenFolder, inner}));
    // The folder's own entries come before those of its sub-folders.
    EXPECT_EQ(without.back(), inner);
    EXPECT_EQ(sorted(scan(tree.root() + "/", true)), sorted({hiddenFile, hiddenFolder, inner, hiddenSystem, inSystem}));
}

TEST(HiddenScan, DotNamesAndListedNamesAreHiddenToo)
{
    TTempTree tree;
    const std::string dot = tree.file(".profile");
    const std::string listed = tree.file("listed.txt");
    tree.file("shown.txt");
    const std::string list = tree.file(".hidden", "listed.txt\nnot-there\n");
    std::vector<std::string> found = scan(tree.root(), false);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{list, dot, listed}));
    EXPECT_TRUE(scan(tree.path("missing"), true).empty());
}

TEST(RevealEntry, ClearsOnlyTheHiddenBit)
{
    TTempTree tree;
    const std::string file = tree.file("f.txt");
    storeBits(file, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    const uint32_t before = getFileAttributes(file);
    const TRevealResult result = RevealEntry(file);
    EXPECT_EQ(result.outcome, TRevealOutcome::roRevealed) << result.error.message();
    EXPECT_EQ(getFileAttributes(file), before & ~FILE_ATTRIBUTE_HIDDEN);
    struct stat st{};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0222, 0u) << "read-only must stay";
}

TEST(RevealEntry, UnlistsTheNameAndKeepsTheOtherLines)
{
    TTempTree tree;
    const std::string a = tree.file("a");
    const std::string b = tree.file("b");
    storeBits(b, FILE_ATTRIBUTE_HIDDEN);
    const std::string list = tree.file(".hidden", "a\nb\n# a note\nc");
    EXPECT_EQ(RevealEntry(b).outcome, TRevealOutcome::roRevealed);
    EXPECT_EQ(test::readFile(list), "a\n# a note\nc");
    EXPECT_EQ(getFileAttributes(b) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(RevealEntry(a).outcome, TRevealOutcome::roRevealed);
    EXPECT_EQ(test::readFile(list), "# a note\nc");
}

TEST(RevealEntry, ADotNameStaysHiddenAndIsNeverRenamed)
{
    TTempTree tree;
    const std::string dot = tree.folder(".config");
    storeBits(dot, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const TRevealResult result = RevealEntry(dot);
    EXPECT_EQ(result.outcome, TRevealOutcome::roStillHidden);
    EXPECT_EQ(access(dot.c_str(), F_OK), 0);
    // The stored bit is gone; the name alone keeps it hidden.
    EXPECT_EQ(test::rawXattr(dot, "user.DOSATTRIB").find("0x6"), std::string::npos);
    EXPECT_EQ(getFileAttributes(dot) & FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_SYSTEM);
}

TEST(RevealEntry, WhatCannotBeReadOrWrittenStaysAsItWas)
{
    TTempTree tree;
    const TRevealResult missing = RevealEntry(tree.path("gone"));
    EXPECT_EQ(missing.outcome, TRevealOutcome::roFailed);
    EXPECT_EQ(missing.error, std::errc::no_such_file_or_directory);
    EXPECT_NE(access(tree.path("gone").c_str(), F_OK), 0);

    chmod(tree.root().c_str(), 0755);
    const std::string file = tree.file("roots.txt");
    storeBits(file, FILE_ATTRIBUTE_HIDDEN);
    const std::string answer = test::runAsNobody(
        [&] { return std::string(RevealEntry(file).outcome == TRevealOutcome::roFailed ? "failed" : "changed"); });
    EXPECT_EQ(answer, "failed");
    EXPECT_NE(getFileAttributes(file) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(RevealEntries, AllOrTheSelectedOnes)
{
    TTempTree tree;
    std::vector<std::string> paths;
    for (const char* name : {"p", "q", "r"}) {
        paths.push_back(tree.file(name));
        storeBits(paths.back(), FILE_ATTRIBUTE_HIDDEN);
    }
    EXPECT_EQ(RevealEntries(paths, TRevealWhich::rwSelected, {false, true, false}).size(), 1u);
    EXPECT_NE(getFileAttributes(paths[0]) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(getFileAttributes(paths[1]) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(RevealEntries(paths, TRevealWhich::rwAll).size(), 3u);
    for (const std::string& path : paths)
        EXPECT_EQ(getFileAttributes(path) & FILE_ATTRIBUTE_HIDDEN, 0u) << path;
}

}  // namespace
}  // namespace korvala
