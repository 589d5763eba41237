// The DateTime Changer page: its controls, the CURRENT display, the resets
// and the Info text, and passes of trdDTC1 ("Set by Specified DateTime") and
// trdDTC2 ("Set by Age") on real files, completed, aborted and failed.
// The tests run in a zone with daylight saving, so that local and UTC values
// cannot be confused without a test noticing.

#include <sys/stat.h>

#include <cstdlib>
#include <optional>

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>

#include "PageTestSupport.h"
#include "app/pages/DateTimeChangerPage.h"
#include "platform/DateTime.h"
#include "platform/FileAttributes.h"
#include "platform/FileTimes.h"
#include "tools/datetime/AgeShift.h"
#include "worker/BackgroundWorker.h"

namespace {

using namespace korvala;

timespec utc(int year, int month, int day, int hour, int minute, int second, long ns = 0)
{
    struct tm t {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return timespec{timegm(&t), ns};
}

std::string describe(const timespec& t)
{
    char text[64];
    struct tm parts {};
    gmtime_r(&t.tv_sec, &parts);
    strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return std::string(text) + "." + std::to_string(t.tv_nsec) + " UTC";
}

FileTimes timesOf(const std::string& path)
{
    FileTimes t;
    const std::error_code ec = readFileTimes(path, t);
    EXPECT_FALSE(ec) << path << ": " << ec.message();
    return t;
}

void expectSame(const timespec& actual, const timespec& expected, const char* what)
{
    EXPECT_TRUE(actual.tv_sec == expected.tv_sec && actual.tv_nsec == expected.tv_nsec)
        << what << " is " << describe(actual) << ", expected " << describe(expected);
}

void expectTimes(const std::string& path, const timespec& created, const timespec& modified, const timespec& accessed)
{
    SCOPED_TRACE(path);
    const FileTimes t = timesOf(path);
    expectSame(t.created, created, "created");
    expectSame(t.modified, modified, "modified");
    expectSame(t.accessed, accessed, "accessed");
}

const QString kCompleted = QStringLiteral("DateTime Changing process Completed!");
const QString kAborted = QStringLiteral("DateTime Changing process ABORTED!");

class DateTimeChangerPageTest : public GuiFixture {
protected:
    void SetUp() override
    {
        if (const char* old = std::getenv("TZ"))
            oldZone = old;
        setenv("TZ", "Europe/Berlin", 1);
        reloadTimeZone();
        GuiFixture::SetUp();
        page = window->page<TDateTimeChangerPage>();
        window->ToolsSelect(window->toolButton(1));
        folder = tree.root();
    }

    void TearDown() override
    {
        for (const std::string& p : made)
            setFileAttributes(p, 0);
        GuiFixture::TearDown();
        if (oldZone)
            setenv("TZ", oldZone->c_str(), 1);
        else
            unsetenv("TZ");
        reloadTimeZone();
    }

    // A file with known stamps: created and accessed with odd seconds and a
    // fraction, modified late in the evening (UTC) so that its local date in
    // Berlin is the next day.
    std::string fileWithTimes(const std::string& name)
    {
        const std::string path = tree.file(name, "content of " + name);
        made.push_back(path);
        EXPECT_FALSE(writeFileTimes(path, created0, modified0, accessed0)) << path;
        return path;
    }

    // Shows the sub-page of a CHANGE DATETIME button, so that it can be clicked.
    void showTabOf(QPushButton* button)
    {
        page->PageControl2->setCurrentWidget(button == page->Button12 ? page->shtADT : page->shtSDT);
    }

    void runWith(QPushButton* button, TBackgroundWorker* worker)
    {
        showTabOf(button);
        click(button);
        worker->WaitFor();
    }

    const timespec created0 = utc(2019, 1, 10, 10, 0, 3, 750000000);
    const timespec modified0 = utc(2019, 1, 20, 23, 30, 5, 0);
    const timespec accessed0 = utc(2019, 1, 5, 12, 0, 1, 500000000);

    std::optional<std::string> oldZone;
    TDateTimeChangerPage* page = nullptr;
    korvala::test::TTempTree tree;
    std::string folder;
    std::vector<std::string> made;
};

TEST_F(DateTimeChangerPageTest, ControlsStartAsDescribed)
{
    auto* tabs = find<QTabWidget>("PageControl2");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Set by Specified DateTime"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Set by Age"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Set by Reference"));
    EXPECT_TRUE(tabs->isTabVisible(0));
    EXPECT_TRUE(tabs->isTabVisible(1));
    EXPECT_FALSE(tabs->isTabVisible(2));
    EXPECT_EQ(find<QLabel>("Label75")->toolTip(),
        QStringLiteral("Change \"File/Folder\" created, modified or accesed DateTime"));

    for (const char* name : {"GroupBox4", "GroupBox5"})
        EXPECT_EQ(find<QGroupBox>(name)->title(), QStringLiteral(" CURRENT DateTime (Selected) "));
    for (const char* name : {"GroupBox3", "GroupBox7"})
        EXPECT_EQ(find<QGroupBox>(name)->title(), QStringLiteral(" NEW DateTime "));
    for (const char* name : {"lblCreate1", "lblMod1", "lblAccess1", "lblCreate2", "lblMod2", "lblAccess2"})
        EXPECT_EQ(find<QLabel>(name)->text(), QStringLiteral("-")) << name;
    // Each group's rows are captioned by the stamp's name alone.
    for (const char* name : {"GroupBox4", "GroupBox5", "GroupBox3", "GroupBox7"}) {
        QStringList captions;
        for (QLabel* label : find<QGroupBox>(name)->findChildren<QLabel*>())
            if (label->text().startsWith(QStringLiteral("Last ")))
                captions << label->text();
        EXPECT_EQ(captions, (QStringList{QStringLiteral("Last Created"), QStringLiteral("Last Modified"),
                                QStringLiteral("Last Accessed")}))
            << name;
    }

    // The pickers show the present, all ticked.
    int year, month, day;
    decodeDate(nowLocal(), year, month, day);
    for (const char* name : {"DCreate1", "DMod1", "DAccess1"}) {
        auto* picker = find<QDateEdit>(name);
        EXPECT_EQ(picker->displayFormat(), QStringLiteral("MM/dd/yyyy"));
        EXPECT_LE(std::abs(picker->date().daysTo(QDate(year, month, day))), 1) << name;
        EXPECT_TRUE(find<QCheckBox>((std::string(name) + "Check").c_str())->isChecked()) << name;
    }
    for (const char* name : {"TCreate1", "TMod1", "TAccess1"}) {
        find<QTimeEdit>(name);
        EXPECT_TRUE(find<QCheckBox>((std::string(name) + "Check").c_str())->isChecked()) << name;
    }

    const struct {
        const char* column;
        int limit;
        const char* hint;
    } columns[] = {{"DD", 10000, "Date"}, {"DM", 2500, "Month"}, {"DY", 250, "Year"},
        {"TH", 100000, "Hour"}, {"TM", 100000, "Minute"}, {"TS", 100000, "Second"}};
    for (const char row : {'C', 'M', 'A'}) {
        for (const auto& c : columns) {
            const std::string name = std::string(1, row) + c.column;
            auto* spin = find<QSpinBox>(name.c_str());
            ASSERT_NE(spin, nullptr);
            EXPECT_EQ(spin->minimum(), -c.limit) << name;
            EXPECT_EQ(spin->maximum(), c.limit) << name;
            EXPECT_EQ(spin->value(), 0) << name;
            EXPECT_EQ(spin->toolTip(), QString::fromLatin1(c.hint)) << name;
        }
    }
    const struct {
        const char* name;
        const char* text;
    } buttons[] = {{"Button11", "CHANGE DATETIME"}, {"Button12", "CHANGE DATETIME"}, {"Button14", "Reset Date"},
        {"Button15", "Reset Time"}, {"Button38", "Info"}};
    for (const auto& b : buttons)
        EXPECT_EQ(find<QPushButton>(b.name)->text(), QString::fromLatin1(b.text)) << b.name;
}

TEST_F(DateTimeChangerPageTest, ClickingAnEntryShowsItsLocalTimes)
{
    const std::string path = tree.file("shown.txt", "content of shown.txt");
    // Summer in Berlin: local = UTC + 2.
    ASSERT_FALSE(writeFileTimes(path, utc(2014, 7, 28, 9, 41, 3, 900000000), utc(2015, 12, 31, 23, 0, 0),
        utc(2016, 2, 29, 0, 0, 59)));
    addThroughDialog(page->Button8, {path, folder + "/gone.txt"});

    clickRow(page->DTCList, 0);
    for (QLabel* label : {page->lblCreate1, page->lblCreate2, page->lblCreate3})
        EXPECT_EQ(label->text(), QStringLiteral("Monday, 07/28/2014, 11:41:03"));
    for (QLabel* label : {page->lblMod1, page->lblMod2, page->lblMod3})
        EXPECT_EQ(label->text(), QStringLiteral("Friday, 01/01/2016, 00:00:00"));
    for (QLabel* label : {page->lblAccess1, page->lblAccess2, page->lblAccess3})
        EXPECT_EQ(label->text(), QStringLiteral("Monday, 02/29/2016, 01:00:59"));

    // The week day is named in the user's language.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    clickRow(page->DTCList, 1);
    clickRow(page->DTCList, 0);
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(page->lblCreate1->text(), QStringLiteral("Montag, 07/28/2014, 11:41:03"));
    EXPECT_EQ(page->lblMod2->text(), QStringLiteral("Freitag, 01/01/2016, 00:00:00"));

    // A path that is gone has no times.
    clickRow(page->DTCList, 1);
    for (QLabel* label : {page->lblCreate1, page->lblMod1, page->lblAccess1, page->lblCreate2, page->lblMod2,
             page->lblAccess2, page->lblCreate3, page->lblMod3, page->lblAccess3})
        EXPECT_EQ(label->text(), QStringLiteral("-")) << label->objectName().toStdString();
    EXPECT_TRUE(testDialogs().messages.empty());
}

TEST_F(DateTimeChangerPageTest, SpecifiedPassUsesTickedPickersAndKeepsTheRest)
{
    const std::string a = fileWithTimes("a.txt");
    const std::string b = fileWithTimes("b.txt");
    const std::string readOnly = fileWithTimes("ro.txt");
    ASSERT_FALSE(setFileAttributes(readOnly, FILE_ATTRIBUTE_READONLY));
    const FileTimes readOnlyBefore = timesOf(readOnly);
    addThroughDialog(page->Button8, {a, folder + "/gone.txt", readOnly, b});

    // Created and accessed: only the date; modified: only the time of day.
    page->DCreate1->setDate(QDate(2020, 1, 15));
    click(page->TCreate1Check);
    click(page->DMod1Check);
    page->TMod1->setTime(QTime(7, 8, 9, 400));
    page->DAccess1->setDate(QDate(2018, 6, 1));
    click(page->TAccess1Check);
    EXPECT_FALSE(page->TCreate1->isEnabled());
    EXPECT_TRUE(page->DCreate1->isEnabled());

    runWith(page->Button11, window->worker("trdDTC1"));
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{kCompleted});
    EXPECT_EQ(page->Button11->text(), QStringLiteral("CHANGE DATETIME"));
    for (const std::string& path : {a, b}) {
        // Created: 11:00:03 local kept on 15 January 2020, to the even second.
        // Modified: local date 21 January (00:30 in Berlin) at 07:08:08.
        // Accessed: 13:00:01 local kept on 1 June 2018 (summer time, UTC + 2).
        expectTimes(path, utc(2020, 1, 15, 10, 0, 2), utc(2019, 1, 21, 6, 8, 8), utc(2018, 6, 1, 11, 0, 0));
    }
    // A read-only file cannot be opened for writing: it keeps its times.
    expectTimes(readOnly, readOnlyBefore.created, readOnlyBefore.modified, readOnlyBefore.accessed);
}

TEST_F(DateTimeChangerPageTest, AgePassMovesEachStampByItsRow)
{
    const std::string a = fileWithTimes("a.txt");
    const std::string sub = folder + "/sub";
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    const timespec folderTime = utc(2019, 1, 10, 8, 0, 0);
    ASSERT_FALSE(writeFileTimes(sub, folderTime, folderTime, folderTime));
    addThroughDialog(page->Button8, {a, folder + "/gone.txt"});
    page->DTCList->addPath(sub);  // folders arrive by drop or from the Seeker
    page->PageControl2->setCurrentWidget(page->shtADT);

    page->MDD->setValue(1);
    page->ADD->setValue(-1);
    page->ATH->setValue(2);
    runWith(page->Button12, window->worker("trdDTC2"));
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{kCompleted});
    EXPECT_EQ(page->Button12->text(), QStringLiteral("CHANGE DATETIME"));
    // A file gets the moved values exactly; an all-zero row is left alone.
    expectTimes(a, created0, utc(2019, 1, 21, 23, 30, 5), utc(2019, 1, 4, 14, 0, 1, 500000000));
    expectTimes(sub, folderTime, utc(2019, 1, 11, 8, 0, 0), utc(2019, 1, 9, 10, 0, 0));
}

