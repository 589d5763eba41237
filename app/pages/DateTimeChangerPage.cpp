#include "app/pages/DateTimeChangerPage.h"

#include <optional>

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"
#include "app/kit/PageWidgets.h"
#include "app/kit/ToolRun.h"
#include "platform/DateTime.h"
#include "tools/datetime/AgeShift.h"
#include "tools/datetime/DateTimeChanger.h"
#include "tools/datetime/FileDateTime.h"
#include "worker/PerEntry.h"

namespace {

const QString kStartCaption = QStringLiteral("CHANGE DATETIME");
const QString kAbortCaption = QStringLiteral("ABORT");
// The CURRENT labels after the week day's name.
const char* const kCurrentFormat = "MM/dd/yyyy, hh:mm:ss";

const QString kInfoText = QStringLiteral(
    "<< How to Use \"Set by Age\" Feature >>\r"
    "\"Positive\" Value will make File DateTime \"YOUNGER\"\r"
    "\"Negative\" Value will make File DateTime \"OLDER\"\r"
    "\r"
    "<< Example >>\r"
    "\r"
    "If you Set :\r"
    "Day = 1\r"
    "Month = 2\r"
    "Year = -1\r"
    "Hour = 1\r"
    "Minute = 2\r"
    "Second = -5\r"
    "\r"
    "This'll make the file :\r"
    "1 Day YOUNGER\r"
    "2 Months YOUNGER\r"
    "1 Year OLDER\r"
    "1 Hour YOUNGER\r"
    "2 Minutes YOUNGER\r"
    "5 Seconds OLDER\r");

const char* const kRowCaptions[3] = {"Last Created", "Last Modified", "Last Accessed"};

// The big start button of a sub-page.
QPushButton* makeBigButton(QWidget* parent, const char* name)
{
    return kit::bigStartButton(parent, name, kStartCaption, QSize(160, 80), 2);
}

// " CURRENT DateTime (Selected) ": the three rows with their value labels.
QGroupBox* makeCurrentGroup(QWidget* parent, const char* groupName, QLabel* (&values)[3],
    const char* const (&valueNames)[3])
{
    auto* group = new QGroupBox(QStringLiteral(" CURRENT DateTime (Selected) "), parent);
    if (groupName)
        group->setObjectName(QString::fromLatin1(groupName));
    auto* grid = new QGridLayout(group);
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(kit::label(group, nullptr, QString::fromLatin1(kRowCaptions[row])), row, 0);
        values[row] = kit::label(group, valueNames[row], QStringLiteral("-"));
        values[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(values[row], row, 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    return group;
}

// A check box that switches its picker on and off, as the system's date and
// time pickers with a check box do.
QCheckBox* makePickerCheck(QWidget* parent, QWidget* picker)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(picker->objectName() + QStringLiteral("Check"));
    box->setChecked(true);
    QObject::connect(box, &QCheckBox::toggled, picker, &QWidget::setEnabled);
    return box;
}

QDateEdit* makeDatePicker(QWidget* parent, const char* name)
{
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(QString::fromLatin1(name));
    picker->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    picker->setCalendarPopup(true);
    // The dates are written through the two-second DOS form, which has the
    // years 1980 to 2107 only; the picker offers no date that cannot be written.
    picker->setDateRange(QDate(1980, 1, 1), QDate(2107, 12, 31));
    return picker;
}

QTimeEdit* makeTimePicker(QWidget* parent, const char* name)
{
    auto* picker = new QTimeEdit(parent);
    picker->setObjectName(QString::fromLatin1(name));
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

QSpinBox* makeSpin(QWidget* parent, const char* name, int limit, const QString& hint)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(-limit, limit);
    spin->setValue(0);
    spin->setToolTip(hint);
    spin->setMinimumWidth(64);
    return spin;
}

// The text of one CURRENT label: the local time as "dddd, MM/dd/yyyy,
// hh:mm:ss" with the week day's full name in the user's language, or "-" when
// the path has no times (it no longer exists or cannot be looked up).
QString currentText(const std::optional<korvala::TDateTime>& utc)
{
    if (!utc)
        return QStringLiteral("-");
    const korvala::TDateTime local = korvala::UTCToLocalDateTime(*utc);
    int year = 0, month = 0, day = 0;
    korvala::decodeDate(local, year, month, day);
    const QString weekDay = QLocale().dayName(QDate(year, month, day).dayOfWeek(), QLocale::LongFormat);
    return weekDay + QStringLiteral(", ") + QString::fromStdString(korvala::formatDateTime(kCurrentFormat, local));
}

korvala::NewTimeChoice choiceOf(const QCheckBox* dateTicked, const QDateEdit* date, const QCheckBox* timeTicked,
    const QTimeEdit* time)
{
    korvala::NewTimeChoice choice;
    if (dateTicked->isChecked()) {
        const QDate d = date->date();
        choice.date = korvala::encodeDate(d.year(), d.month(), d.day());
    }
    if (timeTicked->isChecked()) {
        const QTime t = time->time();
        choice.timeOfDay = korvala::encodeTime(t.hour(), t.minute(), t.second(), t.msec());
    }
    return choice;
}

korvala::DateTimeOffsets offsetsOf(const QSpinBox* years, const QSpinBox* months, const QSpinBox* days,
    const QSpinBox* hours, const QSpinBox* minutes, const QSpinBox* seconds)
{
    korvala::DateTimeOffsets offsets;
    offsets.years = years->value();
    offsets.months = months->value();
    offsets.days = days->value();
    offsets.hours = hours->value();
    offsets.minutes = minutes->value();
    offsets.seconds = seconds->value();
    return offsets;
}

}  // namespace

TDateTimeChangerPage::TDateTimeChangerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtDTC"), QStringLiteral("DateTime Changer"), QStringLiteral("DATE TIME CHANGER"), QStringLiteral("Label75"))
{
    titleStrip()->setToolTip(QStringLiteral("Change \"File/Folder\" created, modified or accesed DateTime"));
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "DTCList", .counter = "Label4", .caption = "Label3", .addFiles = "Button8", .remove = "Button9",
            .removeAll = "Button10"},
        {.list = &DTCList, .counter = &Label4, .caption = &Label3, .addFiles = &Button8, .remove = &Button9, .removeAll = &Button10});
    body()->addWidget(listBlock, 1);

    PageControl2 = new QTabWidget(this);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    body()->addWidget(PageControl2);

    // --- "Set by Specified DateTime" ---------------------------------------
    shtSDT = new QWidget(PageControl2);
    shtSDT->setObjectName(QStringLiteral("shtSDT"));
    {
        auto* row = new QHBoxLayout(shtSDT);
        auto* groups = new QVBoxLayout;
        row->addLayout(groups, 1);
        QLabel* values[3];
        GroupBox4 = makeCurrentGroup(shtSDT, "GroupBox4", values, {"lblCreate1", "lblMod1", "lblAccess1"});
        lblCreate1 = values[0];
        lblMod1 = values[1];
        lblAccess1 = values[2];
        groups->addWidget(GroupBox4);

        GroupBox3 = new QGroupBox(QStringLiteral(" NEW DateTime "), shtSDT);
        GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
        auto* grid = new QGridLayout(GroupBox3);
        DCreate1 = makeDatePicker(GroupBox3, "DCreate1");
        TCreate1 = makeTimePicker(GroupBox3, "TCreate1");
        DMod1 = makeDatePicker(GroupBox3, "DMod1");
        TMod1 = makeTimePicker(GroupBox3, "TMod1");
        DAccess1 = makeDatePicker(GroupBox3, "DAccess1");
        TAccess1 = makeTimePicker(GroupBox3, "TAccess1");
        DCreate1Check = makePickerCheck(GroupBox3, DCreate1);
        TCreate1Check = makePickerCheck(GroupBox3, TCreate1);
        DMod1Check = makePickerCheck(GroupBox3, DMod1);
        TMod1Check = makePickerCheck(GroupBox3, TMod1);
        DAccess1Check = makePickerCheck(GroupBox3, DAccess1);
        TAccess1Check = makePickerCheck(GroupBox3, TAccess1);
        const struct {
            QCheckBox* dateCheck;
            QDateEdit* date;
            QCheckBox* timeCheck;
            QTimeEdit* time;
        } rows[3] = {{DCreate1Check, DCreate1, TCreate1Check, TCreate1}, {DMod1Check, DMod1, TMod1Check, TMod1},
            {DAccess1Check, DAccess1, TAccess1Check, TAccess1}};
        for (int r = 0; r < 3; ++r) {
            grid->addWidget(kit::label(GroupBox3, nullptr, QString::fromLatin1(kRowCaptions[r])), r, 0);
            grid->addWidget(rows[r].dateCheck, r, 1);
            grid->addWidget(rows[r].date, r, 2);
            grid->addWidget(rows[r].timeCheck, r, 3);
            grid->addWidget(rows[r].time, r, 4);
        }
        grid->setColumnStretch(5, 1);
        groups->addWidget(GroupBox3);

        Button11 = makeBigButton(shtSDT, "Button11");
        kit::makeDefaultButton(shtSDT, Button11);
        row->addWidget(Button11, 0, Qt::AlignBottom);
    }
    PageControl2->addTab(shtSDT, QStringLiteral("Set by Specified DateTime"));

    // --- "Set by Age" ------------------------------------------------------
    shtADT = new QWidget(PageControl2);
    shtADT->setObjectName(QStringLiteral("shtADT"));
    {
        auto* row = new QHBoxLayout(shtADT);
        auto* groups = new QVBoxLayout;
        row->addLayout(groups, 1);
        QLabel* values[3];
        GroupBox5 = makeCurrentGroup(shtADT, "GroupBox5", values, {"lblCreate2", "lblMod2", "lblAccess2"});
        lblCreate2 = values[0];
        lblMod2 = values[1];
        lblAccess2 = values[2];
        groups->addWidget(GroupBox5);

        GroupBox7 = new QGroupBox(QStringLiteral(" NEW DateTime "), shtADT);
        GroupBox7->setObjectName(QStringLiteral("GroupBox7"));
        auto* grid = new QGridLayout(GroupBox7);
        const char* const headers[6] = {"Day", "Month", "Year", "Hour", "Min.", "Sec."};
        for (int c = 0; c < 6; ++c)
            grid->addWidget(kit::label(GroupBox7, nullptr, QString::fromLatin1(headers[c])), 0, c + 1, Qt::AlignHCenter);
        // Columns Day, Month, Year, Hour, Min., Sec.: range and hint of each.
        const int limits[6] = {10000, 2500, 250, 100000, 100000, 100000};
        const char* const hints[6] = {"Date", "Month", "Year", "Hour", "Minute", "Second"};
        QSpinBox** cells[3][6] = {{&CDD, &CDM, &CDY, &CTH, &CTM, &CTS}, {&MDD, &MDM, &MDY, &MTH, &MTM, &MTS},
            {&ADD, &ADM, &ADY, &ATH, &ATM, &ATS}};
        const char* const cellNames[3][6] = {{"CDD", "CDM", "CDY", "CTH", "CTM", "CTS"},
            {"MDD", "MDM", "MDY", "MTH", "MTM", "MTS"}, {"ADD", "ADM", "ADY", "ATH", "ATM", "ATS"}};
        for (int r = 0; r < 3; ++r) {
            grid->addWidget(kit::label(GroupBox7, nullptr, QString::fromLatin1(kRowCaptions[r])), r + 1, 0);
            for (int c = 0; c < 6; ++c) {
                *cells[r][c] = makeSpin(GroupBox7, cellNames[r][c], limits[c], QString::fromLatin1(hints[c]));
                grid->addWidget(*cells[r][c], r + 1, c + 1);
            }
        }
        auto* buttons = new QHBoxLayout;
        Button14 = kit::button(GroupBox7, "Button14", QStringLiteral("Reset Date"));
        Button15 = kit::button(GroupBox7, "Button15", QStringLiteral("Reset Time"));
        Button38 = kit::button(GroupBox7, "Button38", QStringLiteral("Info"));
        buttons->addWidget(Button14);
        buttons->addWidget(Button15);
        buttons->addStretch(1);
        buttons->addWidget(Button38);
        grid->addLayout(buttons, 4, 0, 1, 7);
        grid->setColumnStretch(7, 1);
        groups->addWidget(GroupBox7);

        Button12 = makeBigButton(shtADT, "Button12");
        kit::makeDefaultButton(shtADT, Button12);
        row->addWidget(Button12, 0, Qt::AlignBottom);
    }
    PageControl2->addTab(shtADT, QStringLiteral("Set by Age"));

    // --- "Set by Reference": kept for its labels; its tab is hidden --------
    shtRDT = new QWidget(PageControl2);
    shtRDT->setObjectName(QStringLiteral("shtRDT"));
    {
        auto* row = new QHBoxLayout(shtRDT);
        QLabel* values[3];
        row->addWidget(makeCurrentGroup(shtRDT, nullptr, values, {"lblCreate3", "lblMod3", "lblAccess3"}), 1);
        lblCreate3 = values[0];
        lblMod3 = values[1];
        lblAccess3 = values[2];
        row->addWidget(makeBigButton(shtRDT, nullptr), 0, Qt::AlignBottom);
    }
    PageControl2->addTab(shtRDT, QStringLiteral("Set by Reference"));

    onClicked(Button14, this, &TDateTimeChangerPage::Button14Click);
    onClicked(Button15, this, &TDateTimeChangerPage::Button15Click);
    onClicked(Button38, this, &TDateTimeChangerPage::Button38Click);
    // A click on an entry, or moving to another entry with the keyboard while
    // the list has the focus, shows that entry (a change of the current entry
    // by the list buttons or a transfer does not).
    connect(DTCList, &QAbstractItemView::clicked, this,
        [this] { runGuarded(this, [this] { DTCListClick(); }); });
    connect(DTCList, &QListWidget::currentRowChanged, this, [this] {
        if (DTCList->hasFocus())
            runGuarded(this, [this] { DTCListClick(); });
    });

    bindRuns();
}

