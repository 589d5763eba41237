#include "app/pages/SeekerPage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/ShellIntegration.h"
#include "app/kit/PageWidgets.h"
#include "app/kit/ResultGrid.h"
#include "app/pages/SeekerResultModel.h"
#include "platform/DateTime.h"
#include "search/SearchCriteria.h"
#include "search/component/FindFileComponent.h"

namespace {

const QString kSearchCaption = QStringLiteral("SEARCH");
const QString kAbortCaption = QStringLiteral("Abort");
const QString kTotalPrefix = QStringLiteral("Total Items : ");

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& text, Qt::CheckState state)
{
    QCheckBox* box = kit::checkBox(parent, name, text);
    box->setCheckState(state);
    return box;
}

// The attribute boxes have three states: checked must be set, unchecked must
// be clear, grayed does not matter.
QCheckBox* makeAttributeBox(QWidget* parent, const char* name, const QString& text, Qt::CheckState state)
{
    QCheckBox* box = kit::checkBox(parent, name, text, true);
    box->setCheckState(state);
    return box;
}

QSpinBox* makeSizeSpin(QWidget* parent, const char* name, const char* editName, QLineEdit*& edit)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(0, 32767);
    spin->setValue(0);
    spin->setMinimumWidth(80);
    edit = spin->findChild<QLineEdit*>();
    if (edit)
        edit->setObjectName(QString::fromLatin1(editName));
    return spin;
}

QComboBox* makeUnitList(QWidget* parent, const char* name)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->addItems({QStringLiteral("Bytes"), QStringLiteral("KB"), QStringLiteral("MB"), QStringLiteral("GB")});
    list->setCurrentIndex(1);
    return list;
}

korvala::SeekerSizeUnit unitOf(const QComboBox* list)
{
    switch (list->currentIndex()) {
    case 0: return korvala::SeekerSizeUnit::Bytes;
    case 2: return korvala::SeekerSizeUnit::MB;
    case 3: return korvala::SeekerSizeUnit::GB;
    default: return korvala::SeekerSizeUnit::KB;
    }
}

korvala::SeekerCheck checkOf(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked: return korvala::SeekerCheck::Checked;
    case Qt::Unchecked: return korvala::SeekerCheck::Unchecked;
    default: return korvala::SeekerCheck::Grayed;
    }
}

korvala::SeekerTimeBound boundOf(const QCheckBox* dateBox, const QDateEdit* datePicker, const QCheckBox* timeBox,
    const QTimeEdit* timePicker)
{
    korvala::SeekerTimeBound bound;
    bound.dateChecked = dateBox->isChecked();
    if (bound.dateChecked) {
        const QDate d = datePicker->date();
        bound.date = korvala::encodeDate(d.year(), d.month(), d.day());
    }
    bound.timeChecked = timeBox->isChecked();
    if (bound.timeChecked) {
        const QTime t = timePicker->time();
        bound.time = korvala::encodeTime(t.hour(), t.minute(), t.second(), 0);
    }
    return bound;
}

}  // namespace

TSeekerPage::TSeekerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtSkr"), QStringLiteral("Seeker"), QStringLiteral("SEEKER"), QStringLiteral("Label84"))
{
    FSeek = new korvala::TFindFileW(this);
    FSeek->setObjectName(QStringLiteral("FSeek"));
    FSeek->setThreaded(true);
    // The component hands matches and the last folder over in batches (every
    // ~50 ms or every few thousand matches) on this thread, in the order found.
    connect(FSeek, &korvala::TFindFileW::filesMatched, this,
        [this](const std::vector<korvala::TFileDetails>& batch) { runGuarded(this, [&] { FSeekFileMatch(batch); }); });
    connect(FSeek, &korvala::TFindFileW::folderChanged, this,
        [this](const QString& folder) { runGuarded(this, [&] { FSeekFolderChange(folder); }); });
    connect(FSeek, &korvala::TFindFileW::searchError, this,
        [this](const QString& message) { runGuarded(this, [&] { FSeekSearchError(message); }); });
    connect(FSeek, &korvala::TFindFileW::searchFinish, this, [this] { runGuarded(this, [&] { FSeekSearchFinish(); }); });

    auto* top = new QHBoxLayout;
    PageControl3 = new QTabWidget(this);
    PageControl3->setObjectName(QStringLiteral("PageControl3"));
    PageControl3->addTab(buildNameTab(), QStringLiteral("Name && Location"));
    PageControl3->addTab(buildDateTab(), QStringLiteral("Date && Time"));
    PageControl3->addTab(buildSizeTab(), QStringLiteral("Size && Attribute"));
    top->addWidget(PageControl3, 1);

    btnSeek = kit::bigStartButton(this, "btnSeek", kSearchCaption, QSize(140, 100), 2);
    // The window's default button: Enter anywhere on the page presses it.
    kit::makeDefaultButton(this, btnSeek);
    top->addWidget(btnSeek, 0, Qt::AlignTop);
    body()->addLayout(top);
    connect(btnSeek, &QPushButton::clicked, this, [this] { runGuarded(this, [&] { btnSeekClick(btnSeek); }); });

    buildResults();
}

