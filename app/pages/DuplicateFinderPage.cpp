#include "app/pages/DuplicateFinderPage.h"

#include <algorithm>
#include <chrono>
#include <map>

#include <QAction>
#include <QColor>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/ShellIntegration.h"
#include "app/kit/ItemListBlock.h"
#include "app/kit/PageWidgets.h"
#include "app/kit/ResultGrid.h"
#include "app/kit/ToolRun.h"
#include "search/component/FindFileComponent.h"
#include "worker/BackgroundWorker.h"
#include "worker/BatchPoster.h"

namespace {

const QString kTotalPrefix = QStringLiteral("Total Items : ");

QString bytesText(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::vector<TRowColumn<TDuplicateGridRow>> duplicateColumns()
{
    using Row = TDuplicateGridRow;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    std::vector<TRowColumn<Row>> columns(6);
    columns[0] = {QStringLiteral("ID"), TSortKind::Number, left,
        [](const Row& r) { return QString::number(r.row.id); }, {}, [](const Row& r) { return double(r.row.id); }};
    // The ID cell in the group's colour ($00BBGGRR), so groups stand out as bands.
    columns[0].background = [](const Row& r) {
        const uint32_t bgr = korvala::duplicateGroupColour(r.row);
        return QVariant(QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF));
    };
    columns[1] = {QStringLiteral("CRC32"), TSortKind::Text, {},
        [](const Row& r) { return QString::fromStdString(r.crc); }, [](const Row& r) -> const std::string& { return r.crc; }};
    columns[2] = {QStringLiteral("Name"), TSortKind::Text, {},
        [](const Row& r) { return bytesText(r.name); }, [](const Row& r) -> const std::string& { return r.name; }};
    columns[3] = {QStringLiteral("Size (KB)"), TSortKind::Number, left,
        [](const Row& r) { return QString::number(korvala::duplicateSizeKilobytes(r.row.size)); }, {},
        [](const Row& r) { return double(korvala::duplicateSizeKilobytes(r.row.size)); }};
    columns[4] = {QStringLiteral("Date Modified"), TSortKind::Date, {},
        [](const Row& r) { return QString::fromStdString(korvala::duplicateDateText(r.row)); }, {},
        [](const Row& r) { return r.row.modified; }};
    columns[5] = {QStringLiteral("Location"), TSortKind::Text, {},
        [](const Row& r) { return bytesText(r.location); },
        [](const Row& r) -> const std::string& { return r.location; }};
    return columns;
}

}  // namespace

TDuplicateResultModel::TDuplicateResultModel(QObject* parent)
    : TRowTableModel<TDuplicateGridRow>(duplicateColumns(), parent)
{
}

TDuplicateFinderPage::TDuplicateFinderPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtDF"), QStringLiteral("Duplicate Finder"), QStringLiteral("DUPLICATE FINDER"), QStringLiteral("Label76"))
{
    titleStrip()->setToolTip(QStringLiteral("Find Duplicate Files on your PC"));
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "DFList", .counter = "Label54", .caption = "Label53", .captionText = "File List :", .addFiles = "Button35", .remove = "Button36", .removeAll = "Button37"},
        {.list = &DFList, .counter = &Label54, .caption = &Label53, .addFiles = &Button35, .remove = &Button36, .removeAll = &Button37});
    body()->addWidget(listBlock, 1);

    auto* options = new QHBoxLayout;
    GroupBox16 = new QGroupBox(QStringLiteral(" Looking for Duplicate "), this);
    GroupBox16->setObjectName(QStringLiteral("GroupBox16"));
    auto* modes = new QHBoxLayout(GroupBox16);
    dfSC = new QRadioButton(QStringLiteral("Content"), GroupBox16);
    dfSC->setObjectName(QStringLiteral("dfSC"));
    dfSC->setChecked(true);
    dfSN = new QRadioButton(QStringLiteral("Name"), GroupBox16);
    dfSN->setObjectName(QStringLiteral("dfSN"));
    dfSN->setToolTip(QStringLiteral("Recommended to Find Duplicate \"Pictures or Videos\" with Same Filename"));
    btnLFDN = kit::button(GroupBox16, "btnLFDN", QStringLiteral("i"));
    btnLFDN->setFixedWidth(btnLFDN->fontMetrics().horizontalAdvance(QStringLiteral("i")) + 20);
    modes->addWidget(dfSC);
    modes->addWidget(dfSN);
    modes->addWidget(btnLFDN);
    modes->addStretch(1);
    options->addWidget(GroupBox16, 1);
    btnSDup = kit::bigStartButton(this, "btnSDup", QString(), QSize(190, 50));
    options->addWidget(btnSDup, 0, Qt::AlignBottom);
    body()->addLayout(options);

    buildResults();

    onClicked(btnLFDN, this, &TDuplicateFinderPage::btnLFDNClick);
    onClicked(Button39, this, &TDuplicateFinderPage::Button39Click);
    onClicked(Button40, this, &TDuplicateFinderPage::Button40Click);

    run = new TToolRun(this, context.worker(QStringLiteral("trdDF")), btnSDup,
        {QStringLiteral("SCAN DUPLICATE FILES"), QStringLiteral("ABORT"), QStringLiteral("Scanning process Completed!"),
            QStringLiteral("Scanning process ABORTED!")},
        TCancelPolicy::CancelRestoresCaption);
    run->beforeClick = [this] { Label56->setText(kTotalPrefix + QStringLiteral("-")); };
    // The item list is copied when the run starts; an empty list starts nothing.
    run->mayStart = [this] {
        if (DFList->count() == 0)
            return false;
        m_paths = DFList->paths();
        return true;
    };
    run->work = [this](TBackgroundWorker& worker) { trdDFWork(worker); };
    run->beforeMessage = [this](bool cancelled) { trdDFWorkComplete(cancelled); };
}

