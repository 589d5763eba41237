// The Duplicate Finder page, headless: its controls, a scan through the real
// worker, abort, the grid's keys and menu, and REMOVE SELECTED into a real
// trash under a temporary XDG_DATA_HOME.

#include <atomic>
#include <chrono>
#include <thread>

#include <QAction>
#include <QColor>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableView>

#include "DfhrTestSupport.h"
#include "Files.h"
#include "PageTestSupport.h"
#include "TempTree.h"
#include "Trash.h"
#include "app/pages/DuplicateFinderPage.h"
#include "app/pages/SeekerPage.h"
#include "search/component/FindFileComponent.h"
#include "worker/BackgroundWorker.h"

namespace {

using korvala::test::TTempTree;

class DuplicateFinderPageTest : public GuiFixture {
protected:
    void SetUp() override
    {
        korvala::test::trashDataHome();
        korvala::test::emptyTrash();
        GuiFixture::SetUp();
        if (HasFatalFailure())
            return;
        click(window->toolButton(2));
        page = window->page<TDuplicateFinderPage>();
        ASSERT_EQ(window->activePage(), page);
    }

    // Adds the files and scans them; returns once the end message is shown.
    void scan(const std::vector<std::string>& paths)
    {
        addThroughDialog(page->Button35, paths);
        click(page->btnSDup);
        ASSERT_TRUE(waitUntil([&] { return !window->worker("trdDF")->IsWorking(); }));
    }

    QString cell(int row, int column) const { return page->nxDF->model()->index(row, column).data().toString(); }
    void selectRow(int row, QItemSelectionModel::SelectionFlags how = QItemSelectionModel::Select)
    {
        page->nxDF->selectionModel()->select(page->nxDF->model()->index(row, 0), how | QItemSelectionModel::Rows);
    }

