// The item lists of the tool pages: adding through the dialogs, removing,
// counters, the duplicate test, the drop hint of the batch folder list, and
// the context menu with its shell actions.

#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWindow>

#include "GuiFixture.h"
#include "app/ItemList.h"
#include "app/pages/ToolPage.h"

namespace {

// One row per list with buttons: how to reach it and what it is called.
struct ListCase {
    const char* tool;       // tool button
    const char* list;
    const char* counter;
    const char* add;        // "" when the list has no add-files button
    const char* addFolder;  // "" when none
    const char* remove;
    const char* removeAll;
};

const ListCase kLists[] = {
    {"spdAC", "ACList", "Label2", "Button2", "", "Button3", "Button4"},
    {"spdDTC", "DTCList", "Label4", "Button8", "", "Button9", "Button10"},
    {"spdDF", "DFList", "Label54", "Button35", "", "Button36", "Button37"},
    {"spdHash", "HList", "Label27", "Button20", "", "Button19", "Button18"},
    {"spdFS", "FSList", "totFS", "BitBtn5", "", "BitBtn7", "BitBtn8"},
    {"spdProtect", "ProtList", "totProtect", "Button50", "Button53", "Button51", "Button52"},
    {"spdTO", "TOList", "totTO", "Button54", "Button55", "Button56", "Button57"},
};

QString qs(const std::string& s) { return QString::fromStdString(s); }

class ItemListTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        folder = tree.root();
        a = tree.file("alpha.txt", "content of alpha.txt");
        b = tree.file("Beta.txt", "content of Beta.txt");
        c = tree.file("gamma.bin", "content of gamma.bin");
    }

    void selectRows(TItemList* list, const std::vector<int>& rows)
    {
        list->clearSelection();
        for (int row : rows)
            list->item(row)->setSelected(true);
        if (rows.size() > 0)
            list->setCurrentRow(rows.front(), QItemSelectionModel::NoUpdate);
    }

    // Sends a right-click context menu request to the list; true when popALL
    // would have opened.
    bool contextMenuOpens(TItemList* list)
    {
        int shown = 0;
        window->showMenu = [&](QMenu& menu, const QPoint&) {
            EXPECT_EQ(&menu, window->popALL());
            ++shown;
        };
        const QPoint at(5, 5);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(list->viewport(), &event);
        return shown == 1;
    }

    korvala::test::TTempTree tree;
    std::string folder, a, b, c;
};

TEST_F(ItemListTest, AddRemoveAndCountersOnEveryList)
{
    for (const ListCase& lc : kLists) {
        SCOPED_TRACE(lc.list);
        click(find<QToolButton>(lc.tool));
        auto* list = find<TItemList>(lc.list);
        auto* counter = find<QLabel>(lc.counter);
        EXPECT_EQ(counter->text(), QStringLiteral("Total Items : -"));
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);

        testDialogs().nextOpenFiles = {{qs(a), qs(b), qs(c)}};
        click(find<QPushButton>(lc.add));
        EXPECT_EQ(testDialogs().openFilesTitles.back(), QStringLiteral("Add File(s)|All Files (*)"));
        EXPECT_EQ(list->paths(), (std::vector<std::string>{a, b, c}));
        EXPECT_EQ(counter->text(), QStringLiteral("Total Items : 3"));

        // Cancelled dialog: nothing added, counter rewritten all the same.
        counter->setText(QStringLiteral("stale"));
        click(find<QPushButton>(lc.add));
        EXPECT_EQ(list->count(), 3);
        EXPECT_EQ(counter->text(), QStringLiteral("Total Items : 3"));

        // Remove the first and the last; the order of the rest stays.
        selectRows(list, {0, 2});
        click(find<QPushButton>(lc.remove));
        EXPECT_EQ(list->paths(), (std::vector<std::string>{b}));
        EXPECT_EQ(counter->text(), QStringLiteral("Total Items : 1"));

        // Remove with nothing selected still refreshes the counter.
        list->clearSelection();
        counter->setText(QStringLiteral("stale"));
        click(find<QPushButton>(lc.remove));
        EXPECT_EQ(counter->text(), QStringLiteral("Total Items : 1"));

        click(find<QPushButton>(lc.removeAll));
        EXPECT_EQ(list->count(), 0);
        EXPECT_EQ(counter->text(), QStringLiteral("Total Items : 0"));
    }
}

