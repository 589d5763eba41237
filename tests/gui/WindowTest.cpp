// The main window: tool set, caption, pages, status bar, settings, the
// periphery windows and the start time.

#include <cstdlib>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStackedWidget>
#include <QTimer>

#include "GuiFixture.h"
#include "LeakCheckPause.h"
#include "app/KorvalaApplication.h"
#include "app/Guard.h"
#include "app/Korvala_Splash.h"
#include "app/pages/ToolPage.h"
#include "platform/SystemStatus.h"
#include "worker/BackgroundWorker.h"

namespace {

const QString kSupportKey = QStringLiteral("Software\\Meridane\\Support");

struct ToolCase {
    const char* button;
    const char* page;
    const char* caption;
    const char* strip;
};

const ToolCase kEnabledTools[] = {
    {"spdAC", "shtAC", "Korvala - \"Attribute Changer\"", "ATTRIBUTE CHANGER"},
    {"spdBFC", "shtBFC", "Korvala - \"Batch Folder Creator\"", "BATCH FOLDER CREATOR"},
    {"spdDTC", "shtDTC", "Korvala - \"DateTime Changer\"", "DATE TIME CHANGER"},
    {"spdDF", "shtDF", "Korvala - \"Duplicate Finder\"", "DUPLICATE FINDER"},
    {"spdFS", "shtFS", "Korvala - \"File Shredder\"", "FILE SHREDDER"},
    {"spdRec", "shtFIC", "Korvala - \"Folder Icon Changer\"", "FOLDER ICON CHANGER"},
    {"spdHash", "shtHash", "Korvala - \"Hash\"", "HASH"},
    {"spdHR", "shtHR", "Korvala - \"Hidden Revealer\"", "HIDDEN REVEALER"},
    {"spdProtect", "shtProtect", "Korvala - \"Protector\"", "PROTECTOR"},
    {"spdSKR", "shtSkr", "Korvala - \"Seeker\"", "SEEKER"},
    {"spdShare", "shtShare", "Korvala - \"Sharing\"", "SHARING"},
    {"spdSJ", "shtSJ", "Korvala - \"Splitter & Joiner\"", "SPLITTER & JOINER"},
    {"spdTO", "shtTO", "Korvala - \"Take Ownership\"", "TAKE OWNERSHIP"},
};

using WindowTest = GuiFixture;

TEST_F(WindowTest, StartsOnAttributeChangerWithPlainCaption)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Korvala"));
    EXPECT_EQ(window->PageControl1()->currentWidget()->objectName(), QStringLiteral("shtAC"));
    EXPECT_TRUE(find<QToolButton>("spdAC")->isChecked());
    EXPECT_EQ(window->PageControl1()->count(), 16);
    EXPECT_EQ(window->size(), QSize(874, 714));
    EXPECT_EQ(window->minimumSize(), QSize(800, 600));
    EXPECT_EQ(find<QLabel>("title")->text(), QStringLiteral("Korvala"));
    EXPECT_EQ(find<QLabel>("lu")->text(), QStringLiteral("2016.8"));
    EXPECT_EQ(window->workers().size(), 11u);
    for (const char* name : {"trdAC", "trdDTC1", "trdDTC2", "trdDF", "trdHash", "trdVChk", "trdCF",
             "trdSplit", "trdJoin", "trdFS", "trdRevealHDN"})
        EXPECT_NE(window->findChild<TBackgroundWorker*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(WindowTest, EachToolButtonShowsItsPageAndSetsTheCaption)
{
    for (const ToolCase& tool : kEnabledTools) {
        SCOPED_TRACE(tool.button);
        QToolButton* button = find<QToolButton>(tool.button);
        click(button);
        EXPECT_EQ(window->PageControl1()->currentWidget()->objectName(), QString::fromLatin1(tool.page));
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(tool.caption));
        EXPECT_EQ(window->activePage()->titleStrip()->text(), QString::fromUtf8(tool.strip));
        EXPECT_EQ(window->activePage()->titleStrip()->height(), 25);
        EXPECT_EQ(button->toolTip(), window->windowTitle().mid(11).chopped(1));
        EXPECT_EQ(window->popALLTag(), window->activePage()->tag());
        // Radio group: only the pressed one stays pressed.
        int pressed = 0;
        for (QToolButton* other : window->findChildren<QToolButton*>())
            if (other->objectName().startsWith(QStringLiteral("spd")) && other->isChecked())
                ++pressed;
        EXPECT_EQ(pressed, 1);
        EXPECT_TRUE(button->isChecked());
    }
}

TEST_F(WindowTest, PressingThePressedButtonAgainKeepsPageAndRewritesCaption)
{
    QToolButton* seeker = find<QToolButton>("spdSKR");
    click(seeker);
    window->setWindowTitle(QStringLiteral("changed"));
    click(seeker);
    EXPECT_TRUE(seeker->isChecked());
    EXPECT_EQ(window->PageControl1()->currentWidget()->objectName(), QStringLiteral("shtSkr"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Korvala - \"Seeker\""));

    // The button pressed at start, pressed for the first time.
    QToolButton* ac = find<QToolButton>("spdAC");
    click(ac);
    click(ac);
    EXPECT_TRUE(ac->isChecked());
    EXPECT_FALSE(seeker->isChecked());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Korvala - \"Attribute Changer\""));
}

