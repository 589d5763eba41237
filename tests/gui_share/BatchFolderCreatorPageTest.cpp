// The Batch Folder Creator page on real folders: lines that name folders make
// them, the others leave the box, and failures are listed after the
// completion message.

#include <sys/stat.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "GuiFixture.h"
#include "TempTree.h"
#include "app/pages/BatchFolderCreatorPage.h"

using korvala::test::TTempTree;

namespace {

bool isFolder(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class BatchFolderCreatorPageTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        page = window->page<TBatchFolderCreatorPage>();
        ASSERT_NE(page, nullptr);
        click(window->findToolButton(QStringLiteral("Batch Folder Creator")));
    }
    void create(const QString& text)
    {
        page->lstBFC->setPlainText(text);
        click(page->sBitBtn1);
    }
    QString q(const std::string& s) const { return QString::fromStdString(s); }

    TBatchFolderCreatorPage* page = nullptr;
    TTempTree tree;
};

TEST_F(BatchFolderCreatorPageTest, ControlsAndTheirTexts)
{
    EXPECT_EQ(page->objectName(), QStringLiteral("shtBFC"));
    EXPECT_EQ(page->titleStrip()->text(), QStringLiteral("BATCH FOLDER CREATOR"));
    EXPECT_EQ(page->Label96->text(), QStringLiteral("Folder to Create :"));
    EXPECT_FALSE(page->Label96->toolTip().isEmpty());
    EXPECT_EQ(page->sBitBtn1->text(), QStringLiteral("CREATE"));
    EXPECT_TRUE(page->lstBFC->toPlainText().isEmpty());
    // An empty box: nothing happens, no message.
    click(page->sBitBtn1);
    EXPECT_TRUE(testDialogs().messages.empty());
}

TEST_F(BatchFolderCreatorPageTest, FolderLinesAreCreatedOtherLinesLeave)
{
    const std::string a = tree.path("A/B/C"), x = tree.path("X  spaced ");
    tree.folder("exists");
    create(q(a) + "\nrelative/path\n\n" + q(x) + "\n  " + q(tree.path("indented")) + "\n" + q(tree.path("exists")) +
        "\n" + q(tree.path("it's $(id) \"q\"")));
    EXPECT_TRUE(isFolder(tree.path("A")) && isFolder(tree.path("A/B")) && isFolder(a));
    EXPECT_TRUE(isFolder(x)) << "used exactly as typed, blanks included";
    EXPECT_TRUE(isFolder(tree.path("it's $(id) \"q\"")));
    EXPECT_FALSE(isFolder(tree.path("indented")));
    EXPECT_EQ(page->lstBFC->toPlainText(), q(a) + "\n" + q(x) + "\n" + q(tree.path("exists")) + "\n" +
            q(tree.path("it's $(id) \"q\"")));
    ASSERT_EQ(testDialogs().messages.size(), 1u);
    EXPECT_EQ(testDialogs().messages[0].text, QStringLiteral("Folder creating Process Completed!"));
    EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::Information);
}

TEST_F(BatchFolderCreatorPageTest, FailuresAreListedAfterTheCompletion)
{
    tree.file("plain file", "x");
    const std::string underFile = tree.path("plain file/sub");
    const std::string fine = tree.path("fine");
    create(q(underFile) + "\n" + q(fine));
    EXPECT_TRUE(isFolder(fine));
    ASSERT_EQ(testDialogs().messages.size(), 2u);
    EXPECT_EQ(testDialogs().messages[0].text, QStringLiteral("Folder creating Process Completed!"));
    EXPECT_EQ(testDialogs().messages[1].text.toStdString(),
        "This folder could not be created:\n" + underFile + " : Not a directory");
    EXPECT_EQ(testDialogs().messages[1].icon, Dialogs::Icon::Warning);
    EXPECT_EQ(page->lstBFC->toPlainText(), q(underFile) + "\n" + q(fine));
}

}  // namespace