// Each of the eighteen spin edits moves its own stamp by its own unit.
TEST_F(DateTimeChangerPageTest, EverySpinEditMovesItsOwnStampByItsUnit)
{
    const std::string path = fileWithTimes("a.txt");
    addThroughDialog(page->Button8, {path});
    QSpinBox* const rows[3][6] = {{page->CDD, page->CDM, page->CDY, page->CTH, page->CTM, page->CTS},
        {page->MDD, page->MDM, page->MDY, page->MTH, page->MTM, page->MTS},
        {page->ADD, page->ADM, page->ADY, page->ATH, page->ATM, page->ATS}};
    const int amounts[6] = {3, 2, -1, 5, -7, 9};  // Day, Month, Year, Hour, Min., Sec.
    const timespec stored[3] = {created0, modified0, accessed0};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 6; ++c) {
            SCOPED_TRACE(rows[r][c]->objectName().toStdString());
            ASSERT_FALSE(writeFileTimes(path, created0, modified0, accessed0));
            testDialogs().reset();
            rows[r][c]->setValue(amounts[c]);
            runWith(page->Button12, window->worker("trdDTC2"));
            rows[r][c]->setValue(0);
            EXPECT_EQ(testDialogs().messageTexts(), QStringList{kCompleted});

            DateTimeOffsets offsets;
            int* fields[6] = {&offsets.days, &offsets.months, &offsets.years, &offsets.hours, &offsets.minutes,
                &offsets.seconds};
            *fields[c] = amounts[c];
            timespec expected[3] = {created0, modified0, accessed0};
            expected[r] = ShiftByAge(stored[r], offsets);
            expectTimes(path, expected[0], expected[1], expected[2]);
        }
    }
}