TEST_F(WindowTest, ComingSoonToolsAreDisabledAndUnreachable)
{
    for (const char* name : {"spdExp", "spdFFI", "spdRen"}) {
        SCOPED_TRACE(name);
        QToolButton* button = find<QToolButton>(name);
        EXPECT_FALSE(button->isEnabled());
        EXPECT_TRUE(button->toolTip().contains(QStringLiteral("Coming"), Qt::CaseInsensitive));
        click(button);
        EXPECT_EQ(window->PageControl1()->currentWidget()->objectName(), QStringLiteral("shtAC"));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Korvala"));
    }
}

TEST_F(WindowTest, StatusBarAfterATimerTick)
{
    EXPECT_EQ(window->statusPanelText(0), QStringLiteral("Memory Usage : 100%"));
    EXPECT_EQ(window->statusPanelText(1), QStringLiteral("Power : 100%"));
    EXPECT_EQ(window->statusPanelText(2), QStringLiteral("System Uptime : -"));
    EXPECT_EQ(window->Timer1()->interval(), 1000);
    EXPECT_TRUE(window->Timer1()->isActive());
    // A real tick of the running timer.
    QTRY_VERIFY_WITH_TIMEOUT(window->statusPanelText(2) != QStringLiteral("System Uptime : -"), 3000);
    const QRegularExpression memory(QStringLiteral("^Memory Usage : \\d{1,3}%$"));
    const QRegularExpression power(QStringLiteral("^Power : (\\d{1,3}%|AC)$"));
    const QRegularExpression uptime(QStringLiteral(
        "^System Uptime : \\d+ Day\\(s\\) \\d{1,2} Hour\\(s\\) \\d{1,2} Minute\\(s\\) \\d{1,2} Second\\(s\\)$"));
    EXPECT_TRUE(memory.match(window->statusPanelText(0)).hasMatch()) << window->statusPanelText(0).toStdString();
    EXPECT_TRUE(power.match(window->statusPanelText(1)).hasMatch()) << window->statusPanelText(1).toStdString();
    EXPECT_TRUE(uptime.match(window->statusPanelText(2)).hasMatch()) << window->statusPanelText(2).toStdString();
    EXPECT_FALSE(window->statusPanelText(3).isEmpty());
}

TEST(FormatPowerPanelTest, ChargeOrMainsPower)
{
    EXPECT_EQ(FormatPowerPanel(0), QStringLiteral("Power : 0%"));
    EXPECT_EQ(FormatPowerPanel(87), QStringLiteral("Power : 87%"));
    EXPECT_EQ(FormatPowerPanel(100), QStringLiteral("Power : 100%"));
    EXPECT_EQ(FormatPowerPanel(korvala::BATTERY_LIFE_UNKNOWN), QStringLiteral("Power : AC"));
}

