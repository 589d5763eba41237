// Drops of text/uri-list onto the main window, routed by the active page and
// sub-page: lists, fields, the conditions on the dropped items and the
// counters refreshed after the drop.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>

#include "DropsTestSupport.h"
#include "app/pages/DuplicateFinderPage.h"
#include "app/pages/FolderIconChangerPage.h"
#include "app/pages/HashComparePage.h"
#include "app/pages/HashGeneratorPage.h"
#include "app/pages/HashPage.h"
#include "app/pages/HashVerifyPage.h"
#include "app/pages/HiddenRevealerPage.h"
#include "app/pages/SeekerPage.h"
#include "app/pages/SplitterJoinerPage.h"

namespace {

class DropRoutingTest : public DropsFixture {
protected:
    void SetUp() override
    {
        DropsFixture::SetUp();
        for (const char* place : {"docs", "icons", "parts", "odd"})
            tree.folder(place);
        file = tree.file("docs/Report.txt");
        other = tree.file("docs/other.bin");
        third = tree.file("docs/third");
        folder = tree.folder("docs/sub");
        missing = tree.path("docs/missing");
    }

    std::vector<std::string> listPaths(const char* list) const { return find<TItemList>(list)->paths(); }

    std::string file, other, third, folder, missing;
};

// The pages whose list takes every item it does not hold yet, and the two
// that refuse folders (an unreadable path counts as a folder there).
TEST_F(DropRoutingTest, ItemListsTakeWhatTheirConditionAllows)
{
    struct Case {
        int tool;
        const char* list;
        bool foldersRefused;
    };
    const Case cases[] = {
        {0, "ACList", false}, {1, "DTCList", false}, {9, "ProtList", false}, {14, "TOList", false},
        {2, "DFList", true}, {5, "FSList", true},
    };
    // The same file twice, once more in capitals (a path that need not exist:
    // the duplicate test compares without regard to case), a folder and a
    // path that does not exist.
    std::string upper = file;
    for (size_t i = tree.root().size(); i < upper.size(); ++i)
        upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(upper[i])));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        selectTool(c.tool);
        const TDragResult result = dropPaths(window->activePage(), {file, file, upper, folder, missing, other});
        EXPECT_TRUE(result.entered);
        EXPECT_TRUE(result.dropped);
        if (c.foldersRefused)
            EXPECT_EQ(listPaths(c.list), (std::vector<std::string>{file, other}));
        else
            EXPECT_EQ(listPaths(c.list), (std::vector<std::string>{file, folder, missing, other}));
        // A second drop of what is listed adds nothing.
        dropPaths(window->activePage(), {other, file});
        EXPECT_EQ(find<TItemList>(c.list)->count(), c.foldersRefused ? 2 : 4);
    }
}

TEST_F(DropRoutingTest, ThreeFilesAndAFolderOntoTheDuplicateFinder)
{
    selectTool(2);
    dropPaths(window->activePage(), {file, folder, other, third});
    EXPECT_EQ(listPaths("DFList"), (std::vector<std::string>{file, other, third}));
    EXPECT_EQ(counterText("DFList"), QStringLiteral("Total Items : 3"));
}

// After a drop every counter shows its number, the lists the drop did not
// touch too, and the Folder Icon Changer's hint shows while its list is empty.
TEST_F(DropRoutingTest, EveryCounterIsRefreshedAfterADrop)
{
    for (const char* list : kLists)
        EXPECT_EQ(counterText(list), QStringLiteral("Total Items : -")) << list;
    selectTool(14);
    dropPaths(window->activePage(), {file, other});
    for (const char* list : kLists)
        EXPECT_EQ(counterText(list), QString::fromLatin1(list) == QStringLiteral("TOList")
                ? QStringLiteral("Total Items : 2") : QStringLiteral("Total Items : 0")) << list;
    auto* icons = window->page<TFolderIconChangerPage>();
    EXPECT_FALSE(icons->pnlbfic->isHidden());
    // The Hidden Revealer's result list is not one of them.
    EXPECT_EQ(find<TItemList>("HRList")->count(), 0);
}

