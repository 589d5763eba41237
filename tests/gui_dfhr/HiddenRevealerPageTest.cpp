// The Hidden Revealer page, headless: its controls, a scan on its real search
// component, Abort Scan, closing during a scan, and revealing on the worker.

#include <atomic>
#include <chrono>
#include <thread>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include "DfhrTestSupport.h"
#include "Files.h"
#include "PageTestSupport.h"
#include "TempTree.h"
#include "app/pages/HiddenRevealerPage.h"
#include "platform/FileAttributes.h"
#include "search/component/FindFileComponent.h"
#include "worker/BackgroundWorker.h"

namespace {

using korvala::test::TTempTree;

void storeBits(const std::string& path, uint32_t bits)
{
    ASSERT_FALSE(korvala::setFileAttributes(path, korvala::getFileAttributes(path) | bits)) << path;
}

class HiddenRevealerPageTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        if (HasFatalFailure())
            return;
        click(window->toolButton(8));
        page = window->page<THiddenRevealerPage>();
        ASSERT_EQ(window->activePage(), page);
        hidden = tree.file("hidden.txt");
        storeBits(hidden, korvala::FILE_ATTRIBUTE_HIDDEN);
        folder = tree.folder("hiddendir");
        storeBits(folder, korvala::FILE_ATTRIBUTE_HIDDEN);
        inner = tree.file("hiddendir/inner.txt");
        storeBits(inner, korvala::FILE_ATTRIBUTE_HIDDEN);
        system = tree.file("hs.sys");
        storeBits(system, korvala::FILE_ATTRIBUTE_HIDDEN | korvala::FILE_ATTRIBUTE_SYSTEM | korvala::FILE_ATTRIBUTE_ARCHIVE);
        tree.file("plain.txt");
    }

    void scan()
    {
        page->txtFTS->setText(qs(tree.root()));
        click(page->HRScan);
        ASSERT_TRUE(waitUntil([&] { return !page->FScan->Busy(); }));
        QCoreApplication::processEvents();
    }

    std::vector<std::string> listed() const
    {
        std::vector<std::string> paths = page->HRList->paths();
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    THiddenRevealerPage* page = nullptr;
    TTempTree tree;
    std::string hidden, folder, inner, system;
};

TEST_F(HiddenRevealerPageTest, StartsInTheInitialStateAndAnEmptyFolderTextDoesNothing)
{
    EXPECT_EQ(page->titleStrip()->text(), QStringLiteral("HIDDEN REVEALER"));
    EXPECT_EQ(page->Label33->text(), QStringLiteral("Folder to Scan :"));
    EXPECT_EQ(page->Button25->text(), QStringLiteral("..."));
    EXPECT_EQ(page->chkSYS->text(), QStringLiteral("Include \"System File/Folder\""));
    EXPECT_FALSE(page->chkSYS->isChecked());
    EXPECT_EQ(page->HRScan->text(), QStringLiteral("Scan Hidden File(s) / Folder(s)"));
    EXPECT_EQ(page->Label31->text(), QStringLiteral("Hidden File/Folder List :"));
    EXPECT_EQ(page->Label32->text(), QStringLiteral("Total Items : -"));
    EXPECT_EQ(page->Button27->text(), QStringLiteral("REVEAL SELECTED"));
    EXPECT_EQ(page->Button28->text(), QStringLiteral("REVEAL ALL"));
    EXPECT_EQ(page->HRList->selectionMode(), QAbstractItemView::ExtendedSelection);
    click(page->HRScan);
    EXPECT_FALSE(page->FScan->Busy());
    EXPECT_TRUE(testDialogs().messages.empty());
    // Revealing an empty list says so.
    click(page->Button28);
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Hidden File(s) / Folder(s) List is EMPTY!")});
}