TEST(FormatUptimeTest, Table)
{
    const struct {
        uint64_t ms;
        const char* text;
    } cases[] = {
        {0, "0 Day(s) 0 Hour(s) 0 Minute(s) 0 Second(s)"},
        {999, "0 Day(s) 0 Hour(s) 0 Minute(s) 0 Second(s)"},
        {90061000, "1 Day(s) 1 Hour(s) 1 Minute(s) 1 Second(s)"},
        {86399999, "0 Day(s) 23 Hour(s) 59 Minute(s) 59 Second(s)"},
        // Above 2^31: 24 days 20:31:23.648.
        {2147483648ull, "24 Day(s) 20 Hour(s) 31 Minute(s) 23 Second(s)"},
        // 2^32 and beyond: the boot clock does not wrap like a 32-bit tick count.
        {4294967296ull, "49 Day(s) 17 Hour(s) 2 Minute(s) 47 Second(s)"},
        {4294967295ull + 86400000ull, "50 Day(s) 17 Hour(s) 2 Minute(s) 47 Second(s)"},
        {1000ull * 86400000ull + 3723000ull, "1000 Day(s) 1 Hour(s) 2 Minute(s) 3 Second(s)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatUptime(c.ms).toStdString(), c.text) << c.ms;
}

TEST_F(WindowTest, ExecutablePathIsWrittenToTheSettingsFile)
{
    const QString file = QString::fromStdString(testRoot()) + QStringLiteral("/config/Meridane.conf");
    ASSERT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    QSettings ini(file, QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("53")).toString(), QCoreApplication::applicationFilePath());
    EXPECT_EQ(ini.value(QStringLiteral("Support/53")).toString(), QStringLiteral("0"));
}

TEST_F(WindowTest, DonationWindowAtStartFollowsTheSetting)
{
    window.reset();
    const struct {
        const char* value;
        bool shown;
    } cases[] = {{"", true}, {"1", true}, {"0", false}, {"no", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        testDialogs().reset();
        ASSERT_TRUE(WriteUserString(kSupportKey, QStringLiteral("53"), QString::fromLatin1(c.value)));
        TfrmKorvala another;
        const bool shown = !testDialogs().modalWindows.empty()
            && testDialogs().modalWindows.front() == QStringLiteral("frmDonate");
        EXPECT_EQ(shown, c.shown);
        // Before the window was ever shown.
        EXPECT_FALSE(another.isVisible());
    }
    // The screenshot mode never shows it.
    testDialogs().reset();
    ASSERT_TRUE(WriteUserString(kSupportKey, QStringLiteral("53"), QString()));
    TfrmKorvala::Options quiet;
    quiet.allowDonationWindow = false;
    TfrmKorvala screenshot(quiet);
    EXPECT_TRUE(testDialogs().modalWindows.empty());
}

TEST_F(WindowTest, DonationCheckBoxStoresTheChoice)
{
    for (bool show : {false, true}) {
        testDialogs().onModal = [show](QDialog& donation) {
            auto* box = donation.findChild<QCheckBox*>(QStringLiteral("chkShow"));
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), QStringLiteral("Show this dialog when \"Korvala\" starts"));
            box->setChecked(!show);
            box->setChecked(show);
        };
        click(find<QToolButton>("BitBtn9"));
        EXPECT_EQ(ReadUserString(kSupportKey, QStringLiteral("53")), show ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

TEST_F(WindowTest, PeripheryButtonsOpenTheirWindows)
{
    const struct {
        const char* button;
        const char* hint;
        const char* window;
    } cases[] = {
        {"BitBtn6", "About", "frmAbout"},
        {"BitBtn10", "Update Checker", "frmUCheck"},
        {"BitBtn9", "Donate", "frmDonate"},
        {"spdSupport", "Support Us!", "frmSupport"},
        {"btnMore", "More Software", "frmMore"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        testDialogs().reset();
        testDialogs().onModal = [](QDialog& shown) {
            EXPECT_TRUE(shown.isModal() || shown.parentWidget() != nullptr);
            if (const char* dir = std::getenv("KORVALA_SHOT_DIR")) {
                shown.show();
                shown.grab().save(QString::fromLocal8Bit(dir) + u'/' + shown.objectName() + QStringLiteral(".png"));
                shown.hide();
            }
        };
        QToolButton* button = find<QToolButton>(c.button);
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(c.hint));
        click(button);
        ASSERT_EQ(testDialogs().modalWindows.size(), 1u);
        EXPECT_EQ(testDialogs().modalWindows[0], QString::fromLatin1(c.window));
    }
    QToolButton* home = find<QToolButton>("btnHome");
    EXPECT_EQ(home->toolTip(), QStringLiteral("Visit Homepage"));
    click(home);
    ASSERT_EQ(testShell().calls.size(), 1u);
    EXPECT_EQ(testShell().calls[0].kind, "url");
    EXPECT_TRUE(testShell().calls[0].url.startsWith(QStringLiteral("https://")));
}

TEST_F(WindowTest, BadgeDoubleClickOpensTheProgramFolder)
{
    QTest::mouseDClick(find<QLabel>("lu"), Qt::LeftButton);
    ASSERT_EQ(testShell().calls.size(), 1u);
    EXPECT_EQ(testShell().calls[0].kind, "open");
    EXPECT_EQ(QString::fromStdString(testShell().calls[0].path), QCoreApplication::applicationDirPath());
}

TEST_F(WindowTest, IconDoubleClickOpensAnIndependentWindow)
{
    QTest::mouseDClick(find<QLabel>("Image1"), Qt::LeftButton);
    QList<TfrmKorvala*> others = window->findChildren<TfrmKorvala*>();
    ASSERT_EQ(others.size(), 1);
    QPointer<TfrmKorvala> other = others[0];
    EXPECT_TRUE(other->isVisible());
    EXPECT_TRUE(other->isWindow());
    EXPECT_EQ(other->windowTitle(), QStringLiteral("Korvala"));
    // Its own tool set.
    QTest::mouseClick(other->findChild<QToolButton*>(QStringLiteral("spdHash")), Qt::LeftButton);
    EXPECT_EQ(other->windowTitle(), QStringLiteral("Korvala - \"Hash\""));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Korvala"));
    // Closing it leaves the first window as it was.
    other->close();
    QTRY_VERIFY(other.isNull());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, HandlerExceptionIsShownAndTheProgramGoesOn)
{
    // A guarded handler and, as the last line of defence, the application.
    QPushButton guarded(QStringLiteral("guarded"));
    struct Thrower : QObject {
        void fail() { throw korvala::KorvalaError("Cannot do that"); }
    } thrower;
    onClicked(&guarded, &thrower, &Thrower::fail);
    guarded.show();
    click(&guarded);
    ASSERT_EQ(testDialogs().messages.size(), 1u);
    EXPECT_EQ(testDialogs().messages[0].text, QStringLiteral("Cannot do that"));
    EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::Error);

    testDialogs().reset();
    // The exception unwinds through frames of the widget library, which is
    // built without exception support: the event copies it made on the way
    // (and what they refer to) are never freed. That is why handlers are
    // guarded; the leak checker looks away from this one deliberate escape.
    const LeakCheckPause pause;
    QPushButton plain(QStringLiteral("plain"));
    QObject::connect(&plain, &QPushButton::clicked, [] { throw korvala::KorvalaError("Escaped"); });
    plain.show();
    click(&plain);
    ASSERT_EQ(testDialogs().messages.size(), 1u);
    EXPECT_EQ(testDialogs().messages[0].text, QStringLiteral("Escaped"));
}

TEST_F(WindowTest, WorkerErrorsReachTheDialogs)
{
    TBackgroundWorker* worker = window->worker("trdVChk");
    bool completedCancelled = false;
    worker->OnWork = [](TBackgroundWorker&) { throw korvala::KorvalaError("Cannot open file"); };
    worker->OnWorkComplete = [&](TBackgroundWorker&, bool cancelled) { completedCancelled = cancelled; };
    worker->Start();
    worker->WaitFor();
    EXPECT_TRUE(completedCancelled);
    ASSERT_FALSE(testDialogs().messages.empty());
    EXPECT_EQ(testDialogs().messages[0].caption, QStringLiteral("Application Error"));
    EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::Error);
    EXPECT_TRUE(testDialogs().messages[0].text.contains(QStringLiteral("Cannot open file")));
}

TEST(StartTimeTest, MeasuresTheStartToAPaintedWindow)
{
    testDialogs().reset();
    ASSERT_TRUE(WriteUserString(kSupportKey, QStringLiteral("53"), QStringLiteral("0")));
    QElapsedTimer clock;
    clock.start();
    TfrmKorvala window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.grab();  // forces a full paint
    const qint64 ms = clock.elapsed();
    std::printf("[ info     ] start to painted window: %lld ms\n", static_cast<long long>(ms));
    window.close();
}

}  // namespace

