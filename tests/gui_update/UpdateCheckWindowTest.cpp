// The update check window, opened from the main window's BitBtn10 and
// clicked headless against python3's web server on 127.0.0.1: its layout,
// the server buttons, every result with its colour and cursor, the boxes,
// the download link and Esc.

#include <cstdlib>
#include <memory>
#include <unistd.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "GuiFixture.h"
#include "HttpServer.h"
#include "TempTree.h"
#include "app/UpdateChecker_Main.h"
#include "update/UpdateCheck.h"

using korvala::test::TCannedHttpServer;
using korvala::test::THttpServer;
using korvala::test::TTempTree;

namespace {

const QString kFailedText = QString::fromLatin1(korvala::kUpdateFailedText);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 128, 0);

class UpdateCheckWindowTest : public GuiFixture {
protected:
    static void SetUpTestSuite()
    {
        s_tree = std::make_unique<TTempTree>();
        s_server = THttpServer::started(s_tree->folder("served"), s_tree->path("server.log"), s_error);
    }
    static void TearDownTestSuite()
    {
        s_server.reset();
        s_tree.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_server) << "could not start python3 -m http.server: " << s_error;
        ::setenv("KORVALA_UPDATE_SERVER", s_server->baseAddress().c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", s_tree->folder("runtime", 0700).c_str(), 1);
        ::unlink(s_tree->path("served/update.php").c_str());
        GuiFixture::SetUp();
    }
    void TearDown() override
    {
        GuiFixture::TearDown();
        ::unsetenv("KORVALA_UPDATE_SERVER");
        ::unsetenv("XDG_RUNTIME_DIR");
    }

    static void serve(const std::string& content) { s_tree->file("served/update.php", content); }

    // Opens the window through BitBtn10 and runs body on it while it is
    // shown; the window is gone once this returns, as after its close.
    void withWindow(const std::function<void(TfrmUCheck&)>& body)
    {
        bool ran = false;
        testDialogs().onModal = [&](QDialog& shown) {
            auto* window = qobject_cast<TfrmUCheck*>(&shown);
            ASSERT_NE(window, nullptr) << "BitBtn10 opened " << shown.objectName().toStdString();
            window->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
            body(*window);
            ran = true;
        };
        click(find<QToolButton>("BitBtn10"));
        EXPECT_TRUE(ran);
        EXPECT_EQ(testDialogs().modalWindows, std::vector<QString>({QStringLiteral("frmUCheck")}));
    }

