// Duplicate Finder engine on real files: the two cuts, the IDs and colours,
// which files are opened, abort, and removal to a real trash under a
// temporary XDG_DATA_HOME.

#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Files.h"
#include "Process.h"
#include "TempTree.h"
#include "Trash.h"
#include "platform/Trash.h"
#include "tools/duplicates/DuplicateFinder.h"

namespace korvala {
namespace {

using test::TTempTree;

struct ShownRow {
    uint32_t id;
    std::string crc, name, location;
    uint32_t colour;
};

std::vector<ShownRow> shown(const TDuplicateScan& scan, const std::vector<std::string>& paths)
{
    std::vector<ShownRow> rows;
    for (const TDuplicateRow& row : scan.rows)
        rows.push_back({row.id, duplicateCrcText(row), duplicateFileName(paths[row.pathIndex]),
            duplicateLocation(paths[row.pathIndex]), duplicateGroupColour(row)});
    return rows;
}

// Counts the opens of watched files while it lives (inotify sees every open,
// whoever makes it; a stat is no open).
class OpenCounter {
public:
    OpenCounter() : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) { EXPECT_GE(m_fd, 0); }
    ~OpenCounter() { close(m_fd); }
    void watch(const std::string& path)
    {
        const int wd = inotify_add_watch(m_fd, path.c_str(), IN_OPEN);
        ASSERT_GE(wd, 0) << path;
        m_names[wd] = path;
    }
    std::map<std::string, int> opens()
    {
        std::map<std::string, int> counts;
        for (const auto& [wd, path] : m_names)
            counts[path] = 0;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = read(m_fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            for (char* p = buffer; p < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                if (event->mask & IN_OPEN)
                    ++counts[m_names[event->wd]];
                p += sizeof(inotify_event) + event->len;
            }
        }
        return counts;
    }

private:
    int m_fd;
    std::map<int, std::string> m_names;
};

TEST(FindDuplicates, ThreeEqualFilesFormOneGroupAndTheFourthOfTheirSizeIsNotShown)
{
    TTempTree tree;
    tree.folder("one");
    tree.folder("two");
    // "123456789" has the CRC-32 CBF43926, so the group's colour is $00CBF439.
    const std::vector<std::string> paths = {
        tree.file("unique.bin", "a size of its own"),
        tree.file("other.bin", "987654321"),
        tree.file("one/a.txt", "123456789"),
        tree.file("two/b.txt", "123456789"),
        tree.file("one/c.txt", "123456789"),
    };
    const TDuplicateScan scan = FindDuplicates(paths, TDuplicateMode::dmContent);
    ASSERT_FALSE(scan.cancelled);
    const std::vector<ShownRow> rows = shown(scan, paths);
    ASSERT_EQ(rows.size(), 3u);
    const std::vector<std::string> names = {"a.txt", "b.txt", "c.txt"};
    for (size_t i = 0; i < rows.size(); ++i) {
        // The ID counts files after the first cut: other.bin took position 0.
        EXPECT_EQ(rows[i].id, 1u);
        EXPECT_EQ(rows[i].crc, "CBF43926");
        EXPECT_EQ(rows[i].name, names[i]);
        EXPECT_EQ(rows[i].colour, 0x00CBF439u);  // blue CB, green F4, red 39
    }
    EXPECT_EQ(rows[0].location, tree.path("one/"));
    EXPECT_EQ(rows[1].location, tree.path("two/"));
}

TEST(FindDuplicates, GroupsFollowTheirFirstMemberAndRowsKeepListOrderWithinAGroup)
{
    TTempTree tree;
    const std::vector<std::string> paths = {
        tree.file("b1", "bbbb"),
        tree.file("a1", "aaaa"),
        tree.file("b2", "bbbb"),
        tree.file("a2", "aaaa"),
        tree.file("b3", "bbbb"),
    };
    const TDuplicateScan scan = FindDuplicates(paths, TDuplicateMode::dmContent);
    std::vector<std::pair<uint32_t, std::string>> got;
    for (const ShownRow& row : shown(scan, paths))
        got.emplace_back(row.id, row.name);
    const std::vector<std::pair<uint32_t, std::string>> expected = {
        {0, "b1"}, {0, "b2"}, {0, "b3"}, {1, "a1"}, {1, "a2"}};
    EXPECT_EQ(got, expected);
}

TEST(FindDuplicates, RowCellsSizeDateAndProgress)
{
    TTempTree tree;
    const std::string a = tree.sizedFile("a", 1536, 7);  // 1.5 KB rounds up to 2
    const std::string b = tree.file("b", test::readFile(a));
    // Midnight local time shows the date alone.
    ASSERT_EQ(std::system(("touch -m -d '2021-03-04 00:00:00' " + a).c_str()), 0);
    ASSERT_EQ(std::system(("touch -m -d '2021-03-04 05:06:07' " + b).c_str()), 0);
    int maximum = -1, steps = 0;
    TDuplicateScanHooks hooks;
    hooks.progressMaximum = [&](int m) { maximum = m; };
    hooks.progressStep = [&] { ++steps; };
    const std::vector<std::string> paths = {a, b, tree.file("c", "x")};
    const TDuplicateScan scan = FindDuplicates(paths, TDuplicateMode::dmContent, hooks);
    ASSERT_EQ(scan.rows.size(), 2u);
    EXPECT_EQ(duplicateSizeKilobytes(scan.rows[0].size), 2);
    EXPECT_EQ(duplicateSizeKilobytes(511), 0);
    EXPECT_EQ(duplicateSizeKilobytes(512), 1);
    EXPECT_EQ(duplicateDateText(scan.rows[0]), "03/04/2021");
    EXPECT_EQ(duplicateDateText(scan.rows[1]), "03/04/2021 05:06:07");
    EXPECT_EQ(maximum, 4);  // two candidates + 2
    EXPECT_EQ(steps, 3);
}

TEST(FindDuplicates, FilesOfUniqueSizeAreNeverOpenedAndSurvivorsOnce)
{
    TTempTree tree;
    const std::string unique = tree.file("unique", "only one of this length");
    const std::string locked = tree.file("locked", "unreadable, and of a size of its own", 0000);
    const std::string pipe = tree.fifo("pipe");  // size 0, unique here; opening could block
    const std::string a = tree.sizedFile("a", 3 << 20, 5);
    const std::string b = tree.sizedFile("b", 3 << 20, 5);
    OpenCounter counter;
    for (const std::string& p : {unique, locked, a, b})
        counter.watch(p);
    const std::vector<std::string> paths = {unique, locked, pipe, a, b};
    const TDuplicateScan scan = FindDuplicates(paths, TDuplicateMode::dmContent);
    EXPECT_EQ(scan.rows.size(), 2u);
    const std::map<std::string, int> opens = counter.opens();
    EXPECT_EQ(opens.at(unique), 0);
    EXPECT_EQ(opens.at(locked), 0);
    EXPECT_EQ(opens.at(a), 1);
    EXPECT_EQ(opens.at(b), 1);
}

TEST(FindDuplicates, UnreadableFilesOfEqualSizeGroupAsZeroChecksums)
{
    TTempTree tree;
    chmod(tree.root().c_str(), 0755);
    const std::string a = tree.file("a", "first secret", 0600);
    const std::string b = tree.file("b", "other secret", 0600);
    // Root reads anything: the ordinary user cannot read either file.
    const std::string answer = test::runAsNobody([&] {
        const std::vector<std::string> paths = {a, b};
        const TDuplicateScan scan = FindDuplicates(paths, TDuplicateMode::dmContent);
        std::string text;
        for (const TDuplicateRow& row : scan.rows)
            text += std::to_string(row.id) + ":" + duplicateCrcText(row) + " ";
        // They only look alike: removal must never take either.
        text += RemoveDuplicate(b, {a}) == TRemoveOutcome::roNoTwin ? "kept" : "removed";
        return text;
    });
    EXPECT_EQ(answer, "0:00000000 0:00000000 kept");
    EXPECT_TRUE(test::readFile(b) == "other secret");
}

TEST(FindDuplicates, NameModeGroupsNamesAcrossFoldersWithoutRegardToCase)
{
    TTempTree tree;
    for (const char* folder : {"x", "y", "z"})
        tree.folder(folder);
    const std::vector<std::string> paths = {
        tree.file("x/Photo.JPG", "first picture"),
        tree.file("y/other.jpg", "first picture"),  // same content, unique name
        tree.file("z/photo.jpg", "second, longer picture"),
        tree.path("gone/PHOTO.jpg"),  // missing: neither shared nor shown
        tree.folder("w/photo.jpg"),   // a folder: not a file
    };
    const TDuplicateScan scan = FindDuplicates(paths, TDuplicateMode::dmName);
    const std::vector<ShownRow> rows = shown(scan, paths);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "Photo.JPG");
    EXPECT_EQ(rows[1].name, "photo.jpg");
    EXPECT_EQ(rows[0].id, rows[1].id);
    EXPECT_EQ(rows[0].colour, rows[1].colour);
    // The CRC32 cells are the contents' checksums, which differ here.
    EXPECT_NE(rows[0].crc, rows[1].crc);
    EXPECT_EQ(rows[0].crc, test::runProcess({"sh", "-c", "rhash --crc32 --simple " + paths[0] + " | cut -c1-8 | tr a-f A-F"}).out.substr(0, 8));
}