namespace {

// The settings file is replaced by a folder of the same name, so that
// writing it fails also for root.
class SettingsFailureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testDialogs().reset();
        ASSERT_TRUE(WriteUserString(kSupportKey, QStringLiteral("53"), QStringLiteral("0")));
        m_file = userSettingsFile();
        m_saved = m_file + QStringLiteral(".saved");
        ASSERT_TRUE(QFile::rename(m_file, m_saved)) << m_file.toStdString();
        ASSERT_TRUE(QDir().mkpath(m_file));
    }
    void TearDown() override
    {
        QDir().rmdir(m_file);
        QFile::rename(m_saved, m_file);
    }
    QString m_file, m_saved;
};

TEST_F(SettingsFailureTest, UnwritableSettingsAreReportedAndTheWindowStillOpens)
{
    TfrmKorvala window;
    ASSERT_EQ(testDialogs().messages.size(), 1u);
    EXPECT_EQ(testDialogs().messages[0].text, QStringLiteral("Error creating system registry entry"));
    // The rest of the start is skipped: no donation window.
    EXPECT_TRUE(testDialogs().modalWindows.empty());
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.PageControl1()->currentWidget()->objectName(), QStringLiteral("shtAC"));
    // The tools' defaults are set all the same, the verifier's "MD5" included.
    EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("cmbHAlg"))->currentText(), QStringLiteral("MD5"));
}

