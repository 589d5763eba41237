// The Splitter & Joiner page, clicked: its controls, the choosers, split and
// join runs with their end messages (failures included), aborts, and both
// workers running at once.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "Files.h"
#include "SjfsFixture.h"
#include "app/pages/SplitterJoinerPage.h"
#include "worker/BackgroundWorker.h"

namespace {

using korvala::test::readFile;

class SplitterJoinerPageTest : public SjfsFixture {
protected:
    void SetUp() override
    {
        SetUpOn("Splitter & Joiner");
        page = window->page<TSplitterJoinerPage>();
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(window->activePage(), page);
        splitter = window->worker("trdSplit");
        joiner = window->worker("trdJoin");
    }

    void split(const std::string& path, int parts)
    {
        page->txtSplit->setText(qs(path));
        page->spnPart->setValue(parts);
        click(page->btnSplit);
        splitter->WaitFor();
    }
    void join(const std::string& path)
    {
        page->txtJoin->setText(qs(path));
        click(page->btnJoin);
        joiner->WaitFor();
    }

    TSplitterJoinerPage* page = nullptr;
    TBackgroundWorker* splitter = nullptr;
    TBackgroundWorker* joiner = nullptr;
};

TEST_F(SplitterJoinerPageTest, ControlsAtStart)
{
    EXPECT_EQ(page->titleStrip()->text(), "SPLITTER & JOINER");
    EXPECT_EQ(page->titleStrip()->objectName(), "Label82");
    EXPECT_EQ(page->GroupBox10->title(), " Splitter ");
    EXPECT_EQ(page->GroupBox11->title(), " Joiner ");
    EXPECT_EQ(page->Label41->text(), "File to Split :");
    EXPECT_EQ(page->Label43->text(), "Split into :");
    EXPECT_EQ(page->Label44->text(), "Part(s)");
    EXPECT_EQ(page->Label42->text(), "File to Join ( *._1  or *.001 ) :");
    EXPECT_EQ(page->Button26->text(), "...");
    EXPECT_EQ(page->Button31->text(), "...");
    EXPECT_EQ(page->btnSplit->text(), "SPLIT");
    EXPECT_EQ(page->btnJoin->text(), "JOIN");
    EXPECT_TRUE(page->txtSplit->text().isEmpty());
    EXPECT_TRUE(page->txtJoin->text().isEmpty());
    EXPECT_EQ(page->spnPart->value(), 2);
    EXPECT_EQ(page->spnPart->minimum(), 2);
    EXPECT_EQ(page->spnPart->maximum(), 999);

    // Empty boxes: the buttons start nothing and say nothing.
    click(page->btnSplit);
    click(page->btnJoin);
    EXPECT_FALSE(splitter->IsWorking());
    EXPECT_FALSE(joiner->IsWorking());
    EXPECT_EQ(page->btnSplit->text(), "SPLIT");
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(SplitterJoinerPageTest, ChoosersStartInTheTypedFolder)
{
    const std::string source = tree.file("movie.avi", "x");
    dialogs_.nextOpenFile = {qs(source), qs(source + "._1")};
    page->txtSplit->setText(qs(tree.path("old.bin")));
    click(page->Button26);
    click(page->Button31);
    ASSERT_EQ(dialogs_.choosers.size(), 2u);
    EXPECT_EQ(dialogs_.choosers[0].title, "Select File");
    EXPECT_EQ(dialogs_.choosers[0].folder, qs(tree.root()));
    EXPECT_EQ(dialogs_.choosers[1].title, "Select File");
    EXPECT_EQ(dialogs_.choosers[1].filter, "Splitted Files (*._1 *.001)");
    EXPECT_EQ(dialogs_.choosers[1].folder, QString());
    EXPECT_EQ(page->txtSplit->text(), qs(source));
    EXPECT_EQ(page->txtJoin->text(), qs(source + "._1"));

    // Cancelling keeps the text.
    click(page->Button26);
    EXPECT_EQ(page->txtSplit->text(), qs(source));
}

TEST_F(SplitterJoinerPageTest, SplitAndJoinBack)
{
    const std::string bytes = korvala::test::randomBytes(10, 3);
    const std::string source = tree.file("data.bin", bytes);
    split(source, 3);
    EXPECT_EQ(messages(), QStringList{"File Splitting process Completed!"});
    EXPECT_EQ(page->btnSplit->text(), "SPLIT");
    EXPECT_EQ(readFile(source + "._3").size(), 4u);

    korvala::test::writeFile(source, "");
    join(source + "._1");
    EXPECT_EQ(messages().back(), "File Joining process Completed!");
    EXPECT_EQ(page->btnJoin->text(), "JOIN");
    EXPECT_EQ(readFile(source), bytes);
}

TEST_F(SplitterJoinerPageTest, PartCountThatIsNoNumberCountsAsTwo)
{
    const std::string source = tree.file("t.bin", "abcdef");
    page->spnPart->setValue(3);
    page->txtSplit->setText(qs(source));
    page->spnPart->findChild<QLineEdit*>()->clear();  // what is typed, before the box corrects it
    ASSERT_TRUE(page->spnPart->cleanText().isEmpty());
    page->splitRun->click();
    splitter->WaitFor();
    EXPECT_EQ(messages(), QStringList{"File Splitting process Completed!"});
    EXPECT_EQ(readFile(source + "._2"), "def");
    EXPECT_FALSE(exists(source + "._3"));
}

TEST_F(SplitterJoinerPageTest, FailuresSayWhyAndNothingElse)
{
    split(tree.path("missing.bin"), 2);
    join(tree.path("absent._1"));
    const std::string notes = tree.file("notes.txt", "mine");
    join(notes);
    EXPECT_EQ(messages(),
        (QStringList{"File Splitting process FAILED!\nCannot open file \"" + qs(tree.path("missing.bin")) +
                         "\". No such file or directory",
            "File Joining process FAILED!\nCannot open file \"" + qs(tree.path("absent._1")) +
                "\". No such file or directory",
            "File Joining process FAILED!\nCannot join \"" + qs(notes) +
                "\": the first part must end in \"._1\" or \".001\"."}));
    EXPECT_FALSE(exists(tree.path("absent")));
    EXPECT_EQ(readFile(notes), "mine");
}

TEST_F(SplitterJoinerPageTest, AbortKeepsThePartsSoFarAndBothRunAtOnce)
{
    const std::string source = tree.file("big.bin", std::string(48u << 20, 'b'));
    const std::string first = tree.file("other.001", "one,");
    tree.file("other.002", "two");
    page->txtSplit->setText(qs(source));
    page->spnPart->setValue(999);
    page->txtJoin->setText(qs(first));
    click(page->btnSplit);
    EXPECT_EQ(page->btnSplit->text(), "Abort Split");
    click(page->btnJoin);
    joiner->WaitFor();
    EXPECT_EQ(messages(), QStringList{"File Joining process Completed!"});
    EXPECT_EQ(readFile(tree.path("other")), "one,two");

    click(page->btnSplit);  // abort: the caption is back at once
    EXPECT_EQ(page->btnSplit->text(), "SPLIT");
    splitter->WaitFor();
    EXPECT_EQ(messages().back(), "File Splitting process ABORTED!");
    int last = 0;
    while (exists(source + "._" + std::to_string(last + 1)))
        ++last;
    ASSERT_GT(last, 0);
    ASSERT_LT(last, 999);
    EXPECT_EQ(readFile(source + "._" + std::to_string(last)), "");
}

}  // namespace