TEST(FindDuplicates, ListsWithoutDuplicatesGiveNoRows)
{
    TTempTree tree;
    const std::vector<std::vector<std::string>> lists = {
        {tree.file("single", "alone")},
        {tree.file("p", "1234"), tree.file("q", "5678"), tree.file("r", "abcde")},
        {tree.path("missing1"), tree.path("missing2")},  // both size 0, neither exists
    };
    for (const auto& paths : lists) {
        for (TDuplicateMode mode : {TDuplicateMode::dmContent, TDuplicateMode::dmName}) {
            const TDuplicateScan scan = FindDuplicates(paths, mode);
            EXPECT_FALSE(scan.cancelled);
            EXPECT_TRUE(scan.rows.empty()) << paths[0];
        }
    }
    // All empty files form one group; a missing entry of size 0 is skipped,
    // and so are a FIFO and a device, which have no contents to compare.
    const std::vector<std::string> empties = {
        tree.file("e1", ""), tree.path("missing3"), tree.fifo("pipe"), "/dev/null", tree.file("e2", "")};
    const TDuplicateScan scan = FindDuplicates(empties, TDuplicateMode::dmContent);
    ASSERT_EQ(scan.rows.size(), 2u);
    EXPECT_EQ(scan.rows[0].pathIndex, 0u);
    EXPECT_EQ(scan.rows[1].pathIndex, 4u);
    EXPECT_EQ(duplicateCrcText(scan.rows[0]), "00000000");
}

