// The Folder Icon Changer page on real folders: both sub-pages' controls,
// changes and resets through their buttons, the previews, and a batch that
// stops at the folder it cannot write.

#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "GuiFixture.h"
#include "TempTree.h"
#include "app/ItemList.h"
#include "app/pages/FolderIconChangerPage.h"

using korvala::test::TTempTree;

namespace {

// Test dialogs that also answer the icon picker, and remember how it was asked.
class IconDialogs : public TestDialogs {
public:
    std::vector<QString> nextIcons;
    std::vector<std::pair<QString, QString>> asked;  // title, initial folder
    QString filter;
    QString openFileIn(QWidget*, const QString& title, const QString& f, const QString& folder) override
    {
        asked.emplace_back(title, folder);
        filter = f;
        if (nextIcons.empty())
            return {};
        QString answer = nextIcons.front();
        nextIcons.erase(nextIcons.begin());
        return answer;
    }
};

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A real icon file, as Qt writes one.
std::string icoBytes()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "ICO");
    return data.toStdString();
}

class FolderIconPageTest : public GuiFixture {
protected:
    void SetUp() override
    {
        dialogs.reset();
        setDialogs(&dialogs);
        GuiFixture::SetUp();
        page = window->page<TFolderIconChangerPage>();
        click(window->findToolButton(QStringLiteral("Folder Icon Changer")));
    }
    void TearDown() override
    {
        GuiFixture::TearDown();
        setDialogs(&testDialogs());
    }
    QString q(const std::string& s) const { return QString::fromStdString(s); }

    IconDialogs dialogs;
    TFolderIconChangerPage* page = nullptr;
    TTempTree tree;
};

TEST_F(FolderIconPageTest, ControlsAndInitialState)
{
    EXPECT_EQ(page->titleStrip()->text(), QStringLiteral("FOLDER ICON CHANGER"));
    EXPECT_EQ(page->pcFIC->tabText(0), QStringLiteral("Single Folder Icon Changer"));
    EXPECT_EQ(page->pcFIC->tabText(1), QStringLiteral("Batch Folder Icon Changer"));
    for (QComboBox* combo : {page->ficIcon, page->bficICLoc}) {
        ASSERT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->itemText(0), QStringLiteral("C:\\Windows\\System32\\Shell32.dll"));
        EXPECT_EQ(combo->itemText(1), QStringLiteral("C:\\Windows\\system32\\imageres.dll"));
        EXPECT_EQ(combo->itemText(2), QStringLiteral("C:\\Windows\\System32\\Moricons.dll"));
        EXPECT_TRUE(combo->currentText().isEmpty());
    }
    for (QSpinBox* spin : {page->ficIndex, page->bficIndex}) {
        EXPECT_EQ(spin->minimum(), 0);
        EXPECT_EQ(spin->maximum(), 1000);
        EXPECT_EQ(spin->value(), 0);
    }
    EXPECT_TRUE(page->chkCopyIcon->isChecked());
    EXPECT_TRUE(page->bficCopyIcon->isChecked());
    EXPECT_EQ(page->chkCopyIcon->text(), QStringLiteral("Copy Icon to Folder Location ( *.ICO Only )"));
    EXPECT_EQ(page->Button1->text(), QStringLiteral("CHANGE FOLDER ICON"));
    EXPECT_EQ(page->ficReset->text(), QStringLiteral("RESET FOLDER ICON"));
    EXPECT_EQ(page->Button32->text(), QStringLiteral("...."));
    EXPECT_EQ(page->pnlbfic->text(), QStringLiteral("DRAG & DROP YOUR FOLDER HERE"));
    EXPECT_EQ(page->totBFIC->text(), QStringLiteral("Total Items : -"));
    page->pcFIC->setCurrentIndex(1);
    EXPECT_TRUE(page->pnlbfic->isVisible());

    // Nothing to change or reset: nothing happens.
    click(page->Button1);
    click(page->ficReset);
    click(page->bficChange);
    click(page->Button59);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FolderIconPageTest, SingleFolderChangeLoadPreviewAndReset)
{
    const std::string folder = tree.folder("My Folder");
    tree.folder("icons");
    const std::string icon = tree.file("icons/Star.ICO", icoBytes());
    dialogs.nextDirectories = {q(folder)};
    click(page->Button16);
    EXPECT_EQ(page->ficFolder->text(), q(folder));
    dialogs.nextIcons = {q(icon)};
    page->ficIndex->setValue(5);
    click(page->Button32);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].first, QStringLiteral("Select Icon"));
    EXPECT_TRUE(dialogs.asked[0].second.isEmpty()) << "an empty icon location starts where the dialog likes";
    EXPECT_TRUE(dialogs.filter.startsWith(QStringLiteral("Icon (*.ico)")));
    EXPECT_EQ(page->ficIcon->currentText(), q(icon));
    EXPECT_EQ(page->ficIndex->value(), 0);
    EXPECT_FALSE(page->ficICO->pixmap().isNull()) << "the chosen icon is previewed";

    page->ficInfo->setText(QStringLiteral("My tip"));
    click(page->Button1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
        QStringLiteral("Folder Icon Changed, please wait few seconds to see the changes!\n( Usually up to 30 Seconds )"));
    EXPECT_EQ(contents(folder + "/desktop.ini"), "[.ShellClassInfo]\r\nIconFile=Star.ICO\r\nIconIndex=0\r\nInfoTip=My tip\r\n");

    // Loaded back, the relative location previews the copy in the folder.
    page->ficIcon->setEditText(QString());
    page->ficInfo->clear();
    dialogs.nextDirectories = {};
    click(page->Button16);  // cancelled: the settings are loaded all the same
    EXPECT_EQ(page->ficIcon->currentText(), QStringLiteral("Star.ICO"));
    EXPECT_EQ(page->ficInfo->text(), QStringLiteral("My tip"));
    EXPECT_FALSE(page->ficICO->pixmap().isNull());

    // A stored index below the range loads as 0.
    std::ofstream(folder + "/desktop.ini", std::ios::trunc) << "[.ShellClassInfo]\r\nIconIndex=-3\r\n";
    page->ficIndex->setValue(9);
    click(page->Button16);
    EXPECT_EQ(page->ficIndex->value(), 0);

    click(page->ficReset);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("Folder Icon has been Resetted into Default, please wait few seconds "
                                                      "to see the changes!\n( Usually up to 30 Seconds )"));
    struct stat st;
    EXPECT_NE(::stat((folder + "/desktop.ini").c_str(), &st), 0);
    click(page->ficReset);
    EXPECT_EQ(dialogs.messages.size(), 2u) << "no desktop.ini: no message";
}

