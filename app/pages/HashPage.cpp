// The Hash page's frame and its first sub-page, the report generator: the
// file list, the twelve algorithm ticks, the report memo and the worker
// trdHash that writes the report.

#include "app/pages/HashPage.h"

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/Korvala_Main.h"
#include "app/pages/HashPageParts.h"
#include "tools/hash/HashReport.h"
#include "platform/KorvalaError.h"
#include "worker/BackgroundWorker.h"

using namespace hashpage;

namespace {

const QString kGenerateCaption = QStringLiteral("GENERATE HASH");
const QString kAbortCaption = QStringLiteral("ABORT");

// Report lines and progress travel from the work thread to the memo and the
// bar in batches: a queued call per line would flood the window thread on a
// list of many small files. A batch goes out every 50 ms or every few
// thousand lines, and whatever is left when the run ends (also by an error),
// always in the order produced.
class ReportBatch {
public:
    ReportBatch(TBackgroundWorker& worker, QPlainTextEdit* memo, QProgressBar* bar)
        : m_worker(worker), m_memo(memo), m_bar(bar), m_last(Clock::now())
    {
    }
    ~ReportBatch() { flush(); }
    ReportBatch(const ReportBatch&) = delete;
    ReportBatch& operator=(const ReportBatch&) = delete;

    void line(const std::string& text)
    {
        m_lines << QFile::decodeName(QByteArray::fromStdString(text));
        flushWhenDue();
    }

    void progress(int position)
    {
        m_position = position;
        flushWhenDue();
    }

    void flush()
    {
        if (m_lines.isEmpty() && m_position < 0)
            return;
        m_worker.Post([memo = m_memo, bar = m_bar, lines = std::move(m_lines), position = m_position] {
            // One paragraph per line; an empty last line stays as the empty
            // block it is, so the next batch starts on a line of its own.
            if (!lines.isEmpty())
                memo->appendPlainText(lines.join(QLatin1Char('\n')));
            if (position >= 0)
                bar->setValue(position);
        });
        m_lines = QStringList();
        m_position = -1;
        m_last = Clock::now();
    }

private:
    using Clock = std::chrono::steady_clock;

    void flushWhenDue()
    {
        if (m_lines.size() >= 4096 || Clock::now() - m_last >= std::chrono::milliseconds(50))
            flush();
    }

    TBackgroundWorker& m_worker;
    QPlainTextEdit* m_memo;
    QProgressBar* m_bar;
    QStringList m_lines;
    int m_position = -1;
    Clock::time_point m_last;
};

// Enter anywhere on the sub-page presses its default button, as in a dialog.
void makeDefaultButton(QWidget* scope, QPushButton* button)
{
    button->setDefault(true);
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, scope);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    }
}

}  // namespace

THashPage::THashPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtHash"), QStringLiteral("Hash"), 7, QStringLiteral("HASH"), QStringLiteral("Label83"))
{
    PageControl5 = new QTabWidget(this);
    PageControl5->setObjectName(QStringLiteral("PageControl5"));
    PageControl5->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 100px; min-height: 20px; }"));
    shtHGen = new QWidget;
    shtHGen->setObjectName(QStringLiteral("shtHGen"));
    shtVCheck = new QWidget;
    shtVCheck->setObjectName(QStringLiteral("shtVCheck"));
    shtCompF = new QWidget;
    shtCompF->setObjectName(QStringLiteral("shtCompF"));
    PageControl5->addTab(shtHGen, QStringLiteral("Hash Generator"));
    PageControl5->addTab(shtVCheck, QStringLiteral("Verify Checksum"));
    PageControl5->addTab(shtCompF, QStringLiteral("Compare Files"));
    PageControl5->setCurrentWidget(shtHGen);
    body()->addWidget(PageControl5, 1);

    buildGenerator();
    buildVerifier();
    buildComparer();

    TBackgroundWorker* hash = form.trdHash();
    hash->OnWork = [this](TBackgroundWorker& w) { GenerateHash(w); };
    hash->OnWorkComplete = [this](TBackgroundWorker& w, bool cancelled) { trdHashWorkComplete(w, cancelled); };
    TBackgroundWorker* verify = form.trdVChk();
    verify->OnWork = [this](TBackgroundWorker& w) { trdVChkWork(w); };
    verify->OnWorkComplete = [this](TBackgroundWorker& w, bool cancelled) { trdVChkWorkComplete(w, cancelled); };
    TBackgroundWorker* compare = form.trdCF();
    compare->OnWork = [this](TBackgroundWorker& w) { trdCFWork(w); };
    compare->OnWorkComplete = [this](TBackgroundWorker& w, bool cancelled) { trdCFWorkComplete(w, cancelled); };
}