TEST_F(DateTimeChangerPageTest, AgeFailureOnAFileAbortsWithTheSystemError)
{
    // Two hundred and fifty years back is before what the file system can
    // hold: the pass stops with the reason and leaves the next file alone.
    const std::string a = fileWithTimes("a.txt");
    const std::string b = fileWithTimes("b.txt");
    addThroughDialog(page->Button8, {a, b});
    page->MDY->setValue(-250);
    runWith(page->Button12, window->worker("trdDTC2"));
    ASSERT_EQ(testDialogs().messages.size(), 2u) << testDialogs().messageTexts().join('|').toStdString();
    EXPECT_EQ(testDialogs().messages[0].caption, QStringLiteral("Application Error"));
    EXPECT_TRUE(testDialogs().messages[0].text.contains(QStringLiteral("System Error.  Code: ")))
        << testDialogs().messages[0].text.toStdString();
    EXPECT_EQ(testDialogs().messages[1].text, kAborted);
    expectTimes(a, created0, modified0, accessed0);
    expectTimes(b, created0, modified0, accessed0);
}

TEST_F(DateTimeChangerPageTest, ClickingAgainAbortsBeforeTheNextEntry)
{
    const std::string a = fileWithTimes("a.txt");
    const std::string b = fileWithTimes("b.txt");
    addThroughDialog(page->Button8, {a, b});
    page->DCreate1->setDate(QDate(2020, 1, 15));
    click(page->TCreate1Check);
    QString captionDuringRun;
    QObject::connect(page, &TDateTimeChangerPage::entryRequested, page, [&](TBackgroundWorker*, int position) {
        if (position == 0) {
            captionDuringRun = page->Button11->text();
            click(page->Button11);
        }
    });
    click(page->Button11);
    EXPECT_TRUE(window->worker("trdDTC1")->IsWorking());
    window->worker("trdDTC1")->WaitFor();
    EXPECT_EQ(captionDuringRun, QStringLiteral("ABORT"));
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{kAborted});
    EXPECT_EQ(page->Button11->text(), QStringLiteral("CHANGE DATETIME"));
    EXPECT_EQ(timesOf(a).created.tv_sec, utc(2020, 1, 15, 10, 0, 2).tv_sec);
    expectTimes(b, created0, modified0, accessed0);
}

