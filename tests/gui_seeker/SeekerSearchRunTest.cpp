// A search while it runs: the rows arrive batch by batch, sorting is refused
// with a warning, Abort stops it with one message, and closing the window stops
// it without one. The search thread is held at a gate (see installGate), so
// every state is reached deterministically.

#include <QHeaderView>
#include <QSignalSpy>

#include "SeekerTestSupport.h"

namespace {
const QString kAborted = QStringLiteral("Searching process Aborted!");
const QString kCannotSort = QStringLiteral("Cannot sort the list while a search is in progress.");

// prefix + number + suffix, built by appending (GCC 12 warns falsely about
// "literal" + std::string temporaries).
std::string numberedName(const char* prefix, int number, const char* suffix = "")
{
    std::string name = prefix;
    name += std::to_string(number);
    name += suffix;
    return name;
}
}  // namespace

class SeekerSearchRunTest : public SeekerFixture {
protected:
    // Ten files with distinct sizes; the search stops at the third match.
    std::string slowTree()
    {
        const std::string root = tree.root();
        for (int i = 0; i < 10; ++i)
            writeFile(root, numberedName("f", i, ".dat"), static_cast<size_t>((10 - i) * 2048));
        setLocations({root});
        installGate(3);
        return root;
    }

    void startAndReachGate()
    {
        click(page->btnSeek);
        EXPECT_EQ(page->btnSeek->text(), QStringLiteral("Abort"));
        QTRY_VERIFY_WITH_TIMEOUT(gateReached.load(), 10000);
        // The two matches before the gate were handed over one by one.
        QTRY_COMPARE_WITH_TIMEOUT(rows(), 2, 5000);
        EXPECT_TRUE(page->FSeek->Busy());
    }

    korvala::test::TTempTree tree;
};

TEST_F(SeekerSearchRunTest, SortingWhileSearchingWarnsAndKeepsTheOrder)
{
    slowTree();
    startAndReachGate();
    const std::vector<QString> before = columnTexts(0);

    clickHeader(1);
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{kCannotSort});
    ASSERT_EQ(testDialogs().messages.size(), 1u);
    EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::Warning);
    EXPECT_EQ(columnTexts(0), before);
    EXPECT_EQ(page->nxResult->horizontalHeader()->sortIndicatorSection(), -1);

    // Let it finish; now the same click sorts, by number.
    testDialogs().reset();
    release = true;
    waitIdle();
    ASSERT_EQ(rows(), 10);
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Searching process completed!")});
    EXPECT_EQ(page->Label37->text(), QStringLiteral("Total Items : 10"));
    clickHeader(1);
    const std::vector<QString> sizes = columnTexts(1);
    for (size_t i = 1; i < sizes.size(); ++i)
        EXPECT_LT(sizes[i - 1].toInt(), sizes[i].toInt());
    EXPECT_EQ(sizes.back(), QStringLiteral("20"));
}

TEST_F(SeekerSearchRunTest, AbortStopsWithOneMessageAndKeepsTheRowsFound)
{
    slowTree();
    QSignalSpy resets(page->resultModel, &QAbstractItemModel::modelReset);
    startAndReachGate();
    // Rows came as appended batches, not as resets.
    EXPECT_EQ(resets.count(), 0);

    click(page->btnSeek);
    EXPECT_EQ(page->btnSeek->text(), QStringLiteral("SEARCH"));
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{kAborted});
    waitIdle();
    EXPECT_TRUE(gateLeft.load());
    // No completion message follows; the grid and the total keep every match
    // found before the abort: the two shown and the third, held at the gate
    // when the abort came.
    QTest::qWait(100);
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{kAborted});
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(page->Label37->text(), QStringLiteral("Total Items : 3"));

    // A new search runs to its end and starts from an empty grid.
    page->FSeek->OnFileMatch = nullptr;
    testDialogs().reset();
    search();
    EXPECT_EQ(rows(), 10);
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Searching process completed!")});
}

TEST_F(SeekerSearchRunTest, ClosingTheWindowStopsTheSearchWithoutAMessage)
{
    slowTree();
    startAndReachGate();
    window->close();
    // The close aborted the search: the gate opened without a release.
    QTRY_VERIFY_WITH_TIMEOUT(gateLeft.load(), 5000);
    EXPECT_FALSE(release.load());
    EXPECT_EQ(page->btnSeek->text(), QStringLiteral("SEARCH"));
    // Destroying the window waits for the search thread.
    window.reset();
    EXPECT_TRUE(testDialogs().messageTexts().isEmpty()) << testDialogs().messageTexts().join(u'|').toStdString();
}

TEST_F(SeekerSearchRunTest, TheTotalFollowsTheFoldersWhileSearching)
{
    const std::string root = tree.root();
    for (int d = 0; d < 3; ++d) {
        const std::string folder = makeDir(root, numberedName("d", d));
        for (int i = 0; i < 2; ++i)
            writeFile(folder, numberedName("x", i), 10);
    }
    setLocations({root});
    installGate(5);
    click(page->btnSeek);
    QTRY_VERIFY_WITH_TIMEOUT(gateReached.load(), 10000);
    // Folder announcements reach the label with the rows counted so far.
    QTRY_VERIFY_WITH_TIMEOUT(page->Label37->text().startsWith(QStringLiteral("Total Items : ")) &&
            page->Label37->text() != QStringLiteral("Total Items : -"),
        5000);
    const int shown = page->Label37->text().mid(14).toInt();
    EXPECT_GE(shown, 2);
    EXPECT_LE(shown, 4);
    release = true;
    waitIdle();
    EXPECT_EQ(page->Label37->text(), QStringLiteral("Total Items : 6"));
}