TSeekerPage::~TSeekerPage()
{
    // The component goes first: it stops and waits for its thread, and no
    // batch reaches the page once its controls begin to go.
    delete FSeek;
    FSeek = nullptr;
}

QWidget* TSeekerPage::buildNameTab()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    auto* grid = new QGridLayout(TabSheet1);

    Label34 = kit::label(TabSheet1, "Label34", QStringLiteral("All or Part of the Filename"));
    skrFTS = new QLineEdit(QStringLiteral("*.*"), TabSheet1);
    skrFTS->setObjectName(QStringLiteral("skrFTS"));
    Label38 = kit::label(TabSheet1, "Label38", QStringLiteral("Containing Text"));
    skrContain = new QLineEdit(TabSheet1);
    skrContain->setObjectName(QStringLiteral("skrContain"));
    chkCase = makeCheck(TabSheet1, "chkCase", QStringLiteral("Case Sensitive"), Qt::Unchecked);
    chkWhole = makeCheck(TabSheet1, "chkWhole", QStringLiteral("Whole Word"), Qt::Unchecked);
    chkExclude = makeCheck(TabSheet1, "chkExclude", QStringLiteral("Exclude"), Qt::Unchecked);

    Label35 = kit::label(TabSheet1, "Label35", QStringLiteral("Search Location"));
    Label35->setToolTip(QStringLiteral("You can type One Search Location per Line"));
    skrLoc = new QPlainTextEdit(TabSheet1);
    skrLoc->setObjectName(QStringLiteral("skrLoc"));
    skrLoc->setLineWrapMode(QPlainTextEdit::NoWrap);
    skrLoc->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    skrLoc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The user's home folder stands where the drive roots would.
    skrLoc->setPlainText(QDir::homePath());
    chkSub = makeCheck(TabSheet1, "chkSub", QStringLiteral("Include Subfolder"), Qt::Checked);
    Button41 = kit::button(TabSheet1, "Button41", QStringLiteral("Clear"));
    onClicked(Button41, this, &TSeekerPage::Button41Click);

    auto* options = new QHBoxLayout;
    options->addWidget(chkCase);
    options->addWidget(chkWhole);
    options->addWidget(chkExclude);
    options->addStretch(1);
    auto* locButtons = new QHBoxLayout;
    locButtons->addWidget(chkSub);
    locButtons->addStretch(1);
    locButtons->addWidget(Button41);

    auto* left = new QVBoxLayout;
    left->addWidget(Label34);
    left->addWidget(skrFTS);
    left->addWidget(Label38);
    left->addWidget(skrContain);
    left->addLayout(options);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(Label35);
    right->addWidget(skrLoc, 1);
    right->addLayout(locButtons);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return TabSheet1;
}

