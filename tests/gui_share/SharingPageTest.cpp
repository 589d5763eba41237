// The Sharing page against a private Samba server whose users may share:
// clicking SHARE and STOP SHARING makes and removes real shares, the memo
// lists what the server offers, and each refusal is shown.

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include <sys/stat.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "GuiFixture.h"
#include "SmbServer.h"
#include "TempTree.h"
#include "app/pages/SharingPage.h"
#include "tools/sharing/DSiWin32.h"

using korvala::test::TSmbServer;
using korvala::test::TTempTree;

namespace {

const char kPassword[] = "k0rvala-page";

class SharingPageTest : public GuiFixture {
protected:
    static void SetUpTestSuite()
    {
        s_root = std::make_unique<TTempTree>();
        s_server = korvala::test::startUsershareServer(s_root->root(), kPassword, s_error);
    }
    static void TearDownTestSuite()
    {
        s_server.reset();
        s_root.reset();
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_server) << "could not start a private smbd: " << s_error;
        ::setenv("KORVALA_SMB_CONF", s_server->config().c_str(), 1);
        GuiFixture::SetUp();
        page = window->page<TSharingPage>();
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override
    {
        GuiFixture::TearDown();
        for (const char* name : {"docs", "behind", "Taken"})
            (void)korvala::DSiUnshareFolder(name);
        ::unsetenv("KORVALA_SMB_CONF");
    }
    void open() { click(window->findToolButton(QStringLiteral("Sharing"))); }
    QString memo() const { return page->mmShare->toPlainText(); }
    void fill(const std::string& name, const std::string& folder, const std::string& comment)
    {
        page->txtSharename->setText(QString::fromStdString(name));
        page->txtResource->setText(QString::fromStdString(folder));
        page->txtComment->setText(QString::fromStdString(comment));
    }
    static std::string offered()
    {
        std::string output, error;
        EXPECT_TRUE(s_server->listShares("root", kPassword, output, error)) << error;
        return output;
    }

    TSharingPage* page = nullptr;
    static std::unique_ptr<TTempTree> s_root;
    static std::unique_ptr<TSmbServer> s_server;
    static std::string s_error;
};

std::unique_ptr<TTempTree> SharingPageTest::s_root;
std::unique_ptr<TSmbServer> SharingPageTest::s_server;
std::string SharingPageTest::s_error;

TEST_F(SharingPageTest, ControlsAndTheirTexts)
{
    EXPECT_EQ(page->objectName(), QStringLiteral("shtShare"));
    EXPECT_EQ(find<QLabel>("Label81")->text(), QStringLiteral("SHARING"));
    EXPECT_EQ(page->Label69->text(), QStringLiteral("Share name :"));
    EXPECT_EQ(page->Label70->text(), QStringLiteral("Resource Location :"));
    EXPECT_EQ(page->Label71->text(), QStringLiteral("Comment :"));
    EXPECT_EQ(page->Button48->text(), QStringLiteral("..."));
    EXPECT_EQ(page->btnShare->text(), QStringLiteral("SHARE"));
    EXPECT_EQ(page->BitBtn1->text(), QStringLiteral("STOP SHARING"));
    EXPECT_EQ(page->Label68->text(), QStringLiteral("Sharing Information"));
    EXPECT_EQ(page->Label67->text(), QStringLiteral("Note : You must Start \"Server\" service to access Sharing feature"));
    EXPECT_EQ(page->Button47->text(), QStringLiteral("Start"));
    EXPECT_EQ(page->Button49->text(), QStringLiteral("Info"));
    EXPECT_TRUE(page->mmShare->isReadOnly());
    EXPECT_TRUE(QFontInfo(page->mmShare->font()).fixedPitch());
    EXPECT_EQ(page->mmShare->font().pixelSize(), 16);

    click(page->Button49);
    ASSERT_EQ(testDialogs().messages.size(), 1u);
    EXPECT_EQ(testDialogs().messages[0].text,
        QStringLiteral("If you want to Reshare a Folder with different Resource Location (with same Share name), \n"
                       "you must \"Stop Sharing\" it First, then you can Share it again by clicking \"Share\" button!"));
}

TEST_F(SharingPageTest, ShareAndStopSharingThroughThePage)
{
    open();
    EXPECT_TRUE(memo().startsWith(QStringLiteral(" \n Share name   Resource"))) << memo().toStdString();
    EXPECT_TRUE(memo().contains(QStringLiteral("\n share "))) << memo().toStdString();

    const std::string folder = s_root->folder("data/my docs");
    fill("docs", folder, "it's \"mine\" $(id)");
    click(page->btnShare);
    EXPECT_TRUE(testDialogs().messages.empty()) << testDialogs().messageTexts().join('\n').toStdString();
    EXPECT_TRUE(memo().contains(QString::fromStdString("\n docs         " + folder))) << memo().toStdString();
    EXPECT_TRUE(memo().contains(QStringLiteral("it's \"mine\" $(id)")));
    EXPECT_NE(offered().find("docs"), std::string::npos);

    // Cancel and an empty answer remove nothing, but the listing is read again.
    ASSERT_TRUE(korvala::DSiShareFolder(s_root->folder("data/behind"), "behind", "").done);
    testDialogs().nextInputs = {std::nullopt, QString()};
    click(page->BitBtn1);
    EXPECT_TRUE(memo().contains(QStringLiteral("\n behind"))) << memo().toStdString();
    click(page->BitBtn1);
    ASSERT_EQ(testDialogs().inputsAsked.size(), 2u);
    EXPECT_EQ(testDialogs().inputsAsked[0].first, QStringLiteral("Stop Sharing"));
    EXPECT_EQ(testDialogs().inputsAsked[0].second, QStringLiteral("Type \"Share name\" which you want to Unshare :"));
    EXPECT_TRUE(memo().contains(QStringLiteral("\n docs ")));

    testDialogs().nextInputs = {QStringLiteral("docs")};
    click(page->BitBtn1);
    EXPECT_FALSE(memo().contains(QStringLiteral("\n docs "))) << memo().toStdString();
    EXPECT_EQ(offered().find("docs"), std::string::npos);
    EXPECT_TRUE(testDialogs().messages.empty());

    // A name nobody shares: what net said, and the listing is still read.
    testDialogs().nextInputs = {QStringLiteral("never-shared")};
    click(page->BitBtn1);
    ASSERT_EQ(testDialogs().messages.size(), 1u);
    EXPECT_TRUE(testDialogs().messages[0].text.contains(QStringLiteral("unable to remove usershare")));
    EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::Warning);
}