TEST(FindDuplicates, ACancelRequestEndsTheScanWithNoRows)
{
    TTempTree tree;
    std::vector<std::string> paths;
    for (const char* name : {"f0", "f1", "f2", "f3", "f4", "f5"})
        paths.push_back(tree.file(name, "same"));
    int asked = 0;
    TDuplicateScanHooks hooks;
    hooks.cancelRequested = [&] { return ++asked > 3; };
    const TDuplicateScan scan = FindDuplicates(paths, TDuplicateMode::dmContent, hooks);
    EXPECT_TRUE(scan.cancelled);
    EXPECT_TRUE(scan.rows.empty());
    EXPECT_EQ(asked, 4);  // once per candidate, until the request
}

// ---- Removal -----------------------------------------------------------------

class RemoveDuplicateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::trashDataHome();
        test::emptyTrash();
    }
    TTempTree tree;
};

TEST_F(RemoveDuplicateTest, TheLastCopyOfAContentIsNeverTrashed)
{
    const std::string a = tree.file("a", "same bytes");
    const std::string b = tree.file("b", "same bytes");
    const std::string c = tree.file("c", "same bytes");
    // The grid's order of removal: from the last selected row to the first.
    std::string twin;
    EXPECT_EQ(RemoveDuplicate(c, {a, b}, &twin), TRemoveOutcome::roTrashed);
    EXPECT_EQ(twin, a);
    EXPECT_EQ(RemoveDuplicate(b, {a, c}), TRemoveOutcome::roTrashed);
    EXPECT_EQ(RemoveDuplicate(a, {b, c}), TRemoveOutcome::roNoTwin);
    EXPECT_EQ(test::readFile(a), "same bytes");
    EXPECT_EQ(test::trashedNames(), (std::vector<std::string>{b, c}));
    EXPECT_EQ(RemoveDuplicate(c, {a, b}), TRemoveOutcome::roMissing);
}

