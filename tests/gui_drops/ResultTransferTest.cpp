// "Send Search Result to..." in the Seeker grid's menu: every row, top to
// bottom, into the chosen tool's list, then that tool's page.

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>

#include "DropsTestSupport.h"
#include "app/pages/SeekerPage.h"
#include "app/pages/SeekerResultModel.h"
#include "search/FileDetails.h"

namespace {

class ResultTransferTest : public DropsFixture {
protected:
    void SetUp() override
    {
        DropsFixture::SetUp();
        seeker = window->page<TSeekerPage>();
        selectTool(11);
    }

    // Result rows for `count` real files, handed to the grid as the search
    // component hands its matches over.
    std::vector<std::string> showResults(int count)
    {
        std::vector<std::string> paths;
        std::vector<korvala::TFileDetails> batch;
        tree.folder("found");
        for (int i = 0; i < count; ++i) {
            korvala::TFileDetails details;
            details.Location = tree.folder("found/" + std::to_string(i % 7)) + "/";
            details.Name = "match " + std::to_string(i) + ".txt";
            tree.file("found/" + std::to_string(i % 7) + "/" + details.Name);
            details.Size = 4;
            paths.push_back(details.fullPath());
            batch.push_back(details);
        }
        seeker->FSeekFileMatch(batch);
        return paths;
    }

    QAction* sendEntry(const char* name) const
    {
        auto* action = seeker->sendTo->findChild<QAction*>(QString::fromLatin1(name));
        for (QAction* candidate : seeker->sendTo->actions())
            if (candidate->objectName() == QString::fromLatin1(name))
                action = candidate;
        EXPECT_NE(action, nullptr) << name;
        return action;
    }

    TSeekerPage* seeker = nullptr;
};

TEST_F(ResultTransferTest, TheMenuOffersTheFiveTargetsAsItsDefaultEntry)
{
    EXPECT_EQ(seeker->skrPOP->defaultAction(), seeker->sendTo->menuAction());
    EXPECT_EQ(seeker->sendTo->title(), QStringLiteral("Send Search Result to..."));
    QStringList shown;
    for (QAction* action : seeker->sendTo->actions())
        shown << action->objectName() + QLatin1Char('=') + action->text();
    EXPECT_EQ(shown, (QStringList{"A1=Attribute Changer", "D1=DateTime Changer", "D2=Duplicate Finder", "H1=Hash",
                         "sendProt=Protector"}));
}

TEST_F(ResultTransferTest, AnEmptyGridSendsNothing)
{
    sendEntry("A1")->trigger();
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Search Result List is Empty!")});
    EXPECT_EQ(window->activePage(), seeker);
    EXPECT_EQ(find<TItemList>("ACList")->count(), 0);
}

// 500 results into a list that holds 10 of them already: 490 more, in the
// grid's order, then the Attribute Changer's page, where "Open" of the
// item menu acts on its list.
TEST_F(ResultTransferTest, FiveHundredResultsIntoAListHoldingTenOfThem)
{
    const std::vector<std::string> paths = showResults(500);
    auto* ac = find<TItemList>("ACList");
    const std::string before = tree.file("before.txt");
    ac->addPath(before);
    for (int i = 0; i < 10; ++i)
        ac->addPath(paths[static_cast<size_t>(i * 37)]);
    ASSERT_EQ(ac->count(), 11);

    // The page shown during the message is not the target's yet, and no
    // tool button is pressed.
    bool buttonsReleased = false;
    testDialogs().onMessage = [&](const RecordedMessage&) {
        buttonsReleased = true;
        for (int tag = 0; tag < 17; ++tag)
            if (QToolButton* button = window->toolButton(tag); button && button->isChecked())
                buttonsReleased = false;
    };
    sendEntry("A1")->trigger();
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Sending process Completed!")});
    EXPECT_TRUE(buttonsReleased);

    ASSERT_EQ(ac->count(), 501);
    std::vector<std::string> expected{before};
    for (int i = 0; i < 10; ++i)
        expected.push_back(paths[static_cast<size_t>(i * 37)]);
    for (size_t i = 0; i < paths.size(); ++i)
        if (i % 37 != 0 || i / 37 >= 10)
            expected.push_back(paths[i]);
    EXPECT_EQ(ac->paths(), expected);
    EXPECT_EQ(ac->counter()->text(), QStringLiteral("Total Items : 501"));
    EXPECT_EQ(window->activePage(), window->pageOfTool(0));
    EXPECT_TRUE(window->toolButton(0)->isChecked());
    EXPECT_FALSE(window->toolButton(11)->isChecked());
    EXPECT_EQ(window->popALLTag(), 0);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Korvala - \"Attribute Changer\""));

    ac->setCurrentRow(3);
    for (QAction* action : window->popALL()->actions())
        if (action->objectName() == QStringLiteral("MenuItem3"))
            action->trigger();
    ASSERT_EQ(testShell().calls.size(), 1u);
    EXPECT_EQ(testShell().calls[0].kind, "open");
    EXPECT_EQ(testShell().calls[0].path, ac->pathAt(3));
}

TEST_F(ResultTransferTest, EachTargetGetsItsListPageButtonTagAndCaption)
{
    struct Case {
        const char* entry;
        const char* list;
        int tool;
        const char* caption;
    };
    const Case cases[] = {
        {"A1", "ACList", 0, "Korvala - \"Attribute Changer\""},
        {"D1", "DTCList", 1, "Korvala - \"DateTime Changer\""},
        {"D2", "DFList", 2, "Korvala - \"Duplicate Finder\""},
        {"H1", "HList", 7, "Korvala - \"Hash\""},
        {"sendProt", "ProtList", 9, "Korvala - \"Protector\""},
    };
    std::vector<std::string> paths = showResults(3);
    // A folder among the results is sent like a file, to every target.
    korvala::TFileDetails folderRow;
    folderRow.Location = tree.root() + "/";
    folderRow.Name = "found";
    seeker->FSeekFileMatch({folderRow});
    paths.push_back(folderRow.fullPath());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        testDialogs().reset();
        selectTool(11);
        sendEntry(c.entry)->trigger();
        EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Sending process Completed!")});
        EXPECT_EQ(find<TItemList>(c.list)->paths(), paths);
        EXPECT_EQ(find<TItemList>(c.list)->counter()->text(), QStringLiteral("Total Items : 4"));
        EXPECT_EQ(window->activePage(), window->pageOfTool(c.tool));
        EXPECT_TRUE(window->toolButton(c.tool)->isChecked());
        EXPECT_EQ(window->popALLTag(), c.tool);
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(c.caption));
    }
    // The other lists were not touched.
    EXPECT_EQ(find<TItemList>("TOList")->count(), 0);
    EXPECT_EQ(find<TItemList>("FSList")->count(), 0);
}

// The rows go in the order the grid shows them, selected or not.
TEST_F(ResultTransferTest, RowsGoTopToBottomAsSorted)
{
    std::vector<std::string> paths = showResults(12);
    seeker->nxResultSortColumn(TSeekerResultModel::clFilename);
    std::vector<std::string> shown;
    for (int row = 0; row < seeker->resultModel->rowCount(); ++row)
        shown.push_back(seeker->resultModel->pathAt(row));
    ASSERT_NE(shown, paths);  // sorted by name: "match 10" before "match 2"
    seeker->nxResult->selectRow(2);
    sendEntry("D2")->trigger();
    EXPECT_EQ(find<TItemList>("DFList")->paths(), shown);
}

}  // namespace