void TDateTimeChangerPage::formCreate()
{
    PageControl2->setTabVisible(PageControl2->indexOf(shtRDT), false);
    int year, month, day, hour, minute, second, ms;
    const korvala::TDateTime now = korvala::nowLocal();
    korvala::decodeDate(now, year, month, day);
    korvala::decodeTime(now, hour, minute, second, ms);
    for (QDateEdit* date : {DCreate1, DMod1, DAccess1})
        date->setDate(QDate(year, month, day));
    for (QTimeEdit* time : {TCreate1, TMod1, TAccess1})
        time->setTime(QTime(hour, minute, second, ms));
}

void TDateTimeChangerPage::DTCListClick()
{
    if (DTCList->currentRow() < 0)
        return;
    const std::string path = DTCList->currentPath();
    const QString created = currentText(korvala::GetFileCreatedTime(path));
    const QString accessed = currentText(korvala::GetFileAccessedTime(path));
    const QString modified = currentText(korvala::GetFileModifiedTime(path));
    for (QLabel* label : {lblCreate1, lblCreate2, lblCreate3})
        label->setText(created);
    for (QLabel* label : {lblAccess1, lblAccess2, lblAccess3})
        label->setText(accessed);
    for (QLabel* label : {lblMod1, lblMod2, lblMod3})
        label->setText(modified);
}