TEST_F(DropRoutingTest, HashSubPages)
{
    selectTool(7);
    auto* hash = window->page<THashPage>();
    const std::string fifo = tree.fifo("docs/pipe");

    // Generator: existing files only (a FIFO is a file that exists), not listed.
    hash->PageControl5->setCurrentWidget(hash->generator);
    EXPECT_TRUE(dropPaths(hash, {folder, file, missing, fifo, file}).dropped);
    EXPECT_EQ(listPaths("HList"), (std::vector<std::string>{file, fifo}));

    // Verify Checksum: the field, whatever the item; the last one wins.
    hash->PageControl5->setCurrentWidget(hash->verifier);
    EXPECT_TRUE(dropPaths(hash, {file, folder, missing}).dropped);
    EXPECT_EQ(hash->verifier->vcLoc->text(), qs(missing));
    EXPECT_EQ(listPaths("HList").size(), 2u);

    // Compare Files: the drag is refused and nothing changes.
    hash->PageControl5->setCurrentWidget(hash->comparer);
    EXPECT_FALSE(dropPaths(hash, {other}).entered);
    EXPECT_EQ(hash->verifier->vcLoc->text(), qs(missing));
    EXPECT_EQ(listPaths("HList").size(), 2u);
}

TEST_F(DropRoutingTest, SingleFolderIconChangerEndsTheDropAtTheFirstNonFolder)
{
    const std::string iconFolder = tree.folder("icons/one");
    tree.file("icons/one/desktop.ini",
        "[.ShellClassInfo]\r\nIconFile=/usr/share/icons/x.ico\r\nIconIndex=3\r\nInfoTip=Tip here\r\n");
    const std::string second = tree.folder("icons/two");
    selectTool(6);
    auto* icons = window->page<TFolderIconChangerPage>();
    icons->pcFIC->setCurrentWidget(icons->shtSFIC);

    EXPECT_TRUE(dropPaths(icons, {iconFolder, file, second}).dropped);
    EXPECT_EQ(icons->ficFolder->text(), qs(iconFolder));
    EXPECT_EQ(icons->ficIcon->currentText(), QStringLiteral("/usr/share/icons/x.ico"));
    EXPECT_EQ(icons->ficIndex->value(), 3);
    EXPECT_EQ(icons->ficInfo->text(), QStringLiteral("Tip here"));
    // The drop ended at the file: the counters were not refreshed.
    for (const char* list : kLists)
        EXPECT_EQ(counterText(list), QStringLiteral("Total Items : -")) << list;

    // A drop that starts with a file takes nothing at all.
    dropPaths(icons, {file, second});
    EXPECT_EQ(icons->ficFolder->text(), qs(iconFolder));
    // Folders only: the last one wins, and the counters follow.
    dropPaths(icons, {iconFolder, second});
    EXPECT_EQ(icons->ficFolder->text(), qs(second));
    EXPECT_EQ(counterText("lstBFIC"), QStringLiteral("Total Items : 0"));
}

TEST_F(DropRoutingTest, BatchFolderIconChangerTakesExistingFoldersOnce)
{
    const std::string a = tree.folder("icons/a");
    const std::string b = tree.folder("icons/b");
    selectTool(6);
    auto* icons = window->page<TFolderIconChangerPage>();
    icons->pcFIC->setCurrentWidget(icons->shtBFIC);
    EXPECT_FALSE(icons->pnlbfic->isHidden());
    dropPaths(icons, {a, file, missing, b, a});
    EXPECT_EQ(listPaths("lstBFIC"), (std::vector<std::string>{a, b}));
    EXPECT_EQ(counterText("lstBFIC"), QStringLiteral("Total Items : 2"));
    EXPECT_TRUE(icons->pnlbfic->isHidden());
}

TEST_F(DropRoutingTest, HiddenRevealerTakesTheLastItemWithTheFolderBit)
{
    const std::string second = tree.folder("docs/second");
    selectTool(8);
    auto* revealer = window->page<THiddenRevealerPage>();
    revealer->txtFTS->setText(QStringLiteral("typed"));
    dropPaths(revealer, {file});
    EXPECT_EQ(revealer->txtFTS->text(), QStringLiteral("typed"));
    dropPaths(revealer, {folder, file, second});
    EXPECT_EQ(revealer->txtFTS->text(), qs(second));
}

