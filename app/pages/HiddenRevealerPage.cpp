#include "app/pages/HiddenRevealerPage.h"

#include <string>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidgetItem>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"
#include "app/kit/PageWidgets.h"
#include "search/component/FindFileComponent.h"
#include "tools/hidden/HiddenRevealer.h"
#include "worker/BackgroundWorker.h"
#include "worker/PerEntry.h"

namespace {

const QString kScanCaption = QStringLiteral("Scan Hidden File(s) / Folder(s)");
const QString kAbortCaption = QStringLiteral("Abort Scan");
const QString kTotalPrefix = QStringLiteral("Total Items : ");
const char* kTagProperty = "tag";

std::string bytesOf(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}

}  // namespace

THiddenRevealerPage::THiddenRevealerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtHR"), QStringLiteral("Hidden Revealer"), QStringLiteral("HIDDEN REVEALER"), QStringLiteral("Label78"))
{
    FScan = new korvala::TFindFileW(this);
    FScan->setObjectName(QStringLiteral("FScan"));
    FScan->setThreaded(true);
    connect(FScan, &korvala::TFindFileW::filesMatched, this,
        [this](const std::vector<korvala::TFileDetails>& batch) { runGuarded(this, [&] { FScanFileMatch(batch); }); });
    connect(FScan, &korvala::TFindFileW::searchFinish, this, [this] { runGuarded(this, [&] { FScanSearchFinish(); }); });

    auto* folderRow = new QHBoxLayout;
    Label33 = kit::label(this, "Label33", QStringLiteral("Folder to Scan :"));
    txtFTS = new QLineEdit(this);
    txtFTS->setObjectName(QStringLiteral("txtFTS"));
    Button25 = kit::button(this, "Button25", QStringLiteral("..."));
    folderRow->addWidget(Label33);
    folderRow->addWidget(txtFTS, 1);
    folderRow->addWidget(Button25);
    body()->addLayout(folderRow);

    auto* scanRow = new QHBoxLayout;
    chkSYS = kit::checkBox(this, "chkSYS", QStringLiteral("Include \"System File/Folder\""));
    HRScan = kit::button(this, "HRScan", kScanCaption);
    scanRow->addWidget(chkSYS);
    scanRow->addStretch(1);
    scanRow->addWidget(HRScan);
    body()->addLayout(scanRow);

    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "HRList", .counter = "Label32", .caption = "Label31", .captionText = "Hidden File/Folder List :"},
        {.list = &HRList, .counter = &Label32, .caption = &Label31});
    body()->addWidget(listBlock, 1);

    auto* revealRow = new QHBoxLayout;
    Button27 = kit::button(this, "Button27", QStringLiteral("REVEAL SELECTED"));
    Button27->setProperty(kTagProperty, 0);
    Button28 = kit::button(this, "Button28", QStringLiteral("REVEAL ALL"));
    Button28->setProperty(kTagProperty, 1);
    revealRow->addStretch(1);
    revealRow->addWidget(Button27);
    revealRow->addWidget(Button28);
    body()->addLayout(revealRow);

    onClicked(Button25, this, &THiddenRevealerPage::Button25Click);
    connect(HRScan, &QPushButton::clicked, this, [this] { runGuarded(this, [&] { HRScanClick(HRScan); }); });
    for (QPushButton* button : {Button27, Button28})
        connect(button, &QPushButton::clicked, this, [this, button] { runGuarded(this, [&] { Button27Click(button); }); });

    TBackgroundWorker& worker = context.worker(QStringLiteral("trdRevealHDN"));
    worker.OnWork = [this](TBackgroundWorker& w) { trdRevealHDNWork(w); };
    worker.OnWorkComplete = [this](TBackgroundWorker&, bool) { trdRevealHDNWorkComplete(); };
}

THiddenRevealerPage::~THiddenRevealerPage() = default;

void THiddenRevealerPage::stopWork()
{
    if (FScan->Busy())
        HRScanClick(titleStrip());
}