TEST_F(FolderIconPageTest, BatchChangeStopsAtAFolderItCannotWrite)
{
    page->pcFIC->setCurrentIndex(1);
    const std::string a = tree.folder("a"), b = tree.folder("b"), c = tree.folder("c");
    tree.file("a/desktop.ini", "[.ShellClassInfo]\r\nInfoTip=Kept\r\n");
    for (const std::string& f : {a, b, c})
        page->addBatchFolder(f);
    page->addBatchFolder(a);
    page->addBatchFolder(tree.file("not a folder"));
    EXPECT_EQ(page->lstBFIC->count(), 3);
    EXPECT_EQ(page->totBFIC->text(), QStringLiteral("Total Items : 3"));
    EXPECT_FALSE(page->pnlbfic->isVisible());

    page->bficICLoc->setEditText(QStringLiteral("C:\\Windows\\System32\\Shell32.dll"));
    page->bficIndex->setValue(12);
    ASSERT_EQ(::rmdir(b.c_str()), 0);
    click(page->bficChange);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.toStdString(), "Unable to write to " + b + "/desktop.ini");
    EXPECT_EQ(contents(a + "/desktop.ini"),
        "[.ShellClassInfo]\r\nInfoTip=Kept\r\nIconFile=C:\\Windows\\System32\\Shell32.dll\r\nIconIndex=12\r\n");
    struct stat st;
    EXPECT_NE(::stat((c + "/desktop.ini").c_str(), &st), 0) << "later folders are not changed";

    // Reset shows its message even when no folder had a desktop.ini.
    ASSERT_EQ(::mkdir(b.c_str(), 0755), 0);
    dialogs.messages.clear();
    click(page->Button59);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(::stat((a + "/desktop.ini").c_str(), &st), 0);

    // Removing the last folder shows the hint again.
    page->lstBFIC->selectAll();
    click(page->BitBtn17);
    EXPECT_TRUE(page->pnlbfic->isVisible());
}

TEST_F(FolderIconPageTest, TitleDoubleClickRefreshesTheFolders)
{
    const std::string folder = tree.folder("watched");
    struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, folder.c_str(), old, 0), 0);
    page->ficFolder->setText(q(folder));
    QTest::mouseDClick(page->titleStrip(), Qt::LeftButton);
    struct stat st;
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_GT(st.st_mtim.tv_sec, 1000000000);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
