// The Seeker's engine operations: the row texts and the page-to-criteria mapping.

#include <gtest/gtest.h>

#include "TempTree.h"
#include "platform/DateTime.h"
#include "platform/FileAttributes.h"
#include "search/FindFileW.h"

namespace korvala {
namespace {

TEST(SeekerRow, Cells)
{
    TFileDetails d;
    d.Name = "a.txt";
    d.Location = "/data/";
    d.Attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;
    d.Size = 700;
    d.ModifiedTime = encodeDate(2024, 2, 9) + encodeTime(7, 5, 3, 0);
    TSeekerRow row = formatSeekerRow(d);
    EXPECT_EQ(row.Name, "a.txt");
    EXPECT_EQ(row.Size, "1");
    EXPECT_EQ(row.Attributes, "_R_A_");
    EXPECT_EQ(row.DateModified, "02/09/2024 07:05:03");
    EXPECT_EQ(row.Location, "/data/");

    struct SizeCase {
        int64_t size;
        const char* text;
    } sizes[] = {{0, "0"}, {400, "0"}, {511, "0"}, {512, "1"}, {1535, "1"}, {1536, "2"}, {1LL << 40, "1073741824"}};
    for (const SizeCase& c : sizes)
        EXPECT_EQ(formatSizeKilobytes(0, c.size), c.text) << c.size;
    EXPECT_EQ(formatSizeKilobytes(FILE_ATTRIBUTE_DIRECTORY, 4096), "Folder");
    EXPECT_EQ(formatAttributeLetters(0x1F | 0x20), "SRHAD");
    EXPECT_EQ(formatAttributeLetters(FILE_ATTRIBUTE_NORMAL), "_____");
    EXPECT_EQ(formatGridDateTime(encodeDate(2024, 12, 31)), "12/31/2024");  // midnight: no time
    EXPECT_EQ(formatGridDateTime(encodeDate(2024, 12, 31) + encodeTime(0, 0, 1, 0)), "12/31/2024 00:00:01");
}

TEST(SeekerCriteria, InitialPageAndMapping)
{
    test::TTempTree t;
    t.folder("real");
    SeekerPageState page;
    TSearchCriteria c;
    page.locations = {t.path("real"), t.path("missing"), t.path("real") + "/", "2>" + t.path("real"), ""};
    buildSeekerCriteria(page, c);
    EXPECT_EQ(c.Files().FileName(), "*.*");
    // Each line that names a folder is a root; a level prefix gives its own
    // recursion values. The roots go into Folders, never into the ";" list.
    const std::string real = t.path("real") + "/";
    EXPECT_EQ(c.Files().Location(), "");
    EXPECT_EQ(c.Files().Folders(),
        (std::vector<TRootFolder>{{real, true, 0, 0}, {real, true, 0, 0}, {real, true, 0, 2}}));
    EXPECT_TRUE(c.Files().Subfolders());
    // The page's initial attribute boxes equal a new criteria object's states.
    TAttributesCriteria initial;
    for (const AttributeName& n : kAttributeNames)
        EXPECT_EQ(c.Attributes().State(n.bit), initial.State(n.bit)) << n.name;
    EXPECT_EQ(c.Size().Min, 0);
    EXPECT_EQ(c.Size().Max, 0);

    page.sizeMin = 1;
    page.sizeMinUnit = SeekerSizeUnit::MB;
    page.sizeMax = 0;
    page.sizeMaxUnit = SeekerSizeUnit::GB;
    page.modified.before.timeChecked = true;
    page.modified.before.time = encodeDate(2020, 1, 1) + encodeTime(12, 0, 0, 0);
    page.created.after.dateChecked = true;
    page.created.after.date = encodeDate(2021, 5, 6) + encodeTime(9, 0, 0, 0);
    page.created.after.timeChecked = true;
    page.created.after.time = encodeTime(8, 30, 0, 0);
    page.attributes[0] = SeekerCheck::Checked;  // Archive
    page.containing = "x";
    page.wholeWord = page.exclude = true;
    page.includeSubfolders = false;
    buildSeekerCriteria(page, c);
    EXPECT_EQ(c.Size().Min, 1048576);
    EXPECT_EQ(c.Size().Max, 0);  // 0 sets no bound whatever its unit
    EXPECT_DOUBLE_EQ(c.TimeStamp().ModifiedBefore, encodeTime(12, 0, 0, 0));  // a time alone
    EXPECT_DOUBLE_EQ(c.TimeStamp().CreatedAfter, encodeDate(2021, 5, 6) + encodeTime(8, 30, 0, 0));
    EXPECT_EQ(c.Attributes().Archive(), fsSet);
    EXPECT_EQ(c.Content().Options(), unsigned(csoWholeWord | csoNegate));
    EXPECT_FALSE(c.Files().Subfolders());
}

}  // namespace
}  // namespace korvala
