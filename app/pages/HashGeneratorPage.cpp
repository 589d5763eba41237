#include "app/pages/HashGeneratorPage.h"

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"
#include "app/kit/PageContext.h"
#include "app/kit/PageWidgets.h"
#include "app/kit/ToolRun.h"
#include "app/pages/HashPageParts.h"
#include "hash/HashAlgorithm.h"
#include "tools/hash/HashReport.h"
#include "worker/BatchPoster.h"
#include "worker/PerEntry.h"

using namespace hashpage;

namespace {

const QString kGenerateCaption = QStringLiteral("GENERATE HASH");
const QString kAbortCaption = QStringLiteral("ABORT");

// One report line, or (position >= 0) the number of files done.
struct ReportItem {
    QString line;
    int position = -1;
};

}  // namespace

THashGeneratorPage::THashGeneratorPage(const TPageContext& context, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("shtHGen"));
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "HList", .counter = "Label27", .caption = "Label26", .captionText = "File List :",
            .addFiles = "Button20", .remove = "Button19", .removeAll = "Button18"},
        {.list = &HList, .counter = &Label27, .caption = &Label26, .addFiles = &Button20, .remove = &Button19, .removeAll = &Button18});
    // This list's counter is bold, like its caption.
    QFont boldCounter = Label27->font();
    boldCounter.setBold(true);
    Label27->setFont(boldCounter);

    Label28 = kit::noteLabel(this, "Label28", QStringLiteral("Note : File with BIG size will take longer time to be Generated"));

    // " Hash Algorithm ": the twelve ticks and the three tick buttons.
    GroupBox8 = new QGroupBox(QStringLiteral(" Hash Algorithm "), this);
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
    Button21 = kit::button(GroupBox8, "Button21", QStringLiteral("Check All"));
    Button23 = kit::button(GroupBox8, "Button23", QStringLiteral("Invert Check"));
    Button22 = kit::button(GroupBox8, "Button22", QStringLiteral("Uncheck All"));
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
    GroupBox9 = new QGroupBox(QStringLiteral(" Generated Hash "), this);
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

    btnGHash = kit::button(this, "btnGHash", kGenerateCaption);
    styleStartButton(btnGHash);
    kit::makeDefaultButton(this, btnGHash);
    chkLCase = kit::checkBox(this, "chkLCase", QStringLiteral("Lowercase"));
    Button17 = kit::button(this, "Button17", QStringLiteral("Copy to Clipboard"));
    pbHash = new QProgressBar(this);
    pbHash->setObjectName(QStringLiteral("pbHash"));
    pbHash->setRange(0, 100);
    pbHash->setValue(0);
    pbHash->setTextVisible(false);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(listBlock, 1);
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

    onClicked(Button21, this, &THashGeneratorPage::Button21Click);
    onClicked(Button22, this, &THashGeneratorPage::Button22Click);
    onClicked(Button23, this, &THashGeneratorPage::Button23Click);
    onClicked(Button17, this, &THashGeneratorPage::Button17Click);

    run = new TToolRun(this, context.worker(QStringLiteral("trdHash")), btnGHash,
        {kGenerateCaption, kAbortCaption, QStringLiteral("Hash Generating process completed!"),
            QStringLiteral("Hash Generating process ABORTED!")},
        TCancelPolicy::CancelKeepsCaption);
    run->mayStart = [this] { return mayStart(); };
    run->work = [this](TBackgroundWorker& worker) { generate(worker); };
    run->beforeMessage = [this](bool) {
        mHash->setUpdatesEnabled(true);
        pbHash->setValue(pbHash->maximum());
    };
}

void THashGeneratorPage::formCreate()
{
    for (int index : {0, 2, 5})
        chkHash->item(index)->setCheckState(Qt::Checked);
    Button23->setText(QStringLiteral("Invert\nCheck"));
}

void THashGeneratorPage::Button21Click()
{
    for (int k = 0; k < chkHash->count(); ++k)
        chkHash->item(k)->setCheckState(Qt::Checked);
}

void THashGeneratorPage::Button22Click()
{
    for (int k = 0; k < chkHash->count(); ++k)
        chkHash->item(k)->setCheckState(Qt::Unchecked);
}

void THashGeneratorPage::Button23Click()
{
    for (int k = 0; k < chkHash->count(); ++k) {
        QListWidgetItem* item = chkHash->item(k);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
}

bool THashGeneratorPage::mayStart()
{
    if (HList->count() == 0)
        return false;
    int ticked = 0;
    for (int k = 0; k < chkHash->count(); ++k)
        if (chkHash->item(k)->checkState() == Qt::Checked)
            ++ticked;
    if (ticked == 0) {
        dialogs().message(this, QStringLiteral("You must check Min. 1 Hash Algorithm!"), Dialogs::Icon::Information);
        return false;
    }
    // The report replaces the last one; the memo is not redrawn until the
    // run ends, so appending many lines stays cheap.
    mHash->clear();
    mHash->setUpdatesEnabled(false);
    pbHash->setRange(0, HList->count());
    pbHash->setValue(0);
    return true;
}

void THashGeneratorPage::generate(TBackgroundWorker& worker)
{
    // Report lines and progress reach the memo and the bar in batches: a
    // queued call per line would flood the window thread on a list of many
    // small files.
    TBatchPoster<ReportItem> batch(worker, [memo = mHash, bar = pbHash](std::vector<ReportItem>& items) {
        QStringList lines;
        int position = -1;
        for (ReportItem& item : items) {
            if (item.position >= 0)
                position = item.position;
            else
                lines << std::move(item.line);
        }
        // One paragraph per line; an empty last line stays as the empty
        // block it is, so the next batch starts on a line of its own.
        if (!lines.isEmpty())
            memo->appendPlainText(lines.join(QLatin1Char('\n')));
        if (position >= 0)
            bar->setValue(position);
    }, std::chrono::milliseconds(50), 4096);

    struct Entry {
        int position;
        std::string path;
        std::array<bool, korvala::HashAlgorithmCount> ticked;
        bool lowercase;
    };
    TPerEntryOptions options;
    // The report of each file checks for a cancellation itself.
    options.cancelBetweenEntries = false;
    options.visiting = [this](int position) { emit hashEntryRequested(position); };
    runPerEntry(
        worker, [this] { return HList->count(); },
        [this](int position) {
            Entry entry{position, HList->pathAt(position), {}, chkLCase->isChecked()};
            for (int k = 0; k < korvala::HashAlgorithmCount; ++k)
                entry.ticked[static_cast<size_t>(k)] = chkHash->item(k)->checkState() == Qt::Checked;
            return entry;
        },
        [&](Entry& entry) {
            korvala::HashReportCallbacks callbacks;
            callbacks.isTicked = [&](int k) { return entry.ticked[static_cast<size_t>(k)]; };
            callbacks.lowercase = [&] { return entry.lowercase; };
            callbacks.appendLine = [&](const std::string& line) {
                batch.add({QFile::decodeName(QByteArray::fromStdString(line))});
            };
            // The report of this one file ends with (1, 1): the file is done.
            callbacks.progress = [&](int position, int) {
                if (position == 1)
                    batch.add({QString(), entry.position + 1});
            };
            callbacks.cancelRequested = [&] { return worker.CancellationPending(); };
            callbacks.acceptCancel = [&] { worker.AcceptCancellation(); };
            return korvala::WriteHashReport({entry.path}, callbacks) != korvala::HashReportOutcome::hrCancelled;
        },
        options);
}

// The whole report to the clipboard as plain text; the selection stays.
void THashGeneratorPage::Button17Click()
{
    mHash->selectAll();
    mHash->copy();
}