TEST_F(DateTimeChangerPageTest, ShortenedListEndsTheAgePassThroughTheErrorBox)
{
    const std::string a = fileWithTimes("a.txt");
    const std::string b = fileWithTimes("b.txt");
    addThroughDialog(page->Button8, {a, b});
    page->CDD->setValue(1);
    QObject::connect(page, &TDateTimeChangerPage::entryRequested, page, [&](TBackgroundWorker*, int position) {
        if (position == 0)
            click(page->Button10);  // Remove All while the first entry is read
    });
    runWith(page->Button12, window->worker("trdDTC2"));
    ASSERT_EQ(testDialogs().messages.size(), 2u) << testDialogs().messageTexts().join('|').toStdString();
    EXPECT_EQ(testDialogs().messages[0].caption, QStringLiteral("Application Error"));
    EXPECT_TRUE(testDialogs().messages[0].text.endsWith(QStringLiteral("List index out of bounds (0)")))
        << testDialogs().messages[0].text.toStdString();
    EXPECT_EQ(testDialogs().messages[1].text, kAborted);
    expectTimes(a, created0, modified0, accessed0);
    expectTimes(b, created0, modified0, accessed0);
}

TEST_F(DateTimeChangerPageTest, EmptyListStartsNothing)
{
    for (QPushButton* button : {page->Button11, page->Button12}) {
        showTabOf(button);
        click(button);
        QTest::qWait(20);
        EXPECT_EQ(button->text(), QStringLiteral("CHANGE DATETIME"));
    }
    EXPECT_FALSE(window->worker("trdDTC1")->IsWorking());
    EXPECT_FALSE(window->worker("trdDTC2")->IsWorking());
    EXPECT_TRUE(testDialogs().messages.empty());
}