QWidget* TSeekerPage::buildDateTab()
{
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    auto* layout = new QVBoxLayout(TabSheet2);
    PageControl4 = new QTabWidget(TabSheet2);
    PageControl4->setObjectName(QStringLiteral("PageControl4"));
    layout->addWidget(PageControl4);

    struct KindNames {
        const char* sheet;
        const char* caption;
        const char* boxes[4];    // Before Date, Before Time, After Date, After Time
        const char* pickers[4];
    };
    const KindNames kinds[3] = {
        {"TabSheet4", "Created", {"CBD", "CBT", "CAD", "CAT"},
            {"CreatedBeforeDate", "CreatedBeforeTime", "CreatedAfterDate", "CreatedAfterTime"}},
        {"TabSheet5", "Modified", {"MBD", "MBT", "MAD", "MAT"},
            {"ModifiedBeforeDate", "ModifiedBeforeTime", "ModifiedAfterDate", "ModifiedAfterTime"}},
        {"TabSheet6", "Accessed", {"ABD", "ABT", "AAD", "AAT"},
            {"AccessedBeforeDate", "AccessedBeforeTime", "AccessedAfterDate", "AccessedAfterTime"}},
    };
    const QString boxCaptions[4] = {QStringLiteral("Before Date:"), QStringLiteral("Before Time:"),
        QStringLiteral("After Date:"), QStringLiteral("After Time:")};

    QWidget** sheets[3] = {&TabSheet4, &TabSheet5, &TabSheet6};
    QCheckBox** boxes[3][4] = {{&CBD, &CBT, &CAD, &CAT}, {&MBD, &MBT, &MAD, &MAT}, {&ABD, &ABT, &AAD, &AAT}};
    QDateEdit** dates[3][2] = {{&CreatedBeforeDate, &CreatedAfterDate}, {&ModifiedBeforeDate, &ModifiedAfterDate},
        {&AccessedBeforeDate, &AccessedAfterDate}};
    QTimeEdit** times[3][2] = {{&CreatedBeforeTime, &CreatedAfterTime}, {&ModifiedBeforeTime, &ModifiedAfterTime},
        {&AccessedBeforeTime, &AccessedAfterTime}};

    for (int k = 0; k < 3; ++k) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QString::fromLatin1(kinds[k].sheet));
        *sheets[k] = sheet;
        auto* grid = new QGridLayout(sheet);
        for (int i = 0; i < 4; ++i) {
            QCheckBox* box = makeCheck(sheet, kinds[k].boxes[i], boxCaptions[i], Qt::Unchecked);
            *boxes[k][i] = box;
            QWidget* picker = nullptr;
            if (i % 2 == 0) {
                auto* date = new QDateEdit(sheet);
                date->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
                date->setCalendarPopup(true);
                date->setDateRange(QDate(1601, 1, 1), QDate(9999, 12, 31));
                *dates[k][i / 2] = date;
                picker = date;
            } else {
                auto* time = new QTimeEdit(sheet);
                time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
                *times[k][i / 2] = time;
                picker = time;
            }
            picker->setObjectName(QString::fromLatin1(kinds[k].pickers[i]));
            picker->setEnabled(false);
            grid->addWidget(box, i, 0);
            grid->addWidget(picker, i, 1);
            connect(box, &QCheckBox::clicked, this, [this, box] { runGuarded(this, [&] { DateTimeCheckClick(box); }); });
        }
        grid->setColumnStretch(2, 1);
        grid->setRowStretch(4, 1);
        PageControl4->addTab(sheet, QString::fromLatin1(kinds[k].caption));
    }
    return TabSheet2;
}