TEST_F(SharingPageTest, InputChecksAndRefusals)
{
    open();
    // A folder that does not exist: the message, nothing shared.
    fill("docs", s_root->path("data/no such folder"), "");
    click(page->btnShare);
    ASSERT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Resource location doesn't exist!")});
    EXPECT_EQ(offered().find("docs"), std::string::npos);

    // Empty fields raise through the error box, and the listing is not read.
    ASSERT_TRUE(korvala::DSiShareFolder(s_root->folder("data/behind"), "behind", "").done);
    testDialogs().reset();
    fill("docs", "", "");
    click(page->btnShare);
    fill("", s_root->root(), "");
    click(page->btnShare);
    ASSERT_EQ(testDialogs().messages.size(), 2u);
    EXPECT_EQ(testDialogs().messages[0].text, QStringLiteral("DSiShareFolder: empty folder"));
    EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::Error);
    EXPECT_EQ(testDialogs().messages[1].text, QStringLiteral("DSiShareFolder: empty share name"));
    EXPECT_FALSE(memo().contains(QStringLiteral("behind"))) << memo().toStdString();

    // A name in use: refused with the reason, the listing read again.
    testDialogs().reset();
    fill("Taken", s_root->folder("data/first"), "");
    click(page->btnShare);
    fill("taken", s_root->folder("data/second"), "");
    click(page->btnShare);
    ASSERT_EQ(testDialogs().messages.size(), 1u);
    EXPECT_TRUE(testDialogs().messages[0].text.contains(QStringLiteral("already exists")));
    EXPECT_TRUE(memo().contains(QStringLiteral("behind")));
    EXPECT_FALSE(memo().contains(QStringLiteral("second")));
}

TEST_F(SharingPageTest, BrowseStartsAtTheParentOfTheLocation)
{
    const std::string folder = s_root->folder("data/browse/inner");
    page->txtResource->setText(QString::fromStdString(folder));
    testDialogs().nextDirectories = {QStringLiteral("/chosen/folder")};
    click(page->Button48);
    ASSERT_EQ(testDialogs().directoryTitles.size(), 1u);
    EXPECT_EQ(testDialogs().directoryTitles[0], QStringLiteral("Select Directory"));
    EXPECT_EQ(testDialogs().directoryFolders[0], QString::fromStdString(s_root->path("data/browse")));
    EXPECT_EQ(page->txtResource->text(), QStringLiteral("/chosen/folder"));
    // Cancel keeps what was there.
    click(page->Button48);
    EXPECT_EQ(page->txtResource->text(), QStringLiteral("/chosen/folder"));
    EXPECT_EQ(testDialogs().directoryFolders[1], QString());
}

// "Start" runs the service start in the terminal the system names; here a
// terminal program that writes down what it was asked to run.
TEST_F(SharingPageTest, StartRunsTheServiceStartInATerminalAndRefreshes)
{
    TTempTree bin;
    const std::string record = bin.path("asked");
    bin.file("x-terminal-emulator", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + record + "'\n", 0755);
    const std::string oldPath = std::getenv("PATH");
    ::setenv("PATH", (bin.root() + ":" + oldPath).c_str(), 1);
    open();
    page->mmShare->setPlainText(QStringLiteral("stale"));
    click(page->Button47);
    ::setenv("PATH", oldPath.c_str(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(memo().contains(QStringLiteral("Share name")), 5000);
    std::ifstream in(record);
    std::stringstream asked;
    asked << in.rdbuf();
    EXPECT_EQ(asked.str().rfind("-e\n/bin/sh\n-c\nsudo systemctl enable --now smbd", 0), 0u) << asked.str();
    EXPECT_TRUE(testDialogs().messages.empty());
}

TEST(SharingPageStoppedTest, StoppedServerShowsItsSentenceAlone)
{
    TTempTree root;
    TSmbServer stopped(root.folder("server"), root.folder("data"));
    stopped.configureOnly();
    std::string error;
    ASSERT_TRUE(stopped.start(error)) << error;
    ::setenv("KORVALA_SMB_CONF", stopped.config().c_str(), 1);
    testDialogs().reset();
    auto window = std::make_unique<TfrmKorvala>();
    window->show();
    QTest::mouseClick(window->findToolButton(QStringLiteral("Sharing")), Qt::LeftButton);
    EXPECT_EQ(window->page<TSharingPage>()->mmShare->toPlainText(), QStringLiteral("The Server service is not started."));
    window->close();
    ::unsetenv("KORVALA_SMB_CONF");
}

}  // namespace