TEST_F(HiddenRevealerPageTest, ScanWithAndWithoutSystemEntries)
{
    const std::string dot = tree.file(".dotfile");
    scan();
    EXPECT_EQ(listed(), (std::vector<std::string>{dot, hidden, folder, inner}));
    EXPECT_EQ(page->Label32->text(), QStringLiteral("Total Items : 4"));
    EXPECT_EQ(testDialogs().messageTexts(),
        QStringList{QStringLiteral("Scanning process completed, Now you can Reveal Hidden Files/Folders!")});
    EXPECT_EQ(page->HRScan->text(), QStringLiteral("Scan Hidden File(s) / Folder(s)"));
    // The dot name is shown greyed, with the reason, and stays a plain path.
    for (int row = 0; row < page->HRList->count(); ++row) {
        QListWidgetItem* item = page->HRList->item(row);
        const bool isDot = page->HRList->pathAt(row) == dot;
        EXPECT_EQ(!item->toolTip().isEmpty(), isDot) << page->HRList->pathAt(row);
        if (isDot) {
            EXPECT_EQ(item->foreground().color(), page->HRList->palette().color(QPalette::Disabled, QPalette::Text));
        }
    }

    testDialogs().reset();
    click(page->chkSYS);
    scan();
    EXPECT_EQ(page->HRList->count(), 5);

    testDialogs().reset();
    TTempTree empty;
    page->txtFTS->setText(qs(empty.root()));
    click(page->HRScan);
    ASSERT_TRUE(waitUntil([&] { return !page->FScan->Busy(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(testDialogs().messageTexts(),
        QStringList{QStringLiteral("Scanning process completed, There is no Hidden File/Folder Found!")});
}

TEST_F(HiddenRevealerPageTest, RevealSelectedOrAllClearsOnlyTheHiddenBit)
{
    click(page->chkSYS);
    scan();
    ASSERT_EQ(page->HRList->count(), 4);
    testDialogs().reset();
    click(page->Button27);
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("There is No File/Folder Selected!")});

    testDialogs().reset();
    int row = 0;
    while (page->HRList->pathAt(row) != system)
        ++row;
    clickRow(page->HRList, row);
    click(page->Button27);
    ASSERT_TRUE(waitUntil([&] { return !window->worker("trdRevealHDN")->IsWorking(); }));
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Revealing process completed!")});
    EXPECT_EQ(korvala::getFileAttributes(system) & 0x27u, korvala::FILE_ATTRIBUTE_SYSTEM | korvala::FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_NE(korvala::getFileAttributes(hidden) & korvala::FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(page->HRList->count(), 4);  // the list is not refreshed

    click(page->Button28);
    ASSERT_TRUE(waitUntil([&] { return !window->worker("trdRevealHDN")->IsWorking(); }));
    for (const std::string& path : {hidden, folder, inner})
        EXPECT_EQ(korvala::getFileAttributes(path) & korvala::FILE_ATTRIBUTE_HIDDEN, 0u) << path;
}

TEST_F(HiddenRevealerPageTest, AbortScanKeepsWhatWasFoundAndClosingAbortsSilently)
{
    std::atomic<bool> release{false};
    std::atomic<int> seen{0};
    // Each match takes 60 ms (so the first is handed to the window on its
    // own); the second waits until the scan is aborted.
    page->FScan->OnFileMatch = [&](korvala::TFindFileW& sender, const korvala::TFileDetails&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        if (++seen >= 2)
            while (!release.load() && !sender.Aborted())
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    page->txtFTS->setText(qs(tree.root()));
    click(page->HRScan);
    EXPECT_EQ(page->HRScan->text(), QStringLiteral("Abort Scan"));
    ASSERT_TRUE(waitUntil([&] { return page->HRList->count() >= 1; }));
    click(page->HRScan);
    ASSERT_TRUE(waitUntil([&] { return !page->FScan->Busy(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Scanning process Aborted!")});
    EXPECT_EQ(page->HRScan->text(), QStringLiteral("Scan Hidden File(s) / Folder(s)"));
    EXPECT_GE(page->HRList->count(), 1);

    // Closing the window during a scan aborts it without a message.
    testDialogs().reset();
    seen = 0;
    click(page->HRScan);
    ASSERT_TRUE(page->FScan->Busy());
    window->close();
    window.reset();
    EXPECT_TRUE(testDialogs().messages.empty());
}

}  // namespace