QWidget* TSeekerPage::buildSizeTab()
{
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    auto* layout = new QHBoxLayout(TabSheet3);

    FileSize = new QGroupBox(QStringLiteral(" Size "), TabSheet3);
    FileSize->setObjectName(QStringLiteral("FileSize"));
    auto* sizeGrid = new QGridLayout(FileSize);
    Label40 = kit::label(FileSize, "Label40", QStringLiteral("At Least:"));
    SizeMin = makeSizeSpin(FileSize, "SizeMin", "SizeMinEdit", SizeMinEdit);
    SizeMinUnit = makeUnitList(FileSize, "SizeMinUnit");
    Label39 = kit::label(FileSize, "Label39", QStringLiteral("At Most:"));
    SizeMax = makeSizeSpin(FileSize, "SizeMax", "SizeMaxEdit", SizeMaxEdit);
    SizeMaxUnit = makeUnitList(FileSize, "SizeMaxUnit");
    sizeGrid->addWidget(Label40, 0, 0);
    sizeGrid->addWidget(SizeMin, 0, 1);
    sizeGrid->addWidget(SizeMinUnit, 0, 2);
    sizeGrid->addWidget(Label39, 1, 0);
    sizeGrid->addWidget(SizeMax, 1, 1);
    sizeGrid->addWidget(SizeMaxUnit, 1, 2);
    sizeGrid->setRowStretch(2, 1);
    layout->addWidget(FileSize);

    Attributes = new QGroupBox(QStringLiteral(" Attributes "), TabSheet3);
    Attributes->setObjectName(QStringLiteral("Attributes"));
    auto* grid = new QGridLayout(Attributes);
    const Qt::CheckState grayed = Qt::PartiallyChecked;
    Archive = makeAttributeBox(Attributes, "Archive", QStringLiteral("Archive"), grayed);
    Readonly = makeAttributeBox(Attributes, "Readonly", QStringLiteral("Readonly"), grayed);
    Directory = makeAttributeBox(Attributes, "Directory", QStringLiteral("Directory"), Qt::Unchecked);
    Normal = makeAttributeBox(Attributes, "Normal", QStringLiteral("Normal"), grayed);
    System = makeAttributeBox(Attributes, "System", QStringLiteral("System"), Qt::Unchecked);
    Hidden = makeAttributeBox(Attributes, "Hidden", QStringLiteral("Hidden"), Qt::Unchecked);
    Offline = makeAttributeBox(Attributes, "Offline", QStringLiteral("Offline"), grayed);
    Virtual = makeAttributeBox(Attributes, "Virtual", QStringLiteral("Virtual"), grayed);
    Compressed = makeAttributeBox(Attributes, "Compressed", QStringLiteral("Compressed"), grayed);
    Encrypted = makeAttributeBox(Attributes, "Encrypted", QStringLiteral("Encrypted"), grayed);
    Temporary = makeAttributeBox(Attributes, "Temporary", QStringLiteral("Temporary"), grayed);
    NotContentIndexed =
        makeAttributeBox(Attributes, "NotContentIndexed", QStringLiteral("Not Content Indexed"), grayed);
    ReparsePoint = makeAttributeBox(Attributes, "ReparsePoint", QStringLiteral("Reparse Point"), grayed);
    SparseFile = makeAttributeBox(Attributes, "SparseFile", QStringLiteral("Sparse File"), grayed);
    Device = makeAttributeBox(Attributes, "Device", QStringLiteral("Device"), grayed);
    const QCheckBox* columns[4][4] = {{Archive, Readonly, Directory, Normal}, {System, Hidden, Offline, Virtual},
        {Compressed, Encrypted, Temporary, NotContentIndexed}, {ReparsePoint, SparseFile, Device, nullptr}};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (columns[c][r])
                grid->addWidget(const_cast<QCheckBox*>(columns[c][r]), r, c);
    layout->addWidget(Attributes, 1);
    return TabSheet3;
}

void TSeekerPage::buildResults()
{
    auto* header = new QHBoxLayout;
    Label36 = kit::label(this, "Label36", QStringLiteral("Search Result :"));
    Label37 = kit::label(this, "Label37", kTotalPrefix + QStringLiteral("-"));
    header->addWidget(Label36);
    header->addStretch(1);
    header->addWidget(Label37);
    body()->addLayout(header);

    resultModel = new TSeekerResultModel(this);
    resultModel->setObjectName(QStringLiteral("nxResultModel"));
    nxResult = kit::resultGrid(this, "nxResult", resultModel, QAbstractItemView::SingleSelection);
    QHeaderView* columns = nxResult->horizontalHeader();
    nxResult->setColumnWidth(TSeekerResultModel::clFilename, 150);
    nxResult->setColumnWidth(TSeekerResultModel::clAttr, 90);
    nxResult->setColumnWidth(TSeekerResultModel::clMod, 170);
    nxResult->setColumnWidth(TSeekerResultModel::clLoc, 320);
    connect(columns, &QHeaderView::sectionClicked, this,
        [this](int column) { runGuarded(this, [&] { nxResultSortColumn(column); }); });
    body()->addWidget(nxResult, 1);

    skrPOP = new QMenu(this);
    skrPOP->setObjectName(QStringLiteral("skrPOP"));
    O1 = skrPOP->addAction(QStringLiteral("Open"));
    O1->setObjectName(QStringLiteral("O1"));
    O2 = skrPOP->addAction(QStringLiteral("Open File Location"));
    O2->setObjectName(QStringLiteral("O2"));
    skrPOP->addSeparator();
    // "Send Search Result to...", the menu's default entry: the window takes
    // the rows (SendList), the page only names the entry chosen.
    sendTo = new QMenu(QStringLiteral("Send Search Result to..."), skrPOP);
    sendTo->setObjectName(QStringLiteral("sendTo"));
    skrPOP->addMenu(sendTo);
    skrPOP->setDefaultAction(sendTo->menuAction());
    const struct {
        const char* name;
        const char* text;
        int tag;
    } targets[] = {
        {"A1", "Attribute Changer", 0},
        {"D1", "DateTime Changer", 1},
        {"D2", "Duplicate Finder", 2},
        {"H1", "Hash", 6},
        {"sendProt", "Protector", 8},
    };
    for (const auto& target : targets) {
        QAction* action = sendTo->addAction(QString::fromLatin1(target.text));
        action->setObjectName(QString::fromLatin1(target.name));
        action->setProperty("Tag", target.tag);
        connect(action, &QAction::triggered, this, [this, action] { emit sendResultsWanted(action); });
    }
    connect(O1, &QAction::triggered, this, [this] { runGuarded(this, [&] { O1Click(); }); });
    connect(O2, &QAction::triggered, this, [this] { runGuarded(this, [&] { O2Click(); }); });
    nxResult->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(nxResult, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { runGuarded(this, [&] { nxResultContextMenu(pos); }); });
}