    static QColor textColor(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

    static std::unique_ptr<TTempTree> s_tree;
    static std::unique_ptr<THttpServer> s_server;
    static std::string s_error;
};

std::unique_ptr<TTempTree> UpdateCheckWindowTest::s_tree;
std::unique_ptr<THttpServer> UpdateCheckWindowTest::s_server;
std::string UpdateCheckWindowTest::s_error;

TEST_F(UpdateCheckWindowTest, OpensAsTheOpenerSetsItUp)
{
    withWindow([&](TfrmUCheck& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Update Checker"));
        EXPECT_EQ(w.size(), QSize(475, 242));
        EXPECT_EQ(w.minimumSize(), w.maximumSize());  // a single border: no resizing
        const Qt::WindowFlags flags = w.windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
        EXPECT_LE((w.frameGeometry().center() - window->frameGeometry().center()).manhattanLength(), 4);

        EXPECT_EQ(w.Tag(), 53);
        EXPECT_EQ(w.lblCurrent->text(), window->findChild<QLabel*>(QStringLiteral("lu"))->text());
        EXPECT_EQ(w.lblCurrent->text(), QStringLiteral("2016.8"));
        EXPECT_EQ(w.lblLatest->text(), QStringLiteral("-"));
        EXPECT_EQ(w.Label1->text(), QStringLiteral("CURRENT VERSION"));
        EXPECT_EQ(w.Label2->text(), QStringLiteral("LATEST VERSION"));
        // 14714687 = 0xE0873F: blue 0xE0, green 0x87, red 0x3F.
        for (QWidget* shape : {w.Shape1, w.Shape2})
            EXPECT_EQ(shape->palette().color(QPalette::Window), QColor(0x3F, 0x87, 0xE0));
        EXPECT_EQ(w.GroupBox1->title(), QStringLiteral(" Server "));
        EXPECT_EQ(w.BitBtn1->text(), QStringLiteral("Check for Update"));
        EXPECT_TRUE(w.BitBtn1->font().bold());
        EXPECT_EQ(w.BitBtn1->palette().color(QPalette::ButtonText), kGreen);
        EXPECT_FALSE(w.lblRes->isVisible());

        const QString base = QString::fromStdString(s_server->baseAddress());
        const struct {
            QToolButton* button;
            const char* caption;
            bool enabled;
        } servers[] = {{w.srv1, "1", false}, {w.srv2, "2", true}, {w.srv4, "3", false}};
        for (const auto& s : servers) {
            SCOPED_TRACE(s.caption);
            EXPECT_EQ(s.button->text(), QString::fromLatin1(s.caption));
            EXPECT_EQ(s.button->isEnabled(), s.enabled);
            EXPECT_EQ(s.button->isChecked(), s.enabled);
            EXPECT_TRUE(s.button->toolTip().startsWith(QStringLiteral("Server %1 : ").arg(s.caption)));
            EXPECT_EQ(s.button->toolTip().endsWith(QStringLiteral(" (DEAD)")), !s.enabled);
        }
        EXPECT_EQ(w.srv2->toolTip(), QStringLiteral("Server 2 : ") + base);
        EXPECT_EQ(w.updateAddress(), s_server->baseAddress() + "/update.php");

        // The dead servers cannot be chosen; server 2 stays.
        click(w.srv1);
        click(w.srv4);
        EXPECT_TRUE(w.srv2->isChecked());
        EXPECT_EQ(w.updateAddress(), s_server->baseAddress() + "/update.php");
    });
}

TEST_F(UpdateCheckWindowTest, ANewerVersionOffersItsLink)
{
    serve("[53]\nVersion=2016.10\nDLink=https://korvala.example/download\n");
    withWindow([&](TfrmUCheck& w) {
        click(w.BitBtn1);
        EXPECT_EQ(w.lblLatest->text(), QStringLiteral("2016.10"));
        EXPECT_TRUE(w.lblRes->isVisible());
        EXPECT_EQ(w.lblRes->text(), QStringLiteral("NEW Updates Available, Click here to Download!"));
        EXPECT_EQ(textColor(w.lblRes), kGreen);
        EXPECT_EQ(w.lblRes->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(testDialogs().messages.empty());
        click(w.lblRes);
        ASSERT_EQ(testShell().calls.size(), 1u);
        EXPECT_EQ(testShell().calls[0].kind, "url");
        EXPECT_EQ(testShell().calls[0].url, QStringLiteral("https://korvala.example/download"));
    });
}

TEST_F(UpdateCheckWindowTest, TheSameVersionHasNoLink)
{
    serve("[53]\nVersion=2016.8\nDLink=https://korvala.example/download\n");
    withWindow([&](TfrmUCheck& w) {
        click(w.BitBtn1);
        EXPECT_EQ(w.lblLatest->text(), QStringLiteral("2016.8"));
        EXPECT_EQ(w.lblRes->text(), QStringLiteral("NO Updates Available"));
        EXPECT_EQ(textColor(w.lblRes), kBlue);
        EXPECT_EQ(w.lblRes->cursor().shape(), Qt::ArrowCursor);
        click(w.lblRes);
        EXPECT_TRUE(testShell().calls.empty());
        EXPECT_TRUE(testDialogs().messages.empty());
    });
}

TEST_F(UpdateCheckWindowTest, TheServersTextIsShownAsItIsNeverAsMarkup)
{
    serve("[53]\nVersion=<b>2016</b><img src=\"file:///etc/passwd\">\n");
    withWindow([&](TfrmUCheck& w) {
        click(w.BitBtn1);
        EXPECT_EQ(w.lblLatest->textFormat(), Qt::PlainText);
        EXPECT_EQ(w.lblLatest->text(), QStringLiteral("<b>2016</b><img src=\"file:///etc/passwd\">"));
        EXPECT_EQ(w.lblRes->text(), QStringLiteral("NO Updates Available"));
    });
}

TEST_F(UpdateCheckWindowTest, LinksThatAreNotWebAddressesAreNotOpened)
{
    for (const char* link : {"file:///usr/bin/xterm", "/usr/bin/xterm", "smb://host/share/setup.exe", ""}) {
        SCOPED_TRACE(link);
        testShell().calls.clear();
        serve(std::string("[53]\nVersion=2017\nDLink=") + link + "\n");
        withWindow([&](TfrmUCheck& w) {
            click(w.BitBtn1);
            EXPECT_EQ(w.lblRes->text(), QStringLiteral("NEW Updates Available, Click here to Download!"));
            click(w.lblRes);
            EXPECT_TRUE(testShell().calls.empty());
        });
        testDialogs().reset();
    }
}

TEST_F(UpdateCheckWindowTest, NoVersionOnTheServerEndsInTheErrorDialog)
{
    const char* const served[] = {"[52]\nVersion=2017\n", nullptr};  // no section 53; no file at all
    for (const char* content : served) {
        SCOPED_TRACE(content ? content : "no file");
        if (content)
            serve(content);
        else
            ::unlink(s_tree->path("served/update.php").c_str());
        withWindow([&](TfrmUCheck& w) {
            // A result of an earlier check is replaced, link and cursor too.
            w.lblLatest->setText(QStringLiteral("2017"));
            click(w.BitBtn1);
            EXPECT_EQ(w.lblLatest->text(), QStringLiteral("-"));
            EXPECT_EQ(w.lblRes->text(), QStringLiteral("Update Check failed!"));
            EXPECT_EQ(textColor(w.lblRes), kRed);
            EXPECT_EQ(w.lblRes->cursor().shape(), Qt::ArrowCursor);
            EXPECT_TRUE(w.downloadAddress().empty());
            ASSERT_EQ(testDialogs().messages.size(), 1u);
            EXPECT_EQ(testDialogs().messages[0].text, kFailedText);
            EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::Error);
        });
        testDialogs().reset();
    }
}

TEST_F(UpdateCheckWindowTest, WithoutAConnectionOnlyThatIsSaid)
{
    serve("[53]\nVersion=2017\n");
    const int before = s_server->requests();
    withWindow([&](TfrmUCheck& w) {
        w.connectionTest = [](const std::string&) { return false; };
        click(w.BitBtn1);
        EXPECT_EQ(w.lblRes->text(), QStringLiteral("Update Check failed!"));
        EXPECT_EQ(textColor(w.lblRes), kRed);
        EXPECT_EQ(w.lblLatest->text(), QStringLiteral("-"));
        ASSERT_EQ(testDialogs().messages.size(), 1u);
        EXPECT_EQ(testDialogs().messages[0].text, QStringLiteral("You're not Connected to Internet!"));
        EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::Error);
    });
    EXPECT_EQ(s_server->requests(), before);
}

