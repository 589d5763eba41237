#include <algorithm>
#include <optional>

#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/pages/HashComparePage.h"

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/kit/PageContext.h"
#include "app/kit/PageWidgets.h"
#include "app/kit/ToolRun.h"
#include "app/pages/HashPageParts.h"
#include "tools/hash/ChecksumCheck.h"
#include "worker/BackgroundWorker.h"

using namespace hashpage;
using kit::boldLabel;
using kit::button;

namespace {

const QString kCompareCaption = QStringLiteral("COMPARE");
const QString kAbortCaption = QStringLiteral("ABORT");

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<int>(text.size()));
}

QString noDigest(std::string_view label)
{
    return latin1(label) + QLatin1Char('-');
}

}  // namespace

korvala::HashAlgorithm THashComparePage::compareAlgorithmAt(int position)
{
    const int last = static_cast<int>(korvala::CompareAlgorithms.size()) - 1;
    return korvala::CompareAlgorithms[static_cast<size_t>(std::clamp(position, 0, last))];
}

THashComparePage::THashComparePage(const TPageContext& context, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("shtCompF"));
    QWidget* shtCompF = this;
    Label61 = boldLabel(shtCompF, "Label61", QStringLiteral("1st File Location :"));
    cfLoc1 = new QLineEdit(shtCompF);
    cfLoc1->setObjectName(QStringLiteral("cfLoc1"));
    Button44 = button(shtCompF, "Button44", QStringLiteral("..."));
    Button44->setFixedWidth(32);
    Label62 = boldLabel(shtCompF, "Label62", QStringLiteral("2nd File Location :"));
    cfLoc2 = new QLineEdit(shtCompF);
    cfLoc2->setObjectName(QStringLiteral("cfLoc2"));
    Button45 = button(shtCompF, "Button45", QStringLiteral("..."));
    Button45->setFixedWidth(32);
    Label64 = boldLabel(shtCompF, "Label64", QStringLiteral("Hash Algorithm :"));
    ComboBox1 = new QComboBox(shtCompF);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    for (korvala::HashAlgorithm algorithm : korvala::CompareAlgorithms)
        ComboBox1->addItem(latin1(korvala::hashAlgorithmName(algorithm)));
    ComboBox1->setCurrentIndex(0);
    btnCompare = button(shtCompF, "btnCompare", kCompareCaption);
    styleStartButton(btnCompare);

    Panel3 = new QFrame(shtCompF);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameShape(QFrame::Panel);
    Panel3->setFrameShadow(QFrame::Sunken);
    hcLoc1 = new QLabel(noDigest(korvala::CompareFirstLabel), Panel3);
    hcLoc1->setObjectName(QStringLiteral("hcLoc1"));
    hcLoc1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    hcLoc2 = new QLabel(noDigest(korvala::CompareSecondLabel), Panel3);
    hcLoc2->setObjectName(QStringLiteral("hcLoc2"));
    hcLoc2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    CFRes = boldLabel(Panel3, "CFRes", QString());
    CFRes->setAlignment(Qt::AlignCenter);
    auto* panelLayout = new QVBoxLayout(Panel3);
    panelLayout->addWidget(hcLoc1);
    panelLayout->addWidget(hcLoc2);
    panelLayout->addWidget(CFRes);

    auto* layout = new QVBoxLayout(shtCompF);
    layout->addWidget(Label61);
    auto* row1 = new QHBoxLayout;
    row1->addWidget(cfLoc1, 1);
    row1->addWidget(Button44);
    layout->addLayout(row1);
    layout->addWidget(Label62);
    auto* row2 = new QHBoxLayout;
    row2->addWidget(cfLoc2, 1);
    row2->addWidget(Button45);
    layout->addLayout(row2);
    layout->addWidget(Label64);
    layout->addWidget(ComboBox1);
    layout->addWidget(btnCompare, 0, Qt::AlignHCenter);
    layout->addWidget(Panel3);
    layout->addStretch(1);

    onClicked(Button44, this, &THashComparePage::Button44Click);
    onClicked(Button45, this, &THashComparePage::Button45Click);

    run = new TToolRun(this, context.worker(QStringLiteral("trdCF")), btnCompare,
        {kCompareCaption, kAbortCaption, QStringLiteral("File Compare Process Completed!"),
            QStringLiteral("File Compare Process ABORTED!")},
        TCancelPolicy::CancelKeepsCaption);
    run->beforeClick = [this] {
        CFRes->clear();
        hcLoc1->setText(noDigest(korvala::CompareFirstLabel));
        hcLoc2->setText(noDigest(korvala::CompareSecondLabel));
    };
    run->mayStart = [this] {
        if (cfLoc1->text().isEmpty() || cfLoc2->text().isEmpty())
            return false;
        m_input.path1 = QFile::encodeName(cfLoc1->text()).toStdString();
        m_input.path2 = QFile::encodeName(cfLoc2->text()).toStdString();
        m_input.algorithm = compareAlgorithmAt(ComboBox1->currentIndex());
        // The algorithm list stays disabled while the comparison runs.
        ComboBox1->setEnabled(false);
        return true;
    };
    run->work = [this](TBackgroundWorker& worker) {
        const std::optional<korvala::CompareResult> result = korvala::CompareFileChecksums(m_input.path1,
            m_input.path2, m_input.algorithm, [&] { return worker.CancellationPending(); },
            [&] { worker.AcceptCancellation(); });
        if (!result)
            return;
        worker.Post([this, first = latin1(korvala::CompareFirstLabel) + QString::fromStdString(result->firstDigest),
                        second = latin1(korvala::CompareSecondLabel) + QString::fromStdString(result->secondDigest),
                        verdict = latin1(korvala::compareVerdictText(result->verdict)),
                        same = result->verdict == korvala::ChecksumVerdict::cvSame] {
            hcLoc1->setText(first);
            hcLoc2->setText(second);
            setVerdict(CFRes, verdict, same);
        });
    };
    run->afterMessage = [this](bool) { ComboBox1->setEnabled(true); };
}

void THashComparePage::Button44Click()
{
    browseInto(this, cfLoc1);
}

void THashComparePage::Button45Click()
{
    browseInto(this, cfLoc2);
}