void TSeekerPage::formCreate()
{
    const QDateTime now = QDateTime::currentDateTime();
    for (QDateEdit* picker : {CreatedBeforeDate, CreatedAfterDate, ModifiedBeforeDate, ModifiedAfterDate,
             AccessedBeforeDate, AccessedAfterDate})
        picker->setDate(now.date());
    for (QTimeEdit* picker : {CreatedBeforeTime, CreatedAfterTime, ModifiedBeforeTime, ModifiedAfterTime,
             AccessedBeforeTime, AccessedAfterTime})
        picker->setTime(now.time());
}

void TSeekerPage::stopWork()
{
    if (!FSeek->Busy())
        return;
    if (btnSeek->text() == kAbortCaption)
        btnSeekClick(titleStrip());
    else
        FSeek->Abort();  // an aborted search still winding down
}

std::array<QCheckBox*, 15> TSeekerPage::attributeBoxes() const
{
    return {Archive, Readonly, Hidden, System, Directory, Compressed, Encrypted, Offline, ReparsePoint, SparseFile,
        Temporary, Device, Normal, Virtual, NotContentIndexed};
}

std::vector<TSeekerPage::TimeRow> TSeekerPage::timeRows() const
{
    return {{CBD, CreatedBeforeDate}, {CBT, CreatedBeforeTime}, {CAD, CreatedAfterDate}, {CAT, CreatedAfterTime},
        {MBD, ModifiedBeforeDate}, {MBT, ModifiedBeforeTime}, {MAD, ModifiedAfterDate}, {MAT, ModifiedAfterTime},
        {ABD, AccessedBeforeDate}, {ABT, AccessedBeforeTime}, {AAD, AccessedAfterDate}, {AAT, AccessedAfterTime}};
}

korvala::SeekerPageState TSeekerPage::pageState() const
{
    korvala::SeekerPageState page;
    page.fileName = skrFTS->text().toStdString();
    page.containing = skrContain->text().toStdString();
    page.caseSensitive = chkCase->isChecked();
    page.wholeWord = chkWhole->isChecked();
    page.exclude = chkExclude->isChecked();
    for (const QString& line : skrLoc->toPlainText().split(QLatin1Char('\n')))
        page.locations.push_back(QFile::encodeName(line).toStdString());
    page.includeSubfolders = chkSub->isChecked();
    const std::array<QCheckBox*, 15> boxes = attributeBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        page.attributes[i] = checkOf(boxes[i]);
    page.sizeMin = SizeMin->value();
    page.sizeMinUnit = unitOf(SizeMinUnit);
    page.sizeMax = SizeMax->value();
    page.sizeMaxUnit = unitOf(SizeMaxUnit);
    page.created.before = boundOf(CBD, CreatedBeforeDate, CBT, CreatedBeforeTime);
    page.created.after = boundOf(CAD, CreatedAfterDate, CAT, CreatedAfterTime);
    page.modified.before = boundOf(MBD, ModifiedBeforeDate, MBT, ModifiedBeforeTime);
    page.modified.after = boundOf(MAD, ModifiedAfterDate, MAT, ModifiedAfterTime);
    page.accessed.before = boundOf(ABD, AccessedBeforeDate, ABT, AccessedBeforeTime);
    page.accessed.after = boundOf(AAD, AccessedAfterDate, AAT, AccessedAfterTime);
    return page;
}