TEST_F(ItemListTest, DuplicateInCapitalsLeavesOneEntry)
{
    auto* list = find<TItemList>("ACList");
    testDialogs().nextOpenFiles = {{qs(a)}, {qs(a).toUpper(), qs(b), qs(b)}};
    click(find<QPushButton>("Button2"));
    click(find<QPushButton>("Button2"));
    EXPECT_EQ(list->paths(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(find<QLabel>("Label2")->text(), QStringLiteral("Total Items : 2"));
    // No path normalisation: a trailing slash makes another entry.
    EXPECT_TRUE(list->addPath(folder + "/"));
    EXPECT_TRUE(list->addPath(folder));
    EXPECT_FALSE(list->addPath(folder));
}

TEST(DuplicateKeyTest, CaseFoldingAndRawBytes)
{
    // Non-ASCII letters fold too.
    EXPECT_EQ(TItemList::duplicateKey("/tmp/ÄÖÜ.txt"), TItemList::duplicateKey("/tmp/äöü.TXT"));
    EXPECT_NE(TItemList::duplicateKey("/tmp/a.txt"), TItemList::duplicateKey("/tmp/a.txt "));
    // Two different names that are not UTF-8 must not become one entry.
    EXPECT_NE(TItemList::duplicateKey("/tmp/\xE9.txt"), TItemList::duplicateKey("/tmp/\xE8.txt"));
}

TEST_F(ItemListTest, NamesThatAreNotUtf8KeepTheirBytes)
{
    auto* list = find<TItemList>("ACList");
    const std::string odd = folder + "/caf\xE9.txt";
    const std::string other = folder + "/caf\xE8.txt";
    EXPECT_TRUE(list->addPath(odd));
    EXPECT_TRUE(list->addPath(other));
    EXPECT_FALSE(list->addPath(odd));
    EXPECT_EQ(list->paths(), (std::vector<std::string>{odd, other}));
}

TEST_F(ItemListTest, AddFolderTwiceListsItTwice)
{
    for (const char* tool : {"spdProtect", "spdTO"}) {
        SCOPED_TRACE(tool);
        click(find<QToolButton>(tool));
        const bool protector = QString::fromLatin1(tool) == QStringLiteral("spdProtect");
        auto* list = find<TItemList>(protector ? "ProtList" : "TOList");
        auto* button = find<QPushButton>(protector ? "Button53" : "Button55");
        auto* counter = find<QLabel>(protector ? "totProtect" : "totTO");
        testDialogs().nextDirectories = {qs(folder), qs(folder)};
        click(button);
        click(button);
        EXPECT_EQ(testDialogs().directoryTitles.back(), QStringLiteral("Select Directory"));
        EXPECT_EQ(list->paths(), (std::vector<std::string>{folder, folder}));
        EXPECT_EQ(counter->text(), QStringLiteral("Total Items : 2"));
        // Cancelling changes nothing, not even the counter.
        counter->setText(QStringLiteral("unchanged"));
        click(button);
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(counter->text(), QStringLiteral("unchanged"));
    }
}

TEST_F(ItemListTest, DropHintShowsWhenTheBatchFolderListBecomesEmpty)
{
    click(find<QToolButton>("spdRec"));
    auto* list = find<TItemList>("lstBFIC");
    auto* hint = find<QLabel>("pnlbfic");
    EXPECT_EQ(hint->text(), QStringLiteral("DRAG & DROP YOUR FOLDER HERE"));
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    list->addPath(folder);
    list->addPath(folder + "/sub");
    list->UpdateCounter();
    hint->hide();

    selectRows(list, {0});
    click(find<QPushButton>("BitBtn16"));
    EXPECT_FALSE(hint->isVisibleTo(list));
    EXPECT_EQ(find<QLabel>("totBFIC")->text(), QStringLiteral("Total Items : 1"));
    selectRows(list, {0});
    click(find<QPushButton>("BitBtn16"));
    EXPECT_TRUE(hint->isVisibleTo(list));

    list->addPath(folder);
    hint->hide();
    click(find<QPushButton>("BitBtn17"));
    EXPECT_TRUE(hint->isVisibleTo(list));
    EXPECT_EQ(find<QLabel>("totBFIC")->text(), QStringLiteral("Total Items : 0"));
}

TEST_F(ItemListTest, ContextMenuOpensOnlyWithExactlyOneSelected)
{
    auto* list = find<TItemList>("ACList");
    for (const std::string& path : {a, b, c})
        list->addPath(path);
    selectRows(list, {});
    EXPECT_FALSE(contextMenuOpens(list));
    selectRows(list, {1});
    EXPECT_TRUE(contextMenuOpens(list));
    selectRows(list, {0, 2});
    EXPECT_FALSE(contextMenuOpens(list));

    // The Hidden Revealer's list has the menu too; the batch folder list not.
    auto* hidden = find<TItemList>("HRList");
    hidden->addPath(a);
    selectRows(hidden, {0});
    EXPECT_TRUE(contextMenuOpens(hidden));
    auto* batch = find<TItemList>("lstBFIC");
    batch->addPath(folder);
    selectRows(batch, {0});
    EXPECT_FALSE(contextMenuOpens(batch));

    const QList<QAction*> actions = window->popALL()->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Open"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Open File Location"));
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->text(), QStringLiteral("Properties"));
}