TEST_F(DropRoutingTest, SeekerAddsNewFoldersAsLocationLines)
{
    const std::string upperFolder = tree.folder("UPPER");
    std::string lowerSpelling = upperFolder;
    lowerSpelling.replace(lowerSpelling.size() - 5, 5, "upper");
    selectTool(11);
    auto* seeker = window->page<TSeekerPage>();
    seeker->skrLoc->setPlainText(qs(upperFolder));
    // The same folder in other capitals is there already; files are refused.
    EXPECT_TRUE(dropPaths(seeker, {lowerSpelling, file, folder, folder}).dropped);
    EXPECT_EQ(seeker->skrLoc->toPlainText(), qs(upperFolder) + QLatin1Char('\n') + qs(folder));

    seeker->skrLoc->clear();
    // A folder whose name holds a line break would become two wrong lines.
    const std::string broken = tree.folder("line\nbreak");
    dropPaths(seeker, {broken, folder});
    EXPECT_EQ(seeker->skrLoc->toPlainText(), qs(folder));
}

TEST_F(DropRoutingTest, SplitterAndJoinerByExtension)
{
    const std::string partA = tree.file("parts/a.iso._1");
    const std::string partB = tree.file("parts/b.iso.001");
    const std::string plain = tree.file("parts/c.iso");
    const std::string notPart = tree.file("parts/d.iso._10");
    const std::string lastJoin = tree.file("parts/e._1");
    selectTool(13);
    auto* sj = window->page<TSplitterJoinerPage>();
    dropPaths(sj, {partA, plain, partB, notPart});
    EXPECT_EQ(sj->txtJoin->text(), qs(partB));
    EXPECT_EQ(sj->txtSplit->text(), qs(notPart));
    dropPaths(sj, {lastJoin});
    EXPECT_EQ(sj->txtJoin->text(), qs(lastJoin));
    EXPECT_EQ(sj->txtSplit->text(), qs(notPart));
}

// Over an edit box the drop still goes through the routing: the box does not
// take the names as text.
TEST_F(DropRoutingTest, ADropOverAnEditBoxIsRoutedAsAnyOther)
{
    const std::string partA = tree.file("parts/a._1");
    selectTool(13);
    auto* sj = window->page<TSplitterJoinerPage>();
    EXPECT_TRUE(dropPaths(sj->txtSplit, {partA}).dropped);
    EXPECT_EQ(sj->txtJoin->text(), qs(partA));
    EXPECT_EQ(sj->txtSplit->text(), QString());
}

TEST_F(DropRoutingTest, PagesThatTakeNoDropsRefuseTheDrag)
{
    for (int tool : {12, 16}) {
        SCOPED_TRACE(tool);
        selectTool(tool);
        EXPECT_FALSE(dropPaths(window->activePage(), {file}).entered);
    }
    for (const char* list : kLists)
        EXPECT_EQ(counterText(list), QStringLiteral("Total Items : -")) << list;
}

TEST_F(DropRoutingTest, OnlyLocalFilesAreTaken)
{
    selectTool(0);
    // Nothing local at all: refused.
    EXPECT_FALSE(dragAndDrop(window->activePage(), {"http://example.invalid/x", "smb://host/share/y"}).entered);
    // Local files among others: only they are taken.
    EXPECT_TRUE(dragAndDrop(window->activePage(),
        {"https://example.invalid/a", uriOf(file), "file://otherhost/etc/passwd", "file://localhost" +
            QByteArray::fromStdString(other).toPercentEncoding("/")}).dropped);
    EXPECT_EQ(listPaths("ACList"), (std::vector<std::string>{file, other}));
}

// Names with quotes, command substitutions, newlines, bytes that are not
// UTF-8 and paths far longer than 254 characters are taken whole.
TEST_F(DropRoutingTest, PathsOfAnyBytesAndLengthAreTakenWhole)
{
    const std::vector<std::string> names = {
        "it's \"quoted\" $(touch pwned) `x`",
        "line\nbreak",
        std::string("latin1 \xe9\xff name"),
        "100% %41 #hash ?query",
    };
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back(tree.file("odd/" + name));
    std::string deep = "odd";
    for (int i = 0; i < 6; ++i) {
        deep += "/" + std::string(60, static_cast<char>('a' + i));
        tree.folder(deep);
    }
    paths.push_back(tree.file(deep + "/end.txt"));
    ASSERT_GT(paths.back().size(), 360u);

    selectTool(0);
    dropPaths(window->activePage(), paths);
    EXPECT_EQ(listPaths("ACList"), paths);
    selectTool(2);
    dropPaths(window->activePage(), paths);
    EXPECT_EQ(listPaths("DFList"), paths);
}

}  // namespace