void TSeekerPage::btnSeekClick(QObject* sender)
{
    if (btnSeek->text() == kSearchCaption) {
        // An aborted search that is still winding down keeps the button
        // disabled, so this cannot run while FSeek is busy; the check stays for
        // callers other than the button.
        if (FSeek->Busy())
            return;
        resultModel->clear();
        Label37->setText(kTotalPrefix + QStringLiteral("-"));
        // New rows arrive in the order found: no column is sorted any more.
        m_sort.reset(nxResult);
        korvala::buildSeekerCriteria(pageState(), FSeek->Criteria());
        FSeek->Start();
        btnSeek->setText(kAbortCaption);
    } else if (btnSeek->text() == kAbortCaption) {
        FSeek->Abort();
        btnSeek->setText(kSearchCaption);
        // Until the search thread has stopped, a new search cannot start;
        // the finish handler enables the button again.
        if (FSeek->Busy())
            btnSeek->setEnabled(false);
        if (sender != titleStrip())
            dialogs().message(this, QStringLiteral("Searching process Aborted!"));
    }
}

void TSeekerPage::FSeekFolderChange(const QString&)
{
    updateTotal();
}

void TSeekerPage::FSeekFileMatch(const std::vector<korvala::TFileDetails>& batch)
{
    resultModel->appendBatch(batch);
}

void TSeekerPage::FSeekSearchError(const QString& message)
{
    dialogs().message(this, message, Dialogs::Icon::Error);
}

void TSeekerPage::FSeekSearchFinish()
{
    btnSeek->setEnabled(true);
    updateTotal();
    if (FSeek->Aborted())
        return;
    btnSeek->setText(kSearchCaption);
    if (resultModel->rowCount() > 0)
        dialogs().message(this, QStringLiteral("Searching process completed!"));
    else
        dialogs().message(this,
            QStringLiteral("Searching process completed, There is no File/Folder Found with these Search Criteria!"));
}

void TSeekerPage::updateTotal()
{
    Label37->setText(kTotalPrefix + QString::number(resultModel->rowCount()));
}

void TSeekerPage::nxResultSortColumn(int column)
{
    if (FSeek->Busy()) {
        // The header flipped its arrow on the click; put the old one back.
        m_sort.restoreIndicator(nxResult);
        dialogs().message(this, QStringLiteral("Cannot sort the list while a search is in progress."),
            Dialogs::Icon::Warning);
        return;
    }
    m_sort.toggle(nxResult, column);
}

int TSeekerPage::selectedRow() const
{
    const QModelIndexList rows = nxResult->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TSeekerPage::nxResultContextMenu(const QPoint& pos)
{
    context().showMenu(*skrPOP, nxResult->viewport()->mapToGlobal(pos));
}

void TSeekerPage::O1Click()
{
    const int row = selectedRow();
    if (row >= 0)
        shell().openPath(resultModel->pathAt(row));
}

void TSeekerPage::O2Click()
{
    const int row = selectedRow();
    if (row >= 0)
        shell().showItem(resultModel->pathAt(row));
}

void TSeekerPage::Button41Click()
{
    skrLoc->clear();
}

void TSeekerPage::DateTimeCheckClick(QCheckBox* box)
{
    for (const TimeRow& row : timeRows())
        if (row.box == box)
            row.picker->setEnabled(box->isChecked());
}

bool TSeekerPage::addSearchLocation(const QString& folder)
{
    // The box holds one location a line: a name with a line break would
    // become two locations that are not the folder.
    if (folder.contains(QLatin1Char('\n')) || folder.contains(QLatin1Char('\r')))
        return false;
    const QStringList lines = skrLoc->toPlainText().split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (line.compare(folder, Qt::CaseInsensitive) == 0)
            return false;
    if (lines.size() == 1 && lines.front().isEmpty())
        skrLoc->setPlainText(folder);
    else
        skrLoc->appendPlainText(folder);
    return true;
}

std::vector<std::string> TSeekerPage::resultPaths() const
{
    std::vector<std::string> paths;
    const int rows = resultModel->rowCount();
    paths.reserve(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row)
        paths.push_back(resultModel->pathAt(row));
    return paths;
}