void THashPage::buildGenerator()
{
    TItemListNames names;
    names.list = QStringLiteral("HList");
    names.counter = QStringLiteral("Label27");
    names.caption = QStringLiteral("Label26");
    names.captionText = QStringLiteral("File List :");
    names.addFiles = QStringLiteral("Button20");
    names.remove = QStringLiteral("Button19");
    names.removeAll = QStringLiteral("Button18");
    const TItemListBlock block = createItemListBlock(shtHGen, names);
    HList = block.list;
    Label27 = block.counter;
    Label26 = block.caption;
    Button20 = block.addFiles;
    Button19 = block.remove;
    Button18 = block.removeAll;

    Label28 = noteLabel(shtHGen, "Label28",
        QStringLiteral("Note : File with BIG size will take longer time to be Generated"));

    // " Hash Algorithm ": the twelve ticks and the three tick buttons.
    GroupBox8 = new QGroupBox(QStringLiteral(" Hash Algorithm "), shtHGen);
    GroupBox8->setObjectName(QStringLiteral("GroupBox8"));
    QFont bold = GroupBox8->font();
    bold.setBold(true);
    GroupBox8->setFont(bold);
    chkHash = new QListWidget(GroupBox8);
    chkHash->setObjectName(QStringLiteral("chkHash"));
    QFont plain = chkHash->font();
    plain.setBold(false);
    chkHash->setFont(plain);
    for (std::string_view name : korvala::HashAlgorithmNames) {
        auto* item = new QListWidgetItem(QString::fromLatin1(name.data(), static_cast<int>(name.size())), chkHash);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    // All twelve rows without scrolling.
    chkHash->setMinimumHeight(chkHash->sizeHintForRow(0) * chkHash->count() + 2 * chkHash->frameWidth() + 4);
    Button21 = button(GroupBox8, "Button21", QStringLiteral("Check All"));
    Button23 = button(GroupBox8, "Button23", QStringLiteral("Invert Check"));
    Button22 = button(GroupBox8, "Button22", QStringLiteral("Uncheck All"));
    for (QPushButton* b : {Button21, Button23, Button22})
        b->setFont(plain);
    Button23->setMinimumHeight(40);
    auto* algorithms = new QHBoxLayout(GroupBox8);
    algorithms->addWidget(chkHash, 1);
    auto* tickButtons = new QVBoxLayout;
    tickButtons->addWidget(Button21);
    tickButtons->addWidget(Button23);
    tickButtons->addWidget(Button22);
    tickButtons->addStretch(1);
    algorithms->addLayout(tickButtons);

    // " Generated Hash ": the report in a fixed-pitch font, so that the
    // 13-character labels line up on their colons.
    GroupBox9 = new QGroupBox(QStringLiteral(" Generated Hash "), shtHGen);
    GroupBox9->setObjectName(QStringLiteral("GroupBox9"));
    GroupBox9->setFont(bold);
    mHash = new QPlainTextEdit(GroupBox9);
    mHash->setObjectName(QStringLiteral("mHash"));
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    if (!QFontInfo(fixed).fixedPitch())
        fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mHash->setFont(fixed);
    mHash->setLineWrapMode(QPlainTextEdit::NoWrap);
    mHash->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mHash->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* report = new QVBoxLayout(GroupBox9);
    report->addWidget(mHash);

    btnGHash = button(shtHGen, "btnGHash", kGenerateCaption);
    styleStartButton(btnGHash);
    makeDefaultButton(shtHGen, btnGHash);
    chkLCase = new QCheckBox(QStringLiteral("Lowercase"), shtHGen);
    chkLCase->setObjectName(QStringLiteral("chkLCase"));
    Button17 = button(shtHGen, "Button17", QStringLiteral("Copy to Clipboard"));
    pbHash = new QProgressBar(shtHGen);
    pbHash->setObjectName(QStringLiteral("pbHash"));
    pbHash->setRange(0, 100);
    pbHash->setValue(0);
    pbHash->setTextVisible(false);

    auto* layout = new QVBoxLayout(shtHGen);
    auto* top = new QHBoxLayout;
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(block.container, 1);
    listColumn->addWidget(Label28);
    top->addLayout(listColumn, 3);
    top->addWidget(GroupBox8, 2);
    layout->addLayout(top, 2);
    layout->addWidget(GroupBox9, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnGHash);
    bottom->addWidget(chkLCase);
    bottom->addWidget(Button17);
    bottom->addWidget(pbHash, 1);
    layout->addLayout(bottom);

    onClicked(Button20, this, &THashPage::Button20Click);
    onClicked(Button19, this, &THashPage::Button19Click);
    onClicked(Button18, this, &THashPage::Button18Click);
    onClicked(Button21, this, &THashPage::Button21Click);
    onClicked(Button22, this, &THashPage::Button22Click);
    onClicked(Button23, this, &THashPage::Button23Click);
    onClicked(btnGHash, this, &THashPage::btnGHashClick);
    onClicked(Button17, this, &THashPage::Button17Click);
}

void THashPage::formCreate()
{
    for (int index : {0, 2, 5})
        chkHash->item(index)->setCheckState(Qt::Checked);
    Button23->setText(QStringLiteral("Invert\nCheck"));
    cmbHAlg->setCurrentIndex(2);
}

// Add File(s): the shared file dialog.
void THashPage::Button20Click()
{
    AddFilesToList(*HList, this);
}

// Remove the selected entries.
void THashPage::Button19Click()
{
    HList->removeSelected();
}

// Remove All.
void THashPage::Button18Click()
{
    HList->removeAll();
}

void THashPage::Button21Click()
{
    for (int k = 0; k < chkHash->count(); ++k)
        chkHash->item(k)->setCheckState(Qt::Checked);
}

void THashPage::Button22Click()
{
    for (int k = 0; k < chkHash->count(); ++k)
        chkHash->item(k)->setCheckState(Qt::Unchecked);
}

void THashPage::Button23Click()
{
    for (int k = 0; k < chkHash->count(); ++k) {
        QListWidgetItem* item = chkHash->item(k);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
}

void THashPage::btnGHashClick()
{
    TBackgroundWorker* worker = form().trdHash();
    // While a run lasts the button is ABORT whatever the list and the ticks
    // hold now: emptying the list or unticking everything during a run must
    // not take away the only way to stop it.
    if (worker->IsWorking()) {
        worker->Cancel();
        return;
    }
    if (HList->count() == 0)
        return;
    int ticked = 0;
    for (int k = 0; k < chkHash->count(); ++k)
        if (chkHash->item(k)->checkState() == Qt::Checked)
            ++ticked;
    if (ticked == 0) {
        dialogs().message(this, QStringLiteral("You must check Min. 1 Hash Algorithm!"), Dialogs::Icon::Information);
        return;
    }
    // The report replaces the last one; the memo is not redrawn until the
    // run ends, so appending many lines stays cheap.
    mHash->clear();
    mHash->setUpdatesEnabled(false);
    worker->Start();
    btnGHash->setText(kAbortCaption);
}

void THashPage::GenerateHash(TBackgroundWorker& worker)
{
    // The list, the ticks and the option belong to the window thread: they
    // are read there, once per file, when that file's turn comes. The number
    // of files is taken at the start and bounds the run, so an entry removed
    // during the run ends it with "List index out of bounds".
    int count = 0;
    worker.Synchronize([&] { count = HList->count(); });
    worker.Post([bar = pbHash, count] {
        bar->setRange(0, count);
        bar->setValue(0);
    });

    ReportBatch batch(worker, mHash, pbHash);
    for (int i = 0; i < count; ++i) {
        std::string path;
        std::array<bool, korvala::HashAlgorithmCount> ticked{};
        bool lowercase = false;
        worker.Synchronize([&] {
            emit hashEntryRequested(i);
            if (i >= HList->count())
                throw korvala::KorvalaError("List index out of bounds (" + std::to_string(i) + ")");
            path = HList->pathAt(i);
            for (int k = 0; k < korvala::HashAlgorithmCount; ++k)
                ticked[static_cast<size_t>(k)] = chkHash->item(k)->checkState() == Qt::Checked;
            lowercase = chkLCase->isChecked();
        });

        korvala::HashReportCallbacks callbacks;
        callbacks.isTicked = [&](int k) { return ticked[static_cast<size_t>(k)]; };
        callbacks.lowercase = [&] { return lowercase; };
        callbacks.appendLine = [&](const std::string& line) { batch.line(line); };
        // The report of this one file ends with (1, 1): file i is done.
        callbacks.progress = [&](int position, int) {
            if (position == 1)
                batch.progress(i + 1);
        };
        callbacks.cancelRequested = [&] { return worker.CancellationPending(); };
        callbacks.acceptCancel = [&] { worker.AcceptCancellation(); };
        if (korvala::WriteHashReport({path}, callbacks) == korvala::HashReportOutcome::hrCancelled)
            return;
    }
}

void THashPage::trdHashWorkComplete(TBackgroundWorker& worker, bool)
{
    btnGHash->setText(kGenerateCaption);
    mHash->setUpdatesEnabled(true);
    pbHash->setValue(pbHash->maximum());
    dialogs().message(this, worker.Cancelled() ? QStringLiteral("Hash Generating process ABORTED!")
                                               : QStringLiteral("Hash Generating process completed!"));
}

// The whole report to the clipboard as plain text; the selection stays.
void THashPage::Button17Click()
{
    mHash->selectAll();
    mHash->copy();
}