TEST_F(RemoveDuplicateTest, AnotherNameOfTheSameFileIsNoTwin)
{
    const std::string a = tree.file("a", "one file");
    const std::string hard = tree.path("hard");
    ASSERT_EQ(link(a.c_str(), hard.c_str()), 0);
    const std::string soft = tree.symlink("soft", a);
    EXPECT_EQ(RemoveDuplicate(hard, {a, soft}), TRemoveOutcome::roNoTwin);
    EXPECT_EQ(RemoveDuplicate(soft, {a, hard}), TRemoveOutcome::roNoTwin);
    EXPECT_EQ(RemoveDuplicate(a, {a}), TRemoveOutcome::roNoTwin);  // the same folder listed twice
    EXPECT_TRUE(test::trashedNames().empty());
    EXPECT_EQ(test::readFile(a), "one file");
}

TEST_F(RemoveDuplicateTest, ContentsAreComparedByteForByteNowNotByChecksum)
{
    // Equal CRC-32 and size, different bytes: a checksum alone would call
    // these copies.
    const std::string a = tree.file("a", "first...");
    const std::string b = tree.file("b", "secd\x6a\xd6\xf9\x90");
    TDuplicateScan scan = FindDuplicates({a, b}, TDuplicateMode::dmContent);
    ASSERT_EQ(scan.rows.size(), 2u) << "the fixture must collide";
    EXPECT_EQ(RemoveDuplicate(b, {a}), TRemoveOutcome::roNoTwin);
    // A copy changed after the scan is no copy any more.
    const std::string c = tree.file("c", "copy");
    const std::string d = tree.file("d", "copy");
    test::writeFile(c, "edit");
    EXPECT_EQ(RemoveDuplicate(d, {c}), TRemoveOutcome::roNoTwin);
    EXPECT_TRUE(test::trashedNames().empty());
}

TEST_F(RemoveDuplicateTest, AFileTheTrashWillNotTakeStays)
{
    // The ordinary user may read both copies but not take one out of root's
    // folder: the move fails, and nothing is deleted instead.
    chmod(tree.root().c_str(), 0755);
    const std::string folder = tree.folder("locked", 0755);
    const std::string a = tree.file("locked/a", "same");
    const std::string b = tree.file("locked/b", "same");
    const std::string answer = test::runAsNobody([&] {
        const TRemoveOutcome outcome = RemoveDuplicate(b, {a});
        return std::string(outcome == TRemoveOutcome::roNotTrashable ? "not trashable" : "other");
    });
    EXPECT_EQ(answer, "not trashable");
    EXPECT_EQ(test::readFile(b), "same");
    EXPECT_FALSE(SendToRecycleBin(tree.path("locked/none")));
    EXPECT_FALSE(SendToRecycleBin(folder));  // a folder is not a file
}

TEST_F(RemoveDuplicateTest, TrashRecordsRestoreAnyName)
{
    const std::vector<std::string> names = {"plain", "100% sure", "two words", "line\nfeed", "quote\"'$(x)",
        std::string("latin1 \xe9")};
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back(tree.file(name, "x"));
    for (const std::string& path : paths)
        ASSERT_TRUE(SendToRecycleBin(path)) << path;
    std::vector<std::string> sorted = paths;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(test::trashedNames(), sorted);
    for (const std::string& path : paths)
        EXPECT_NE(access(path.c_str(), F_OK), 0) << path;
}

TEST(DuplicatesKeptMessage, SaysHowManyAndWhy)
{
    EXPECT_EQ(duplicatesKeptMessage(0, 0), "");
    EXPECT_EQ(duplicatesKeptMessage(2, 1),
        "3 file(s) kept:\r2 without another file confirmed to hold the same content (the last copy is never "
        "removed)\r1 could not be sent to the Recycle Bin (they were not deleted)");
}

}  // namespace
}  // namespace korvala