void TDuplicateFinderPage::buildResults()
{
    auto* header = new QHBoxLayout;
    Label55 = kit::label(this, "Label55", QStringLiteral("Duplicate Files List :"));
    Label56 = kit::label(this, "Label56", kTotalPrefix + QStringLiteral("-"));
    Label56->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    header->addWidget(Label55);
    header->addStretch(1);
    header->addWidget(Label56);
    body()->addLayout(header);

    resultModel = new TDuplicateResultModel(this);
    resultModel->setObjectName(QStringLiteral("nxDFModel"));
    nxDF = kit::resultGrid(this, "nxDF", resultModel, QAbstractItemView::ExtendedSelection);
    QHeaderView* columns = nxDF->horizontalHeader();
    nxDF->setColumnWidth(TDuplicateResultModel::clID, 45);
    nxDF->setColumnWidth(TDuplicateResultModel::clName, 170);
    nxDF->setColumnWidth(TDuplicateResultModel::clDate, 150);
    nxDF->setColumnWidth(TDuplicateResultModel::clLocation, 300);
    connect(columns, &QHeaderView::sectionClicked, this,
        [this](int column) { runGuarded(this, [&] { nxResultSortColumn(column); }); });
    nxDF->installEventFilter(this);
    body()->addWidget(nxDF, 2);

    popDF = new QMenu(this);
    popDF->setObjectName(QStringLiteral("popDF"));
    MenuItem1 = popDF->addAction(QStringLiteral("Open"));
    MenuItem1->setObjectName(QStringLiteral("MenuItem1"));
    MenuItem1->setShortcut(QKeySequence(Qt::Key_Return));
    MenuItem2 = popDF->addAction(QStringLiteral("Open File Location"));
    MenuItem2->setObjectName(QStringLiteral("MenuItem2"));
    popDF->addSeparator();
    N1 = popDF->addAction(QStringLiteral("Remove Selected"));
    N1->setObjectName(QStringLiteral("N1"));
    N1->setShortcut(QKeySequence(Qt::Key_Delete));
    // The shortcuts are shown in the menu; the grid's key handler acts on them.
    for (QAction* action : {MenuItem1, N1})
        action->setShortcutContext(Qt::WidgetShortcut);
    connect(MenuItem1, &QAction::triggered, this, [this] { runGuarded(this, [&] { MenuItem1Click(); }); });
    connect(MenuItem2, &QAction::triggered, this, [this] { runGuarded(this, [&] { MenuItem2Click(); }); });
    connect(N1, &QAction::triggered, this, [this] { runGuarded(this, [&] { Button39Click(); }); });
    nxDF->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(nxDF, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        runGuarded(this, [&] { context().showMenu(*popDF, nxDF->viewport()->mapToGlobal(pos)); });
    });

    pbDF = new QProgressBar(this);
    pbDF->setObjectName(QStringLiteral("pbDF"));
    pbDF->setTextVisible(false);
    pbDF->setValue(0);
    body()->addWidget(pbDF);

    auto* bottom = new QHBoxLayout;
    Button39 = kit::button(this, "Button39", QStringLiteral("REMOVE SELECTED"));
    Button40 = kit::button(this, "Button40", QStringLiteral("RB"));
    Button40->setToolTip(QStringLiteral("Open Recycle Bin"));
    Label57 = kit::label(this, "Label57",
        QStringLiteral("Info : You can check Deleted Files in \"Recycle Bin\", if you want to Restore Deleted Files"));
    bottom->addWidget(Button39);
    bottom->addWidget(Button40);
    bottom->addWidget(Label57, 1);
    body()->addLayout(bottom);
}

