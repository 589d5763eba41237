// The File Shredder page, clicked: its controls, the warning (and No), a run
// that removes each shredded entry and keeps the others, the controls during
// a run, a file that cannot be opened, and an abort between files.

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "Files.h"
#include "SjfsFixture.h"
#include "app/ItemList.h"
#include "app/pages/FileShredderPage.h"
#include "worker/BackgroundWorker.h"

namespace {

using korvala::test::readFile;

const QString kWarning = QStringLiteral(
    "This process will remove these files permanently and make these files Unrecoverable!\r\r"
    "Do you want to Continue ?");

class FileShredderPageTest : public SjfsFixture {
protected:
    void SetUp() override
    {
        SetUpOn("File Shredder");
        page = window->page<TFileShredderPage>();
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(window->activePage(), page);
        worker = window->worker("trdFS");
    }

    // Adds files through "Add File(s)" and the dialog's answer.
    void add(const std::vector<std::string>& paths)
    {
        QStringList answer;
        for (const std::string& p : paths)
            answer << qs(p);
        dialogs_.nextOpenFiles.push_back(answer);
        click(page->BitBtn5);
    }
    QStringList listed() const
    {
        QStringList rows;
        for (const std::string& p : page->FSList->paths())
            rows << qs(p);
        return rows;
    }

    TFileShredderPage* page = nullptr;
    TBackgroundWorker* worker = nullptr;
};

TEST_F(FileShredderPageTest, ControlsAtStart)
{
    EXPECT_EQ(page->titleStrip()->text(), "FILE SHREDDER");
    EXPECT_EQ(page->titleStrip()->objectName(), "Label89");
    EXPECT_EQ(page->titleStrip()->toolTip(), "Secure delete your Files to make it Unrecoverable");
    EXPECT_EQ(page->Label86->text(), "File List :");
    EXPECT_EQ(page->totFS->text(), "Total Items : -");
    EXPECT_EQ(page->BitBtn5->text(), "Add File(s)");
    EXPECT_EQ(page->BitBtn7->text(), "Remove");
    EXPECT_EQ(page->BitBtn8->text(), "Remove All");
    EXPECT_EQ(page->btnShred->text(), "SHRED");
    EXPECT_EQ(page->ProgressBar1->value(), 0);

    // An empty list: nothing, not even the warning.
    click(page->btnShred);
    EXPECT_FALSE(worker->IsWorking());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(FileShredderPageTest, RunRemovesEachShreddedEntryAndKeepsTheRest)
{
    const std::string first = tree.file("first.txt", "1");
    const std::string gone = tree.file("gone.txt", "2");
    const std::string outside = tree.file("outside.txt", "not listed");
    const std::string link = tree.symlink("link.txt", outside);
    const std::string last = tree.file("last.txt", "3");
    add({first, gone, link, last});
    EXPECT_EQ(page->totFS->text(), "Total Items : 4");
    ASSERT_EQ(::unlink(gone.c_str()), 0);

    // While the end message is open the run is over but the controls are
    // still disabled and the bar shows both files done.
    bool disabledAtEnd = false;
    int progressAtEnd = -1;
    dialogs_.onMessage = [&](const RecordedMessage&) {
        disabledAtEnd = !page->FSList->isEnabled() && !page->BitBtn5->isEnabled() && !page->BitBtn7->isEnabled() &&
            !page->BitBtn8->isEnabled();
        progressAtEnd = page->ProgressBar1->value();
    };
    click(page->btnShred);
    EXPECT_EQ(page->btnShred->text(), "ABORT");
    EXPECT_EQ(page->ProgressBar1->maximum(), 4);
    worker->WaitFor();

    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0].text, kWarning);
    EXPECT_EQ(dialogs_.messages[0].icon, Dialogs::Icon::Warning);
    EXPECT_EQ(dialogs_.messages[1].text, "File Shredding process Completed!");
    EXPECT_TRUE(disabledAtEnd);
    EXPECT_EQ(progressAtEnd, 2);
    EXPECT_EQ(listed(), (QStringList{qs(gone), qs(link)}));
    EXPECT_EQ(page->totFS->text(), "Total Items : 2");
    EXPECT_EQ(page->ProgressBar1->value(), 0);
    EXPECT_EQ(page->btnShred->text(), "SHRED");
    EXPECT_TRUE(page->FSList->isEnabled());
    EXPECT_TRUE(page->BitBtn8->isEnabled());
    EXPECT_FALSE(exists(first));
    EXPECT_FALSE(exists(last));
    EXPECT_EQ(readFile(outside), "not listed");
}

TEST_F(FileShredderPageTest, NoToTheWarningChangesNothing)
{
    const std::string file = tree.file("keep.txt", "keep");
    add({file});
    page->ProgressBar1->setValue(1);
    dialogs_.confirmAnswer = false;
    click(page->btnShred);
    EXPECT_FALSE(worker->IsWorking());
    EXPECT_EQ(messages(), QStringList{kWarning});
    EXPECT_EQ(page->ProgressBar1->value(), 0);
    EXPECT_EQ(page->btnShred->text(), "SHRED");
    EXPECT_TRUE(page->FSList->isEnabled());
    EXPECT_EQ(readFile(file), "keep");
}

TEST_F(FileShredderPageTest, FileThatCannotBeOpenedAbortsTheRun)
{
    const std::string first = tree.file("a.txt", "a");
    const std::string readOnly = tree.file("ro.txt", "ro", 0444);
    const std::string last = tree.file("c.txt", "c");
    add({first, readOnly, last});
    click(page->btnShred);
    worker->WaitFor();
    ASSERT_EQ(dialogs_.messages.size(), 3u);
    EXPECT_EQ(dialogs_.messages[1].caption, "Application Error");
    EXPECT_NE(dialogs_.messages[1].text.indexOf("Cannot open file \"" + qs(readOnly) + "\". Permission denied"), -1)
        << dialogs_.messages[1].text.toStdString();
    EXPECT_EQ(dialogs_.messages[2].text, "File Shredding process ABORTED!");
    EXPECT_EQ(listed(), (QStringList{qs(first), qs(readOnly)}));
    EXPECT_EQ(page->totFS->text(), "Total Items : 2");
    EXPECT_EQ(readFile(readOnly), "ro");
    EXPECT_TRUE(page->BitBtn5->isEnabled());
}

TEST_F(FileShredderPageTest, AbortStopsBetweenFiles)
{
    std::vector<std::string> files;
    for (int i = 1; i <= 5; ++i)
        files.push_back(tree.file(std::string("f").append(std::to_string(i)), std::string(8u << 20, 'f')));
    add(files);
    click(page->btnShred);
    // Abort once the first file (the last entry) has left the list, so the
    // worker is surely past its first poll: clicking at once could reach it
    // before it looked, and then nothing at all would be shredded.
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->FSList->count() < 5; }, 20000));
    click(page->btnShred);
    EXPECT_EQ(page->btnShred->text(), "SHRED");
    worker->WaitFor();
    EXPECT_EQ(messages().back(), "File Shredding process ABORTED!");
    const int left = page->FSList->count();
    EXPECT_GE(left, 1);
    EXPECT_LT(left, 5);
    EXPECT_EQ(page->totFS->text(), "Total Items : " + QString::number(left));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(exists(files[static_cast<size_t>(i)]), i < left) << files[static_cast<size_t>(i)];
}

}  // namespace
