#include <algorithm>

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/pages/HashVerifyPage.h"

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
using kit::noteLabel;

namespace {

const QString kVerifyCaption = QStringLiteral("VERIFY");
const QString kWaitCaption = QStringLiteral("Please Wait....");

}  // namespace

THashVerifyPage::THashVerifyPage(const TPageContext& context, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("shtVCheck"));
    QWidget* shtVCheck = this;
    Label58 = boldLabel(shtVCheck, "Label58", QStringLiteral("File Location :"));
    vcLoc = new QLineEdit(shtVCheck);
    vcLoc->setObjectName(QStringLiteral("vcLoc"));
    Button42 = button(shtVCheck, "Button42", QStringLiteral("..."));
    Button42->setFixedWidth(32);
    Label63 = noteLabel(shtVCheck, "Label63",
        QStringLiteral("Note : File with BIG size will take longer Verification Time"));
    Label59 = boldLabel(shtVCheck, "Label59", QStringLiteral("Hash Algorithm :"));
    cmbHAlg = new QComboBox(shtVCheck);
    cmbHAlg->setObjectName(QStringLiteral("cmbHAlg"));
    cmbHAlg->setEditable(false);
    for (std::string_view name : korvala::HashAlgorithmNames)
        cmbHAlg->addItem(QString::fromLatin1(name.data(), static_cast<int>(name.size())));
    Label60 = boldLabel(shtVCheck, "Label60", QStringLiteral("Hash Code / Checksum :"));
    vcHCode = new QLineEdit(shtVCheck);
    vcHCode->setObjectName(QStringLiteral("vcHCode"));
    Button43 = button(shtVCheck, "Button43", QStringLiteral("Paste"));
    btnVerify = button(shtVCheck, "btnVerify", kVerifyCaption);
    styleStartButton(btnVerify);

    Panel2 = new QFrame(shtVCheck);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Sunken);
    Panel2->setMinimumHeight(48);
    lblVC = boldLabel(Panel2, "lblVC", QString());
    lblVC->setAlignment(Qt::AlignCenter);
    auto* panelLayout = new QVBoxLayout(Panel2);
    panelLayout->addWidget(lblVC);

    auto* layout = new QVBoxLayout(shtVCheck);
    layout->addWidget(Label58);
    auto* locRow = new QHBoxLayout;
    locRow->addWidget(vcLoc, 1);
    locRow->addWidget(Button42);
    layout->addLayout(locRow);
    layout->addWidget(Label63);
    layout->addWidget(Label59);
    layout->addWidget(cmbHAlg);
    layout->addWidget(Label60);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(vcHCode, 1);
    codeRow->addWidget(Button43);
    layout->addLayout(codeRow);
    layout->addWidget(btnVerify, 0, Qt::AlignHCenter);
    layout->addWidget(Panel2);
    layout->addStretch(1);

    onClicked(Button42, this, &THashVerifyPage::Button42Click);
    onClicked(Button43, this, &THashVerifyPage::Button43Click);

    run = new TToolRun(this, context.worker(QStringLiteral("trdVChk")), btnVerify,
        {kVerifyCaption, kWaitCaption, QStringLiteral("Checksum Verification Process Completed!"), QString()},
        TCancelPolicy::NoCancel);
    run->beforeClick = [this] { lblVC->clear(); };
    run->mayStart = [this] {
        if (vcLoc->text().isEmpty() || vcHCode->text().isEmpty())
            return false;
        m_input.path = QFile::encodeName(vcLoc->text()).toStdString();
        m_input.algorithm = static_cast<korvala::HashAlgorithm>(std::max(0, cmbHAlg->currentIndex()));
        m_input.expected = vcHCode->text().toStdString();
        return true;
    };
    // No cancellation: the digest runs to its end.
    run->work = [this](TBackgroundWorker& worker) {
        const korvala::ChecksumVerdict verdict =
            korvala::VerifyFileChecksum(m_input.path, m_input.algorithm, m_input.expected);
        const std::string_view text = korvala::verifyVerdictText(verdict);
        worker.Post([label = lblVC, text = QString::fromLatin1(text.data(), static_cast<int>(text.size())),
                        same = verdict == korvala::ChecksumVerdict::cvSame] { setVerdict(label, text, same); });
    };
}

void THashVerifyPage::formCreate()
{
    cmbHAlg->setCurrentIndex(2);
}

void THashVerifyPage::Button42Click()
{
    browseInto(this, vcLoc);
}

// The clipboard's text replaces the hash code as it is: surrounding spaces or
// line breaks stay and make the verdict DIFFERENT, as the user should see.
void THashVerifyPage::Button43Click()
{
    vcHCode->clear();
    vcHCode->setText(QGuiApplication::clipboard()->text());
}