void TDuplicateFinderPage::trdDFWork(TBackgroundWorker& worker)
{
    korvala::TDuplicateMode mode = korvala::TDuplicateMode::dmContent;
    worker.Synchronize([&] {
        mode = dfSC->isChecked() ? korvala::TDuplicateMode::dmContent : korvala::TDuplicateMode::dmName;
        resultModel->clearRows();
        // The new rows come in ID order: no column is sorted.
        m_sort.reset(nxDF);
        pbDF->setValue(0);
    });
    // The progress position goes to the bar at most every ~50 ms.
    using Clock = std::chrono::steady_clock;
    Clock::time_point posted = Clock::now();
    int position = 0;
    auto postPosition = [&] {
        posted = Clock::now();
        worker.Post([this, value = position] { pbDF->setValue(value); });
    };
    korvala::TDuplicateScanHooks hooks;
    hooks.cancelRequested = [&worker] { return worker.CancellationPending(); };
    hooks.progressMaximum = [&](int maximum) { worker.Post([this, maximum] { pbDF->setMaximum(maximum); }); };
    hooks.progressStep = [&] {
        ++position;
        if (Clock::now() - posted >= std::chrono::milliseconds(50))
            postPosition();
    };
    const korvala::TDuplicateScan scan = korvala::FindDuplicates(m_paths, mode, hooks);
    postPosition();
    if (scan.cancelled) {
        worker.Post([this] { resultModel->clearRows(); });
        worker.AcceptCancellation();
        return;
    }
    TBatchPoster<TDuplicateGridRow> rows(
        worker, [this](std::vector<TDuplicateGridRow>& batch) { resultModel->appendRows(std::move(batch)); });
    for (const korvala::TDuplicateRow& row : scan.rows)
        rows.add({row, korvala::duplicateFileName(m_paths[row.pathIndex]),
            korvala::duplicateLocation(m_paths[row.pathIndex]), korvala::duplicateCrcText(row)});
}

void TDuplicateFinderPage::trdDFWorkComplete(bool cancelled)
{
    (void)cancelled;
    pbDF->setValue(0);
    Label56->setText(kTotalPrefix + QString::number(resultModel->rowCount()));
}

int TDuplicateFinderPage::selectedRow() const
{
    QModelIndexList rows = nxDF->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    return rows.first().row();
}

void TDuplicateFinderPage::btnLFDNClick()
{
    dialogs().message(this,
        QStringLiteral("File with \"same Name\" doesn't mean it has \"same Content\"\r\rPlease make sure you didn't "
                       "remove the wrong file!\r( BE CAREFUL )"),
        Dialogs::Icon::Warning);
}

void TDuplicateFinderPage::Button39Click()
{
    const QModelIndexList chosen = nxDF->selectionModel()->selectedRows();
    if (chosen.isEmpty())
        return;
    if (!dialogs().confirm(this, QStringLiteral("Are you sure you want to \"REMOVE Selected Files\" ?")))
        return;
    std::vector<int> selected;
    for (const QModelIndex& index : chosen)
        selected.push_back(index.row());
    std::sort(selected.begin(), selected.end());
    // The files of each group as the grid holds them now.
    std::map<uint32_t, std::vector<std::string>> groups;
    for (int row = 0; row < resultModel->rowCount(); ++row)
        groups[resultModel->idAt(row)].push_back(resultModel->pathAt(row));
    int noTwin = 0, notTrashable = 0;
    // From the last row to the first, as the rows below a removed one move up.
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        const int row = *it;
        const std::string path = resultModel->pathAt(row);
        std::vector<std::string> mates;
        for (const std::string& other : groups[resultModel->idAt(row)])
            if (other != path)
                mates.push_back(other);
        switch (korvala::RemoveDuplicate(path, mates)) {
        case korvala::TRemoveOutcome::roTrashed:
            resultModel->removeGridRow(row);
            break;
        case korvala::TRemoveOutcome::roNoTwin:
            ++noTwin;
            break;
        case korvala::TRemoveOutcome::roNotTrashable:
            ++notTrashable;
            break;
        case korvala::TRemoveOutcome::roMissing:
            break;  // nothing to send: the row stays, as for any file not removed
        }
    }
    const std::string kept = korvala::duplicatesKeptMessage(noTwin, notTrashable);
    if (!kept.empty())
        dialogs().message(this, QString::fromStdString(kept), Dialogs::Icon::Warning);
}

void TDuplicateFinderPage::Button40Click()
{
    shell().openTrash();
}

void TDuplicateFinderPage::MenuItem1Click()
{
    const int row = selectedRow();
    if (row >= 0)
        shell().openPath(resultModel->pathAt(row));
}

void TDuplicateFinderPage::MenuItem2Click()
{
    const int row = selectedRow();
    if (row >= 0)
        shell().showItem(resultModel->pathAt(row));
}

void TDuplicateFinderPage::nxResultSortColumn(int column)
{
    // The sort of the result grids waits while the Seeker's search runs.
    const auto* seek = window()->findChild<korvala::TFindFileW*>(QStringLiteral("FSeek"));
    if (seek && seek->Busy()) {
        m_sort.restoreIndicator(nxDF);
        dialogs().message(this, QStringLiteral("Cannot sort the list while a search is in progress."),
            Dialogs::Icon::Warning);
        return;
    }
    m_sort.toggle(nxDF, column);
}

bool TDuplicateFinderPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == nxDF && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runGuarded(this, [&] { MenuItem1Click(); });
            return true;
        }
        if (key == Qt::Key_Delete) {
            runGuarded(this, [&] { Button39Click(); });
            return true;
        }
    }
    return TToolPage::eventFilter(watched, event);
}