void TDateTimeChangerPage::Button14Click()
{
    for (QSpinBox* spin : {CDD, CDM, CDY, MDD, MDM, MDY, ADD, ADM, ADY})
        spin->setValue(0);
}

void TDateTimeChangerPage::Button15Click()
{
    for (QSpinBox* spin : {CTH, CTM, CTS, MTH, MTM, MTS, ATH, ATM, ATS})
        spin->setValue(0);
}

void TDateTimeChangerPage::Button38Click()
{
    dialogs().message(this, kInfoText);
}

void TDateTimeChangerPage::bindRuns()
{
    const TToolRunTexts texts{kStartCaption, kAbortCaption, QStringLiteral("DateTime Changing process Completed!"),
        QStringLiteral("DateTime Changing process ABORTED!")};
    runSpecified = new TToolRun(this, context().worker(QStringLiteral("trdDTC1")), Button11, texts,
        TCancelPolicy::CancelRestoresCaption);
    runByAge = new TToolRun(this, context().worker(QStringLiteral("trdDTC2")), Button12, texts,
        TCancelPolicy::CancelRestoresCaption);
    for (TToolRun* run : {runSpecified, runByAge})
        run->mayStart = [this] { return DTCList->count() > 0; };

    // Both passes read each entry and the pickers or spin edits when the
    // entry's turn comes.
    runSpecified->work = [this](TBackgroundWorker& worker) {
        struct Entry {
            std::string path;
            korvala::NewTimeChoice created, modified, accessed;
        };
        runPerEntry(
            worker, [this] { return DTCList->count(); },
            [this](int position) {
                return Entry{DTCList->pathAt(position), choiceOf(DCreate1Check, DCreate1, TCreate1Check, TCreate1),
                    choiceOf(DMod1Check, DMod1, TMod1Check, TMod1),
                    choiceOf(DAccess1Check, DAccess1, TAccess1Check, TAccess1)};
            },
            // An item that has no times or cannot be opened for writing keeps
            // its times; the pass goes on.
            [](Entry& entry) {
                (void)korvala::SetBySpecifiedDateTime(entry.path, entry.created, entry.modified, entry.accessed);
            },
            visitingFor(worker));
    };
    runByAge->work = [this](TBackgroundWorker& worker) {
        struct Entry {
            std::string path;
            korvala::DateTimeOffsets created, modified, accessed;
        };
        runPerEntry(
            worker, [this] { return DTCList->count(); },
            [this](int position) {
                return Entry{DTCList->pathAt(position), offsetsOf(CDY, CDM, CDD, CTH, CTM, CTS),
                    offsetsOf(MDY, MDM, MDD, MTH, MTM, MTS), offsetsOf(ADY, ADM, ADD, ATH, ATM, ATS)};
            },
            // A path without times and a folder that cannot be opened are
            // passed over; a file whose stamp cannot be set raises the system
            // error, which ends the pass through the worker's error path.
            [](Entry& entry) { (void)korvala::SetByAge(entry.path, entry.created, entry.modified, entry.accessed); },
            visitingFor(worker));
    };
}

TPerEntryOptions TDateTimeChangerPage::visitingFor(TBackgroundWorker& worker)
{
    TPerEntryOptions options;
    options.visiting = [this, w = &worker](int position) { emit entryRequested(w, position); };
    return options;
}
