// The Attribute Changer page: its controls, the current-attribute display,
// the NEW choices, and runs of trdAC on real files, completed, aborted and
// broken off by a shortened list.

#include <sys/stat.h>

#include <QCheckBox>
#include <QEventLoop>
#include <QTimer>
#include <QGroupBox>
#include <QPushButton>

#include "PageTestSupport.h"
#include "app/pages/AttributeChangerPage.h"
#include "platform/FileAttributes.h"
#include "worker/BackgroundWorker.h"

namespace {

using namespace korvala;

constexpr uint32_t kFour = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_ARCHIVE;

timespec changeTime(const std::string& path)
{
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_ctim;
}

class AttributeChangerPageTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        page = window->page<TAttributeChangerPage>();
        worker = window->worker("trdAC");
        folder = tree.root();
    }

    void TearDown() override
    {
        // Read-only entries must not outlive the test as read-only.
        for (const std::string& p : made)
            setFileAttributes(p, getFileAttributes(p) & ~kFour);
        GuiFixture::TearDown();
    }

    std::string fileWith(const std::string& name, uint32_t bits)
    {
        const std::string path = tree.file(name, "content of " + name);
        made.push_back(path);
        EXPECT_FALSE(setFileAttributes(path, bits)) << path;
        EXPECT_EQ(getFileAttributes(path) & kFour, bits) << path;
        return path;
    }

    void clickTimes(QCheckBox* box, int times)
    {
        for (int i = 0; i < times; ++i)
            click(box);
    }

    // Runs the list with the current choices through the page's button.
    void run()
    {
        click(page->Button5);
        worker->WaitFor();
    }

    TAttributeChangerPage* page = nullptr;
    TBackgroundWorker* worker = nullptr;
    korvala::test::TTempTree tree;
    std::string folder;
    std::vector<std::string> made;
};

TEST_F(AttributeChangerPageTest, ControlsStartAsDescribed)
{
    EXPECT_EQ(find<QGroupBox>("GroupBox2")->title(), QStringLiteral(" CURRENT Attribute (Selected) "));
    EXPECT_FALSE(page->GroupBox2->isEnabled());
    EXPECT_EQ(find<QGroupBox>("GroupBox1")->title(), QStringLiteral(" NEW Attribute "));
    const struct {
        const char* name;
        const char* text;
        bool visible;
    } boxes[] = {
        {"oSYS", "System", false}, {"oRO", "Read-Only", true}, {"oHDN", "Hidden", true},
        {"oARC", "Archive", true}, {"oCOM", "Compressed", false}, {"nSYS", "System", true},
        {"nRO", "Read-Only", true}, {"nHDN", "Hidden", true}, {"nARC", "Archive", true},
        {"nCOM", "Compressed", false},
    };
    for (const auto& b : boxes) {
        auto* box = find<QCheckBox>(b.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromLatin1(b.text)) << b.name;
        EXPECT_EQ(box->isVisible(), b.visible) << b.name;
        if (b.name[0] == 'n') {
            EXPECT_TRUE(box->isTristate()) << b.name;
            EXPECT_EQ(box->checkState(), Qt::PartiallyChecked) << b.name;
        }
    }
    EXPECT_EQ(find<QPushButton>("Button7")->text(), QStringLiteral("Blank"));
    EXPECT_EQ(find<QPushButton>("Button6")->text(), QStringLiteral("Reset"));
    EXPECT_EQ(find<QPushButton>("Button5")->text(), QStringLiteral("CHANGE ATTRIBUTE"));
    EXPECT_TRUE(page->Button5->isDefault());
}