TEST_F(UpdateCheckWindowTest, AFailedPreparationShowsThePlainBoxFirst)
{
    serve("[53]\nVersion=2017\n");
    const std::string runtime = s_tree->folder("runtime-taken", 0700);
    s_tree->file("runtime-taken/korvala", "in the way");
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    withWindow([&](TfrmUCheck& w) {
        click(w.BitBtn1);
        EXPECT_EQ(w.lblRes->text(), QStringLiteral("Update Check failed!"));
        ASSERT_EQ(testDialogs().messages.size(), 2u);
        EXPECT_EQ(testDialogs().messages[0].text, kFailedText);
        EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::None);
        EXPECT_EQ(testDialogs().messages[1].text, kFailedText);
        EXPECT_EQ(testDialogs().messages[1].icon, Dialogs::Icon::Error);
    });
}

TEST_F(UpdateCheckWindowTest, AServerThatNeverAnswersFailsAfterTheTimeout)
{
    TCannedHttpServer silent("", false);
    ASSERT_TRUE(silent.listening());
    ::setenv("KORVALA_UPDATE_SERVER", silent.baseAddress().c_str(), 1);
    withWindow([&](TfrmUCheck& w) {
        EXPECT_EQ(w.updateAddress(), silent.baseAddress() + "/update.php");
        w.downloadOptions.timeoutMs = 200;
        click(w.BitBtn1);
        EXPECT_EQ(w.lblRes->text(), QStringLiteral("Update Check failed!"));
        ASSERT_EQ(testDialogs().messages.size(), 1u);
        EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::Error);
    });
    EXPECT_EQ(silent.connections(), 1);
}

TEST_F(UpdateCheckWindowTest, EscClosesTheWindow)
{
    withWindow([&](TfrmUCheck& w) {
        QTest::keyClick(&w, Qt::Key_Escape);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.result(), QDialog::Rejected);
    });
}

TEST_F(UpdateCheckWindowTest, TheServerButtonChoosesTheAddress)
{
    withWindow([&](TfrmUCheck& w) {
        w.srv1->setEnabled(true);  // as if server 1 answered again
        click(w.srv1);
        EXPECT_EQ(w.updateAddress(), w.srv1->property("HelpKeyword").toString().toStdString() + "/update.php");
        click(w.srv2);
        EXPECT_EQ(w.updateAddress(), s_server->baseAddress() + "/update.php");
    });
}

}  // namespace
