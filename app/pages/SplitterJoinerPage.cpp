#include "app/pages/SplitterJoinerPage.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/kit/PageWidgets.h"
#include "app/kit/ToolRun.h"
#include "worker/BackgroundWorker.h"

using kit::button;
using kit::label;

namespace {

const QString kSelectFileTitle = QStringLiteral("Select File");
// The shared "Add File(s)" dialog's filter: a name needs no dot here.
const QString kAnyFileFilter = QStringLiteral("All Files (*)");
const QString kPartsFilter = QStringLiteral("Splitted Files (*._1 *.001)");

QLineEdit* edit(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton* browseButton(QWidget* parent, const char* name)
{
    QPushButton* b = button(parent, name, QStringLiteral("..."));
    b->setFixedWidth(32);
    return b;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, QWidget* stretching = nullptr)
{
    auto* layout = new QHBoxLayout;
    for (QWidget* w : widgets)
        layout->addWidget(w, w == stretching ? 1 : 0);
    if (!stretching)
        layout->addStretch(1);
    return layout;
}

// The part count the spin box holds now: a text that is no number counts as
// the minimum, a number out of range as the nearest bound (the box itself
// corrects its text only when it loses the focus).
int partsChosen(const QSpinBox& box)
{
    bool isNumber = false;
    const int typed = box.cleanText().trimmed().toInt(&isNumber);
    if (!isNumber)
        return box.minimum();
    return std::clamp(typed, box.minimum(), box.maximum());
}

// The chooser starts in the folder of the path typed so far; the chosen
// file's full path replaces the text.
void browseFile(QWidget* parent, QLineEdit* box, const QString& filter)
{
    const QString typed = box->text();
    const QString folder = typed.isEmpty() ? QString() : QFileInfo(typed).absolutePath();
    const QString chosen = dialogs().openFileIn(parent, kSelectFileTitle, filter, folder);
    if (!chosen.isEmpty())
        box->setText(QFileInfo(chosen).absoluteFilePath());
}

}  // namespace

TSplitterJoinerPage::TSplitterJoinerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtSJ"), QStringLiteral("Splitter && Joiner"), QStringLiteral("SPLITTER & JOINER"), QStringLiteral("Label82"))
{
    GroupBox10 = new QGroupBox(QStringLiteral(" Splitter "), this);
    GroupBox10->setObjectName(QStringLiteral("GroupBox10"));
    Label41 = label(GroupBox10, "Label41", QStringLiteral("File to Split :"));
    txtSplit = edit(GroupBox10, "txtSplit");
    Button26 = browseButton(GroupBox10, "Button26");
    Label43 = label(GroupBox10, "Label43", QStringLiteral("Split into :"));
    spnPart = new QSpinBox(GroupBox10);
    spnPart->setObjectName(QStringLiteral("spnPart"));
    spnPart->setRange(korvala::kMinSplitParts, korvala::kMaxSplitParts);
    spnPart->setValue(korvala::kMinSplitParts);
    // A text that is no number counts as the minimum; the box corrects
    // what it holds when it loses focus.
    spnPart->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    Label44 = label(GroupBox10, "Label44", QStringLiteral("Part(s)"));
    btnSplit = button(GroupBox10, "btnSplit", QStringLiteral("SPLIT"));
    auto* splitter = new QVBoxLayout(GroupBox10);
    splitter->addWidget(Label41);
    splitter->addLayout(row({txtSplit, Button26}, txtSplit));
    splitter->addLayout(row({Label43, spnPart, Label44}));
    splitter->addWidget(btnSplit, 0, Qt::AlignRight);

    GroupBox11 = new QGroupBox(QStringLiteral(" Joiner "), this);
    GroupBox11->setObjectName(QStringLiteral("GroupBox11"));
    Label42 = label(GroupBox11, "Label42", QStringLiteral("File to Join ( *._1  or *.001 ) :"));
    txtJoin = edit(GroupBox11, "txtJoin");
    Button31 = browseButton(GroupBox11, "Button31");
    btnJoin = button(GroupBox11, "btnJoin", QStringLiteral("JOIN"));
    auto* joiner = new QVBoxLayout(GroupBox11);
    joiner->addWidget(Label42);
    joiner->addLayout(row({txtJoin, Button31}, txtJoin));
    joiner->addWidget(btnJoin, 0, Qt::AlignRight);

    body()->addWidget(GroupBox10);
    body()->addWidget(GroupBox11);
    body()->addStretch(1);

    onClicked(Button26, this, &TSplitterJoinerPage::Button26Click);
    onClicked(Button31, this, &TSplitterJoinerPage::Button31Click);

    splitRun = bindRun(QStringLiteral("trdSplit"), btnSplit,
        {QStringLiteral("SPLIT"), QStringLiteral("Abort Split"), QString::fromLatin1(korvala::kSplitCompletedText),
            QString::fromLatin1(korvala::kSplitAbortedText)},
        m_split, [this](Run& run) {
            if (txtSplit->text().isEmpty())
                return false;
            run.path = QFile::encodeName(txtSplit->text()).toStdString();
            run.parts = partsChosen(*spnPart);
            return true;
        },
        [](const Run& run, const korvala::CancelRequested& cancel, const korvala::AcceptCancel& accept,
            const korvala::FailureReport& failed) { return korvala::SplitFile(run.path, run.parts, cancel, accept, failed); },
        &korvala::splitEndText);
    joinRun = bindRun(QStringLiteral("trdJoin"), btnJoin,
        {QStringLiteral("JOIN"), QStringLiteral("Abort Join"), QString::fromLatin1(korvala::kJoinCompletedText),
            QString::fromLatin1(korvala::kJoinAbortedText)},
        m_join, [this](Run& run) {
            if (txtJoin->text().isEmpty())
                return false;
            run.path = QFile::encodeName(txtJoin->text()).toStdString();
            return true;
        },
        [](const Run& run, const korvala::CancelRequested& cancel, const korvala::AcceptCancel& accept,
            const korvala::FailureReport& failed) { return korvala::JoinParts(run.path, cancel, accept, failed); },
        &korvala::joinEndText);
}

TToolRun* TSplitterJoinerPage::bindRun(const QString& workerName, QPushButton* button, TToolRunTexts texts, Run& state,
    std::function<bool(Run&)> takeInputs, Engine engine, std::string (*endText)(korvala::TRunEnd, const std::string&))
{
    auto* toolRun = new TToolRun(this, context().worker(workerName), button, std::move(texts),
        TCancelPolicy::CancelRestoresCaption);
    toolRun->mayStart = [&state, takeInputs = std::move(takeInputs)] {
        state = Run{};
        return takeInputs(state);
    };
    toolRun->work = [&state, engine = std::move(engine)](TBackgroundWorker& worker) {
        state.end = engine(state, [&] { return worker.CancellationPending(); }, [&] { worker.AcceptCancellation(); },
            [&state](const std::string& reason) { state.reason = reason; });
    };
    // A failed run says so, with its reason, instead of the completion text.
    toolRun->endMessage = [&state, endText](bool) {
        if (state.end != korvala::TRunEnd::reFailed)
            return QString();
        const std::string text = endText(state.end, state.reason);
        return QFile::decodeName(QByteArray::fromStdString(text));
    };
    return toolRun;
}

void TSplitterJoinerPage::Button26Click()
{
    browseFile(this, txtSplit, kAnyFileFilter);
}

void TSplitterJoinerPage::Button31Click()
{
    browseFile(this, txtJoin, kPartsFilter);
}

void TSplitterJoinerPage::setSplitFile(const QString& path)
{
    txtSplit->setText(path);
}

void TSplitterJoinerPage::setJoinFile(const QString& path)
{
    txtJoin->setText(path);
}
