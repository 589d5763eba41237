// The Hash page's "Verify Checksum" sub-page: one digest of one file against
// a hash code that the user typed or pasted, on the worker trdVChk.

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

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/Korvala_Main.h"
#include "app/pages/HashPage.h"
#include "app/pages/HashPageParts.h"
#include "tools/hash/ChecksumCheck.h"
#include "worker/BackgroundWorker.h"

using namespace hashpage;

namespace {

const QString kVerifyCaption = QStringLiteral("VERIFY");
const QString kWaitCaption = QStringLiteral("Please Wait....");

}  // namespace

void THashPage::buildVerifier()
{
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

    onClicked(Button42, this, &THashPage::Button42Click);
    onClicked(Button43, this, &THashPage::Button43Click);
    onClicked(btnVerify, this, &THashPage::btnVerifyClick);
}

void THashPage::browseInto(QLineEdit* edit)
{
    // With a path in the box, the dialog starts in that path's folder.
    const QString typed = edit->text();
    const QString folder = typed.isEmpty() ? QString() : QFileInfo(typed).absolutePath();
    const QString chosen = dialogs().openFileIn(this, QStringLiteral("Select File"), allFilesFilter(), folder);
    if (!chosen.isEmpty())
        edit->setText(QDir::toNativeSeparators(chosen));
}

void THashPage::Button42Click()
{
    browseInto(vcLoc);
}

// The clipboard's text replaces the hash code as it is: surrounding spaces or
// line breaks stay and make the verdict DIFFERENT, as the user should see.
void THashPage::Button43Click()
{
    vcHCode->clear();
    vcHCode->setText(QGuiApplication::clipboard()->text());
}

void THashPage::btnVerifyClick()
{
    lblVC->clear();
    TBackgroundWorker* worker = form().trdVChk();
    if (vcLoc->text().isEmpty() || vcHCode->text().isEmpty() || worker->IsWorking())
        return;
    m_verifyInput.path = QFile::encodeName(vcLoc->text()).toStdString();
    m_verifyInput.algorithm = static_cast<korvala::HashAlgorithm>(std::max(0, cmbHAlg->currentIndex()));
    m_verifyInput.expected = vcHCode->text().toStdString();
    btnVerify->setText(kWaitCaption);
    worker->Start();
}

void THashPage::trdVChkWork(TBackgroundWorker& worker)
{
    // No cancellation: the digest runs to its end.
    const korvala::ChecksumVerdict verdict =
        korvala::VerifyFileChecksum(m_verifyInput.path, m_verifyInput.algorithm, m_verifyInput.expected);
    const std::string_view text = korvala::verifyVerdictText(verdict);
    worker.Post([label = lblVC, text = QString::fromLatin1(text.data(), static_cast<int>(text.size())),
                    same = verdict == korvala::ChecksumVerdict::cvSame] { setVerdict(label, text, same); });
}

void THashPage::trdVChkWorkComplete(TBackgroundWorker&, bool)
{
    btnVerify->setText(kVerifyCaption);
    dialogs().message(this, QStringLiteral("Checksum Verification Process Completed!"));
}