TEST_F(DateTimeChangerPageTest, ResetDateResetTimeAndInfo)
{
    const std::vector<QSpinBox*> dates = {page->CDD, page->CDM, page->CDY, page->MDD, page->MDM, page->MDY,
        page->ADD, page->ADM, page->ADY};
    const std::vector<QSpinBox*> times = {page->CTH, page->CTM, page->CTS, page->MTH, page->MTM, page->MTS,
        page->ATH, page->ATM, page->ATS};
    page->PageControl2->setCurrentWidget(page->shtADT);
    for (QSpinBox* spin : dates)
        spin->setValue(-7);
    for (QSpinBox* spin : times)
        spin->setValue(9);
    click(page->Button14);
    for (QSpinBox* spin : dates)
        EXPECT_EQ(spin->value(), 0) << spin->objectName().toStdString();
    for (QSpinBox* spin : times)
        EXPECT_EQ(spin->value(), 9) << spin->objectName().toStdString();
    for (QSpinBox* spin : dates)
        spin->setValue(5);
    click(page->Button15);
    for (QSpinBox* spin : times)
        EXPECT_EQ(spin->value(), 0) << spin->objectName().toStdString();
    for (QSpinBox* spin : dates)
        EXPECT_EQ(spin->value(), 5) << spin->objectName().toStdString();

    click(page->Button38);
    ASSERT_EQ(testDialogs().messages.size(), 1u);
    EXPECT_EQ(testDialogs().messages[0].text,
        QStringLiteral("<< How to Use \"Set by Age\" Feature >>\r\"Positive\" Value will make File DateTime "
                       "\"YOUNGER\"\r\"Negative\" Value will make File DateTime \"OLDER\"\r\r<< Example "
                       ">>\r\rIf you Set :\rDay = 1\rMonth = 2\rYear = -1\rHour = 1\rMinute = 2\rSecond = "
                       "-5\r\rThis'll make the file :\r1 Day YOUNGER\r2 Months YOUNGER\r1 Year OLDER\r1 Hour "
                       "YOUNGER\r2 Minutes YOUNGER\r5 Seconds OLDER\r"));
}

}  // namespace
