// The result grid's model on its own: batches append without a reset, the
// cells are the row format's texts, and sorting is typed, stable and keeps the
// selection on its row.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QPersistentModelIndex>
#include <QSignalSpy>

#include "app/pages/SeekerResultModel.h"
#include "platform/DateTime.h"
#include "platform/FileAttributes.h"

using korvala::TFileDetails;

namespace {

TFileDetails entry(const std::string& folder, const std::string& name, int64_t size, korvala::TDateTime modified,
    uint32_t attributes = korvala::FILE_ATTRIBUTE_ARCHIVE)
{
    TFileDetails d;
    d.Location = folder;
    d.Name = name;
    d.Size = size;
    d.ModifiedTime = modified;
    d.Attributes = attributes;
    return d;
}

std::vector<std::string> column(const TSeekerResultModel& model, int col)
{
    std::vector<std::string> out;
    for (int r = 0; r < model.rowCount(); ++r)
        out.push_back(model.index(r, col).data().toString().toStdString());
    return out;
}

}  // namespace

TEST(SeekerResultModel, BatchesAppendWithOneInsertEachAndNoReset)
{
    TSeekerResultModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    const korvala::TDateTime day = korvala::encodeDate(2021, 3, 4);
    model.appendBatch({entry("/a/", "one", 10, day), entry("/a/", "two", 20, day)});
    model.appendBatch({});
    model.appendBatch({entry("/b/", "three", 30, day)});
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(inserted.count(), 2);
    EXPECT_EQ(inserted[0][1].toInt(), 0);
    EXPECT_EQ(inserted[0][2].toInt(), 1);
    EXPECT_EQ(inserted[1][1].toInt(), 2);
    EXPECT_EQ(inserted[1][2].toInt(), 2);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(model.pathAt(2), "/b/three");
    EXPECT_EQ(column(model, TSeekerResultModel::clLoc), (std::vector<std::string>{"/a/", "/a/", "/b/"}));

    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(SeekerResultModel, CellsFollowTheRowFormat)
{
    TSeekerResultModel model;
    const korvala::TDateTime midnight = korvala::encodeDate(2020, 12, 1);
    const korvala::TDateTime afternoon = midnight + korvala::encodeTime(13, 45, 10, 0);
    model.appendBatch({
        entry("/d/", "big", 700, afternoon, korvala::FILE_ATTRIBUTE_READONLY | korvala::FILE_ATTRIBUTE_ARCHIVE),
        entry("/d/", "small", 400, midnight, 0),
        entry("/d/", "sub", 4096, midnight, korvala::FILE_ATTRIBUTE_DIRECTORY | korvala::FILE_ATTRIBUTE_SYSTEM),
    });
    EXPECT_EQ(column(model, TSeekerResultModel::clSize), (std::vector<std::string>{"1", "0", "Folder"}));
    EXPECT_EQ(column(model, TSeekerResultModel::clAttr), (std::vector<std::string>{"_R_A_", "_____", "S___D"}));
    EXPECT_EQ(column(model, TSeekerResultModel::clMod),
        (std::vector<std::string>{"12/01/2020 13:45:10", "12/01/2020", "12/01/2020"}));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Size (KB)"));
}

TEST(SeekerResultModel, SortsByKindStablyAndKeepsTheSelection)
{
    TSeekerResultModel model;
    const korvala::TDateTime d2020 = korvala::encodeDate(2020, 12, 1);
    const korvala::TDateTime d2021 = korvala::encodeDate(2021, 1, 5);
    // Texts sort differently from the values: "10" < "9", "01/05/2021" < "12/01/2020".
    model.appendBatch({
        entry("/x/", "b", 9 * 1024, d2021),
        entry("/x/", "C", 10 * 1024, d2020),
        entry("/x/", "a", 9 * 1024, d2020),
        entry("/w/", "Folder1", 0, d2021, korvala::FILE_ATTRIBUTE_DIRECTORY),
    });
    QItemSelectionModel selection(&model);
    selection.select(model.index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QPersistentModelIndex selected(model.index(1, 0));

    model.sort(TSeekerResultModel::clSize, Qt::AscendingOrder);
    EXPECT_EQ(column(model, 0), (std::vector<std::string>{"Folder1", "b", "a", "C"}));  // ties keep order
    EXPECT_EQ(selected.row(), 3);
    EXPECT_EQ(selected.data().toString(), QStringLiteral("C"));
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows().first().row(), 3);

    model.sort(TSeekerResultModel::clSize, Qt::DescendingOrder);
    EXPECT_EQ(column(model, 0), (std::vector<std::string>{"C", "b", "a", "Folder1"}));

    model.sort(TSeekerResultModel::clFilename, Qt::AscendingOrder);
    EXPECT_EQ(column(model, 0), (std::vector<std::string>{"a", "b", "C", "Folder1"}));

    model.sort(TSeekerResultModel::clMod, Qt::AscendingOrder);
    EXPECT_EQ(column(model, 0), (std::vector<std::string>{"a", "C", "b", "Folder1"}));

    model.sort(TSeekerResultModel::clLoc, Qt::DescendingOrder);
    EXPECT_EQ(column(model, 0), (std::vector<std::string>{"a", "C", "b", "Folder1"}));
    model.sort(TSeekerResultModel::clLoc, Qt::AscendingOrder);
    EXPECT_EQ(column(model, 0), (std::vector<std::string>{"Folder1", "a", "C", "b"}));

    // Without regard to case, as the other text columns: "___a_" > "____d"
    // ('a' > '_').
    model.sort(TSeekerResultModel::clAttr, Qt::DescendingOrder);
    EXPECT_EQ(column(model, TSeekerResultModel::clAttr),
        (std::vector<std::string>{"___A_", "___A_", "___A_", "____D"}));
    EXPECT_EQ(selected.data().toString(), QStringLiteral("C"));
}

TEST(SeekerResultModel, TextSortFoldsNonAsciiCase)
{
    TSeekerResultModel model;
    model.appendBatch({entry("/x/", "Ärger", 1, 0), entry("/x/", "zebra", 1, 0), entry("/x/", "äb", 1, 0),
        entry("/x/", "Apfel", 1, 0)});
    model.sort(TSeekerResultModel::clFilename, Qt::AscendingOrder);
    // Case is ignored (ä and Ä fold together); letters beyond ASCII follow z.
    EXPECT_EQ(column(model, 0), (std::vector<std::string>{"Apfel", "zebra", "äb", "Ärger"}));
}