    TDuplicateFinderPage* page = nullptr;
    TTempTree tree;
};

TEST_F(DuplicateFinderPageTest, StartsInTheInitialState)
{
    EXPECT_EQ(page->titleStrip()->text(), QStringLiteral("DUPLICATE FINDER"));
    EXPECT_EQ(page->titleStrip()->toolTip(), QStringLiteral("Find Duplicate Files on your PC"));
    EXPECT_EQ(page->Label53->text(), QStringLiteral("File List :"));
    EXPECT_EQ(page->Label54->text(), QStringLiteral("Total Items : -"));
    EXPECT_EQ(page->Label56->text(), QStringLiteral("Total Items : -"));
    EXPECT_EQ(page->Label55->text(), QStringLiteral("Duplicate Files List :"));
    EXPECT_EQ(page->GroupBox16->title(), QStringLiteral(" Looking for Duplicate "));
    EXPECT_TRUE(page->dfSC->isChecked());
    EXPECT_FALSE(page->dfSN->isChecked());
    EXPECT_EQ(page->dfSN->toolTip(),
        QStringLiteral("Recommended to Find Duplicate \"Pictures or Videos\" with Same Filename"));
    EXPECT_EQ(page->btnSDup->text(), QStringLiteral("SCAN DUPLICATE FILES"));
    EXPECT_EQ(page->Button39->text(), QStringLiteral("REMOVE SELECTED"));
    EXPECT_EQ(page->Button40->text(), QStringLiteral("RB"));
    EXPECT_EQ(page->Button40->toolTip(), QStringLiteral("Open Recycle Bin"));
    EXPECT_EQ(page->Label57->text(),
        QStringLiteral("Info : You can check Deleted Files in \"Recycle Bin\", if you want to Restore Deleted Files"));
    const QStringList headers = {"ID", "CRC32", "Name", "Size (KB)", "Date Modified", "Location"};
    for (int c = 0; c < headers.size(); ++c)
        EXPECT_EQ(page->nxDF->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
    EXPECT_EQ(page->nxDF->columnWidth(0), 45);
    EXPECT_EQ(page->nxDF->columnWidth(2), 170);
    EXPECT_EQ(page->nxDF->columnWidth(4), 150);
    EXPECT_EQ(page->nxDF->columnWidth(5), 300);
    EXPECT_EQ(page->nxDF->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(page->nxDF->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(page->MenuItem1->text(), QStringLiteral("Open"));
    EXPECT_EQ(page->MenuItem1->shortcut(), QKeySequence(Qt::Key_Return));
    EXPECT_EQ(page->MenuItem2->text(), QStringLiteral("Open File Location"));
    EXPECT_EQ(page->N1->text(), QStringLiteral("Remove Selected"));
    EXPECT_EQ(page->N1->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_TRUE(page->popDF->actions()[2]->isSeparator());

    // An empty list starts nothing and says nothing.
    click(page->btnSDup);
    EXPECT_FALSE(window->worker("trdDF")->IsWorking());
    EXPECT_EQ(page->btnSDup->text(), QStringLiteral("SCAN DUPLICATE FILES"));
    EXPECT_TRUE(testDialogs().messages.empty());

    click(page->btnLFDN);
    ASSERT_EQ(testDialogs().messages.size(), 1u);
    EXPECT_EQ(testDialogs().messages[0].text,
        QStringLiteral("File with \"same Name\" doesn't mean it has \"same Content\"\r\rPlease make sure you didn't "
                       "remove the wrong file!\r( BE CAREFUL )"));
    EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::Warning);
    click(page->Button40);
    ASSERT_EQ(testShell().calls.size(), 1u);
    EXPECT_EQ(testShell().calls[0].kind, "trash");
}

TEST_F(DuplicateFinderPageTest, AScanFillsTheGridWithBandedGroups)
{
    tree.folder("sub");
    // "123456789" has the CRC-32 CBF43926: the ID cell is red 39, green F4, blue CB.
    const std::string a = tree.file("a.txt", "123456789");
    const std::string b = tree.file("sub/b.txt", "123456789");
    const std::string other = tree.file("other.txt", "987654321");
    const std::string c = tree.file("c.txt", "123456789");
    scan({a, other, b, c});
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Scanning process Completed!")});
    EXPECT_EQ(page->btnSDup->text(), QStringLiteral("SCAN DUPLICATE FILES"));
    EXPECT_EQ(page->Label56->text(), QStringLiteral("Total Items : 3"));
    EXPECT_EQ(page->pbDF->value(), 0);
    ASSERT_EQ(page->nxDF->model()->rowCount(), 3);
    EXPECT_EQ(cell(0, 0), QStringLiteral("0"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("CBF43926"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("a.txt"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("0"));
    EXPECT_EQ(cell(1, 5), qs(tree.path("sub/")));
    EXPECT_EQ(cell(2, 2), QStringLiteral("c.txt"));
    const QColor band = page->nxDF->model()->index(1, 0).data(Qt::BackgroundRole).value<QColor>();
    EXPECT_EQ(band, QColor(0x39, 0xF4, 0xCB));
    EXPECT_FALSE(page->nxDF->model()->index(1, 1).data(Qt::BackgroundRole).isValid());

    // Clicking a header sorts its column; a second click reverses it.
    QHeaderView* header = page->nxDF->horizontalHeader();
    auto clickHeader = [&](int column) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, header->height() / 2));
    };
    clickHeader(2);
    clickHeader(2);
    EXPECT_EQ(cell(0, 2), QStringLiteral("c.txt"));
    EXPECT_EQ(cell(2, 2), QStringLiteral("a.txt"));

    // Name mode over the same list: no two names are alike.
    testDialogs().reset();
    click(page->dfSN);
    click(page->btnSDup);
    ASSERT_TRUE(waitUntil([&] { return !window->worker("trdDF")->IsWorking(); }));
    EXPECT_EQ(page->Label56->text(), QStringLiteral("Total Items : 0"));
}

TEST_F(DuplicateFinderPageTest, AbortLeavesAnEmptyGrid)
{
    const std::string a = tree.sparseFile("a", 4ULL << 30);
    const std::string b = tree.sparseFile("b", 4ULL << 30);
    addThroughDialog(page->Button35, {a, b});
    click(page->btnSDup);
    EXPECT_EQ(page->btnSDup->text(), QStringLiteral("ABORT"));
    click(page->btnSDup);
    EXPECT_EQ(page->btnSDup->text(), QStringLiteral("SCAN DUPLICATE FILES"));
    ASSERT_TRUE(waitUntil([&] { return !window->worker("trdDF")->IsWorking(); }));
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Scanning process ABORTED!")});
    EXPECT_EQ(page->nxDF->model()->rowCount(), 0);
    EXPECT_EQ(page->Label56->text(), QStringLiteral("Total Items : 0"));
}

TEST_F(DuplicateFinderPageTest, RemoveSelectedTrashesCopiesButNeverTheLastOne)
{
    const std::string a = tree.file("a", "same bytes");
    const std::string b = tree.file("b", "same bytes");
    const std::string c = tree.file("c 100%\nodd", "same bytes");
    const std::string x = tree.file("x", "other");
    const std::string y = tree.file("y", "other");
    scan({a, b, c, x, y});
    ASSERT_EQ(page->nxDF->model()->rowCount(), 5);
    testDialogs().reset();

    // Nothing selected: no question.
    click(page->Button39);
    EXPECT_TRUE(testDialogs().messages.empty());

    for (int row : {0, 1, 2, 4})
        selectRow(row);
    click(page->Button39);
    const QStringList texts = testDialogs().messageTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], QStringLiteral("Are you sure you want to \"REMOVE Selected Files\" ?"));
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("1 file(s) kept:"))) << texts[1].toStdString();
    // From the last row up: y (x stays its copy), c and b (a is theirs); a
    // then has no copy left and stays.
    EXPECT_EQ(korvala::test::trashedNames(), (std::vector<std::string>{b, c, y}));
    ASSERT_EQ(page->nxDF->model()->rowCount(), 2);
    EXPECT_EQ(cell(0, 2), QStringLiteral("a"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("x"));
    EXPECT_EQ(korvala::test::readFile(a), "same bytes");
    EXPECT_EQ(page->Label56->text(), QStringLiteral("Total Items : 5"));  // left as it was
}

TEST_F(DuplicateFinderPageTest, TheGridsKeysAndMenu)
{
    const std::string a = tree.file("a", "same");
    const std::string b = tree.file("b", "same");
    scan({a, b});
    testDialogs().reset();
    page->nxDF->setFocus();
    selectRow(1, QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(page->nxDF, Qt::Key_Return);
    ASSERT_EQ(testShell().calls.size(), 1u);
    EXPECT_EQ(testShell().calls[0].kind, "open");
    EXPECT_EQ(testShell().calls[0].path, b);
    page->MenuItem2->trigger();
    ASSERT_EQ(testShell().calls.size(), 2u);
    EXPECT_EQ(testShell().calls[1].kind, "showItem");
    EXPECT_EQ(testShell().calls[1].path, b);
    QTest::keyClick(page->nxDF, Qt::Key_Delete);
    EXPECT_EQ(korvala::test::trashedNames(), (std::vector<std::string>{b}));
    EXPECT_EQ(page->nxDF->model()->rowCount(), 1);
}

TEST_F(DuplicateFinderPageTest, NoSortWhileTheSeekersSearchRuns)
{
    const std::string a = tree.file("a", "same");
    const std::string b = tree.file("b", "same");
    scan({a, b});
    testDialogs().reset();
    // The Seeker's search waits at its first match until released.
    auto* seeker = window->page<TSeekerPage>();
    std::atomic<bool> release{false};
    seeker->FSeek->OnFileMatch = [&](korvala::TFindFileW& sender, const korvala::TFileDetails&) {
        while (!release.load() && !sender.Aborted())
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    seeker->FSeek->setCriteria(korvala::TSearchCriteria());
    seeker->FSeek->Criteria().Attributes().Clear();
    seeker->FSeek->Criteria().Files().setPaths({tree.root() + "/"});
    seeker->FSeek->Start();
    ASSERT_TRUE(seeker->FSeek->Busy());
    page->nxResultSortColumn(2);
    EXPECT_EQ(testDialogs().messageTexts(),
        QStringList{QStringLiteral("Cannot sort the list while a search is in progress.")});
    EXPECT_EQ(cell(0, 2), QStringLiteral("a"));
    release = true;
    ASSERT_TRUE(waitUntil([&] { return !seeker->FSeek->Busy(); }));
    page->nxResultSortColumn(2);
    page->nxResultSortColumn(2);
    EXPECT_EQ(cell(0, 2), QStringLiteral("b"));
}

}  // namespace