void THiddenRevealerPage::Button25Click()
{
    // The folder holding the typed path, when it exists.
    std::string initial;
    const std::string typed = bytesOf(txtFTS->text());
    const size_t slash = typed.rfind('/');
    if (slash != std::string::npos) {
        const std::string folder = slash == 0 ? std::string("/") : typed.substr(0, slash);
        if (QDir(QFile::decodeName(QByteArray::fromStdString(folder))).exists())
            initial = folder;
    }
    const std::string chosen = SelectFolder(this, initial);
    if (!chosen.empty())
        txtFTS->setText(QFile::decodeName(QByteArray::fromStdString(chosen)));
}

void THiddenRevealerPage::HRScanClick(QObject* sender)
{
    if (HRScan->text() == kAbortCaption) {
        FScan->Abort();
        HRScan->setText(kScanCaption);
        if (sender != titleStrip())
            dialogs().message(this, QStringLiteral("Scanning process Aborted!"));
        return;
    }
    if (txtFTS->text().isEmpty())
        return;
    HRList->removeAll();
    Label32->setText(kTotalPrefix + QStringLiteral("-"));
    FScan->setCriteria(korvala::HiddenScanCriteria(bytesOf(txtFTS->text()), chkSYS->isChecked()));
    FScan->Start();
    HRScan->setText(kAbortCaption);
}

void THiddenRevealerPage::FScanFileMatch(const std::vector<korvala::TFileDetails>& batch)
{
    for (const korvala::TFileDetails& match : batch) {
        const std::string path = match.fullPath();
        HRList->appendPath(path);
        // A dot name stays hidden whatever is revealed: shown greyed, with
        // the reason. The entry itself stays the plain path.
        if (korvala::hiddenByName(path)) {
            QListWidgetItem* item = HRList->item(HRList->count() - 1);
            item->setForeground(HRList->palette().color(QPalette::Disabled, QPalette::Text));
            item->setToolTip(QStringLiteral(
                "Its name starts with a dot: it stays hidden after revealing, since entries are never renamed"));
        }
    }
    updateTotal();
}

void THiddenRevealerPage::FScanSearchFinish()
{
    if (FScan->Aborted())
        return;
    HRScan->setText(kScanCaption);
    if (HRList->count() > 0)
        dialogs().message(this, QStringLiteral("Scanning process completed, Now you can Reveal Hidden Files/Folders!"));
    else
        dialogs().message(this, QStringLiteral("Scanning process completed, There is no Hidden File/Folder Found!"));
}

void THiddenRevealerPage::updateTotal()
{
    Label32->setText(kTotalPrefix + QString::number(HRList->count()));
}

void THiddenRevealerPage::Button27Click(QPushButton* sender)
{
    m_revealTag = sender->property(kTagProperty).toInt();
    if (HRList->count() == 0) {
        dialogs().message(this, QStringLiteral("Hidden File(s) / Folder(s) List is EMPTY!"));
        return;
    }
    if (HRList->selectedItems().isEmpty() && m_revealTag == 0) {
        dialogs().message(this, QStringLiteral("There is No File/Folder Selected!"));
        return;
    }
    TBackgroundWorker& worker = context().worker(QStringLiteral("trdRevealHDN"));
    if (!worker.IsWorking())
        worker.Start();
}

void THiddenRevealerPage::trdRevealHDNWork(TBackgroundWorker& worker)
{
    // Each entry, its selection and the tag are read when its turn comes; the
    // run is not cancelled between entries.
    struct Entry {
        std::string path;
        bool chosen;
    };
    TPerEntryOptions options;
    options.cancelBetweenEntries = false;
    runPerEntry(
        worker, [this] { return HRList->count(); },
        [this](int position) {
            return Entry{HRList->pathAt(position), m_revealTag == 1 || HRList->item(position)->isSelected()};
        },
        [](Entry& entry) {
            // An entry that cannot be read or written stays as it was, silently.
            if (entry.chosen)
                korvala::RevealEntry(entry.path);
        },
        options);
}

void THiddenRevealerPage::trdRevealHDNWorkComplete()
{
    dialogs().message(this, QStringLiteral("Revealing process completed!"));
}

void THiddenRevealerPage::setFolderToScan(const QString& folder)
{
    txtFTS->setText(folder);
}