// A real right press and release on an entry: the selection stays as it was,
// and the menu opens exactly when one entry was selected before the press.
TEST_F(ItemListTest, ARightClickNeverChangesTheSelection)
{
    auto* list = find<TItemList>("ACList");
    for (const std::string& path : {a, b, c})
        list->addPath(path);
    int shown = 0;
    window->showMenu = [&](QMenu&, const QPoint&) { ++shown; };
    // Through the window system, as a real mouse: the window then makes the
    // context menu request from the press, as it does for a user.
    const auto rightClick = [&](int row) {
        QWindow* screenWindow = list->window()->windowHandle();
        const QPoint at = list->viewport()->mapTo(list->window(), list->visualItemRect(list->item(row)).center());
        QTest::mousePress(screenWindow, Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseRelease(screenWindow, Qt::RightButton, Qt::NoModifier, at);
    };
    const struct {
        std::vector<int> selected;
        int clicked;
        bool opens;
    } cases[] = {
        {{}, 1, false},      // nothing selected: the click does not select the entry
        {{0}, 2, true},      // one selected elsewhere: the menu acts on it
        {{0, 2}, 1, false},  // two selected: the selection is kept, no menu
        {{1}, 1, true},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.clicked);
        selectRows(list, tc.selected);
        const int current = list->currentRow();
        shown = 0;
        rightClick(tc.clicked);
        EXPECT_EQ(list->selectedRows(), tc.selected);
        EXPECT_EQ(list->currentRow(), current);
        EXPECT_EQ(shown, tc.opens ? 1 : 0);
    }
}

TEST_F(ItemListTest, MenuActionsUseTheListOfTheActiveTool)
{
    auto* ac = find<TItemList>("ACList");
    ac->addPath(a);
    ac->addPath(folder + "/with space ü.txt");
    auto* hash = find<TItemList>("HList");
    hash->addPath(c);
    hash->setCurrentRow(0);
    ac->setCurrentRow(1);

    auto trigger = [&](const char* name) {
        window->popALL()->findChild<QAction*>(QString::fromLatin1(name));
        for (QAction* action : window->popALL()->actions())
            if (action->objectName() == QString::fromLatin1(name))
                action->trigger();
    };
    trigger("MenuItem3");
    trigger("MenuItem4");
    trigger("P1");
    ASSERT_EQ(testShell().calls.size(), 3u);
    EXPECT_EQ(testShell().calls[0].kind, "open");
    EXPECT_EQ(testShell().calls[1].kind, "showItem");
    EXPECT_EQ(testShell().calls[2].kind, "properties");
    for (const auto& call : testShell().calls)
        EXPECT_EQ(call.path, folder + "/with space ü.txt");
    // What the file manager service would be given.
    EXPECT_EQ(fileUriOf(folder + "/with space ü.txt"),
        QStringLiteral("file://") + qs(folder) + QStringLiteral("/with%20space%20%C3%BC.txt"));
    EXPECT_EQ(fileUriOf("/tmp/caf\xE9"), QStringLiteral("file:///tmp/caf%E9"));

    // After switching to the Hash tool the menu acts on HList.
    testShell().calls.clear();
    click(find<QToolButton>("spdHash"));
    trigger("MenuItem3");
    ASSERT_EQ(testShell().calls.size(), 1u);
    EXPECT_EQ(testShell().calls[0].path, c);

    // A tool without a list, or an empty list: nothing happens.
    testShell().calls.clear();
    click(find<QToolButton>("spdSKR"));
    trigger("MenuItem3");
    click(find<QToolButton>("spdDF"));
    trigger("P1");
    EXPECT_TRUE(testShell().calls.empty());
}

}  // namespace