TEST_F(AttributeChangerPageTest, RunSetsClearsAndKeepsOnFilesAndFolders)
{
    const std::string a = fileWith("a.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    const std::string b = fileWith("b.txt", FILE_ATTRIBUTE_SYSTEM);
    addThroughDialog(page->Button2, {a, b});
    const std::string sub = folder + "/sub";
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    made.push_back(sub);
    page->ACList->addPath(sub);  // folders arrive by drop or from the Seeker
    ASSERT_EQ(page->ACList->count(), 3);

    // Grayed -> checked -> unchecked: one click sets, two clear, none keep.
    clickTimes(page->nRO, 2);
    clickTimes(page->nHDN, 1);
    ASSERT_EQ(page->nRO->checkState(), Qt::Unchecked);
    ASSERT_EQ(page->nHDN->checkState(), Qt::Checked);

    run();
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Attribute Changing process Completed!")});
    EXPECT_EQ(page->Button5->text(), QStringLiteral("CHANGE ATTRIBUTE"));
    // Read-only cleared and hidden set in one run; archive and system kept.
    EXPECT_EQ(getFileAttributes(a) & kFour, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(getFileAttributes(b) & kFour, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const uint32_t dir = getFileAttributes(sub);
    EXPECT_EQ(dir & kFour, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(dir & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(AttributeChangerPageTest, BlankThenRunClearsAllFourAndResetGraysAgain)
{
    const std::string a = fileWith("a.txt", kFour);
    addThroughDialog(page->Button2, {a});
    click(page->Button7);
    for (QCheckBox* box : {page->nSYS, page->nRO, page->nHDN, page->nARC, page->nCOM})
        EXPECT_EQ(box->checkState(), Qt::Unchecked) << box->objectName().toStdString();
    run();
    EXPECT_EQ(getFileAttributes(a) & kFour, 0u);
    click(page->Button6);
    for (QCheckBox* box : {page->nSYS, page->nRO, page->nHDN, page->nARC, page->nCOM})
        EXPECT_EQ(box->checkState(), Qt::PartiallyChecked) << box->objectName().toStdString();
}

// An entry whose word would not change is not written: its change time stays.
TEST_F(AttributeChangerPageTest, UnchangedEntriesAreNotWritten)
{
    const struct {
        const char* name;
        int roClicks, hdnClicks, sysClicks, arcClicks;  // 0 keep, 1 set, 2 clear
        uint32_t bits;
    } cases[] = {
        {"all grayed", 0, 0, 0, 0, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
        {"already as chosen", 1, 2, 2, 1, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testDialogs().reset();
        click(page->Button4);
        click(page->Button6);
        const std::string path = fileWith(std::string(c.name) + ".txt", c.bits);
        addThroughDialog(page->Button2, {path});
        clickTimes(page->nRO, c.roClicks);
        clickTimes(page->nHDN, c.hdnClicks);
        clickTimes(page->nSYS, c.sysClicks);
        clickTimes(page->nARC, c.arcClicks);
        const timespec before = changeTime(path);
        QTest::qWait(30);  // past the clock's coarse tick, so a write would show
        run();
        const timespec after = changeTime(path);
        EXPECT_EQ(getFileAttributes(path) & kFour, c.bits);
        EXPECT_EQ(after.tv_sec, before.tv_sec);
        EXPECT_EQ(after.tv_nsec, before.tv_nsec);
        EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Attribute Changing process Completed!")});
    }
}

TEST_F(AttributeChangerPageTest, ClickingAnEntryShowsItsAttributes)
{
    const std::string a = fileWith("a.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    const std::string b = fileWith("b.txt", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    const std::string gone = folder + "/gone.txt";
    addThroughDialog(page->Button2, {a, b, gone});

    clickRow(page->ACList, 0);
    EXPECT_TRUE(page->oRO->isChecked());
    EXPECT_TRUE(page->oHDN->isChecked());
    EXPECT_FALSE(page->oARC->isChecked());
    EXPECT_FALSE(page->oSYS->isChecked());

    clickRow(page->ACList, 1);
    EXPECT_FALSE(page->oRO->isChecked());
    EXPECT_FALSE(page->oHDN->isChecked());
    EXPECT_TRUE(page->oARC->isChecked());
    EXPECT_TRUE(page->oSYS->isChecked());

    // A path that cannot be read shows the all-ones word.
    clickRow(page->ACList, 2);
    for (QCheckBox* box : {page->oRO, page->oHDN, page->oARC, page->oSYS})
        EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();

    // Moving up with the keyboard shows the entry moved to.
    QTest::keyClick(page->ACList, Qt::Key_Up);
    ASSERT_EQ(page->ACList->currentRow(), 1);
    EXPECT_FALSE(page->oRO->isChecked());
    EXPECT_FALSE(page->oHDN->isChecked());
    EXPECT_TRUE(page->oARC->isChecked());

    // Removing the shown entry makes another one current without refreshing
    // the display: only a click or a move in the list shows an entry.
    click(page->Button3);
    ASSERT_EQ(page->ACList->count(), 2);
    ASSERT_EQ(page->ACList->currentPath(), a);
    EXPECT_TRUE(page->oARC->isChecked());
    EXPECT_FALSE(page->oRO->isChecked());
    EXPECT_TRUE(testDialogs().messages.empty());
}

TEST_F(AttributeChangerPageTest, EmptyListDoesNothingVisible)
{
    click(page->Button5);
    EXPECT_FALSE(worker->IsWorking());
    QTest::qWait(20);
    EXPECT_EQ(page->Button5->text(), QStringLiteral("CHANGE ATTRIBUTE"));
    EXPECT_TRUE(testDialogs().messages.empty());
}

TEST_F(AttributeChangerPageTest, ClickingAgainAbortsBeforeTheNextEntry)
{
    const std::string a = fileWith("a.txt", 0);
    const std::string b = fileWith("b.txt", 0);
    addThroughDialog(page->Button2, {a, b});
    click(page->nHDN);
    // The second click lands while the run reads its first entry.
    QString captionDuringRun;
    QObject::connect(page, &TAttributeChangerPage::entryRequested, page, [&](int position) {
        if (position != 0)
            return;
        captionDuringRun = page->Button5->text();
        click(page->Button5);
    });
    click(page->Button5);
    EXPECT_TRUE(worker->IsWorking());
    worker->WaitFor();
    EXPECT_EQ(captionDuringRun, QStringLiteral("ABORT"));
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Attribute Changing process ABORTED!")});
    EXPECT_EQ(page->Button5->text(), QStringLiteral("CHANGE ATTRIBUTE"));
    // The entry in hand is finished and stays changed; the next is not visited.
    EXPECT_EQ(getFileAttributes(a) & kFour, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(getFileAttributes(b) & kFour, 0u);

    // The worker is idle again: the next click runs the whole list.
    QObject::disconnect(page, &TAttributeChangerPage::entryRequested, page, nullptr);
    testDialogs().reset();
    run();
    EXPECT_EQ(getFileAttributes(b) & kFour, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Attribute Changing process Completed!")});
}

TEST_F(AttributeChangerPageTest, ShortenedListEndsTheRunThroughTheErrorBox)
{
    const std::string a = fileWith("a.txt", 0);
    const std::string b = fileWith("b.txt", 0);
    const std::string c = fileWith("c.txt", 0);
    addThroughDialog(page->Button2, {a, b, c});
    click(page->nRO);
    // The user removes the last two entries while the first is being read.
    QObject::connect(page, &TAttributeChangerPage::entryRequested, page, [&](int position) {
        if (position == 0) {
            page->ACList->clearSelection();
            page->ACList->item(1)->setSelected(true);
            page->ACList->item(2)->setSelected(true);
            click(page->Button3);
        }
    });
    run();
    EXPECT_EQ(page->ACList->count(), 1);
    ASSERT_EQ(testDialogs().messages.size(), 2u) << testDialogs().messageTexts().join('|').toStdString();
    EXPECT_EQ(testDialogs().messages[0].caption, QStringLiteral("Application Error"));
    EXPECT_TRUE(testDialogs().messages[0].text.endsWith(QStringLiteral("List index out of bounds (1)")))
        << testDialogs().messages[0].text.toStdString();
    EXPECT_EQ(testDialogs().messages[1].text, QStringLiteral("Attribute Changing process ABORTED!"));
    EXPECT_EQ(page->Button5->text(), QStringLiteral("CHANGE ATTRIBUTE"));
    EXPECT_EQ(getFileAttributes(a) & kFour, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(getFileAttributes(b) & kFour, 0u);
}

// The error box is modal: the window's event loop runs while it is open. The
// run must still be working then, and its "ABORTED!" message must come after
// the box was closed, not on top of it.
TEST_F(AttributeChangerPageTest, TheErrorBoxOfAFailedRunClosesBeforeTheAbortMessage)
{
    const std::string a = fileWith("a.txt", 0);
    const std::string b = fileWith("b.txt", 0);
    addThroughDialog(page->Button2, {a, b});
    QObject::connect(page, &TAttributeChangerPage::entryRequested, page, [&](int position) {
        if (position == 0)
            page->ACList->removeAll();
    });
    bool workingWhileOpen = false;
    QStringList shownWhileOpen;
    testDialogs().onMessage = [&](const RecordedMessage& shown) {
        if (shown.caption != QStringLiteral("Application Error"))
            return;
        // The box stays open until the test closes it, a moment later.
        QEventLoop box;
        QTimer::singleShot(100, &box, &QEventLoop::quit);
        box.exec();
        workingWhileOpen = worker->IsWorking();
        shownWhileOpen = testDialogs().messageTexts();
    };
    run();
    EXPECT_TRUE(workingWhileOpen);
    EXPECT_EQ(shownWhileOpen.size(), 1) << shownWhileOpen.join('|').toStdString();
    ASSERT_EQ(testDialogs().messages.size(), 2u);
    EXPECT_EQ(testDialogs().messages[1].text, QStringLiteral("Attribute Changing process ABORTED!"));
    EXPECT_EQ(page->Button5->text(), QStringLiteral("CHANGE ATTRIBUTE"));
}

TEST_F(AttributeChangerPageTest, EnterOnThePageStartsTheRun)
{
    const std::string a = fileWith("a.txt", 0);
    addThroughDialog(page->Button2, {a});
    click(page->nARC);
    page->ACList->setFocus();
    QTest::keyClick(page->ACList, Qt::Key_Return);
    worker->WaitFor();
    EXPECT_EQ(getFileAttributes(a) & kFour, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Attribute Changing process Completed!")});
}

}  // namespace