TEST(UserSettingsTest, ValueThatIsNotTextIsAnInvalidDataType)
{
    testDialogs().reset();
    {
        QSettings ini(userSettingsFile(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Support/53"), QStringList{QStringLiteral("a"), QStringLiteral("b")});
    }
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Meridane")).sync();
    EXPECT_THROW(ReadUserString(QStringLiteral("Software\\Meridane\\Support"), QStringLiteral("53")),
        korvala::KorvalaError);
    {
        TfrmKorvala window;
        const QStringList shown = testDialogs().messageTexts();
        EXPECT_EQ(shown, QStringList{QStringLiteral("Invalid data type for '53'")});
        EXPECT_TRUE(testDialogs().modalWindows.empty());
        EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("cmbHAlg"))->currentText(), QStringLiteral("MD5"));
    }
    // Missing key and missing value read as empty text.
    EXPECT_EQ(ReadUserString(QStringLiteral("Software\\Meridane\\Nothing"), QStringLiteral("53")), QString());
    EXPECT_EQ(ReadUserString(QStringLiteral("Software\\Meridane"), QStringLiteral("54")), QString());
    ASSERT_TRUE(WriteUserString(QStringLiteral("Software\\Meridane\\Support"), QStringLiteral("53"), QStringLiteral("0")));
}

TEST(SplashTest, PaintsTheGradientAndHasItsSize)
{
    TfrmKorvalaSplash splash;
    EXPECT_EQ(splash.size(), QSize(467, 155));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    const QImage image = splash.grab().toImage();
    if (const char* dir = std::getenv("KORVALA_SHOT_DIR"))
        image.save(QString::fromLocal8Bit(dir) + QStringLiteral("/splash.png"));
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12
            && std::abs(a.blue() - b.blue()) < 12;
    };
    const QImage scaled = image.scaled(467, 155);
    EXPECT_TRUE(near(scaled.pixelColor(1, 1), QColor(136, 201, 236))) << scaled.pixelColor(1, 1).name().toStdString();
    EXPECT_TRUE(near(scaled.pixelColor(465, 153), QColor(47, 125, 221))) << scaled.pixelColor(465, 153).name().toStdString();
}

}  // namespace
