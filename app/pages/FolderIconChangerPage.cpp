#include "app/pages/FolderIconChangerPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"

TFolderIconChangerPage::TFolderIconChangerPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtFIC"), QStringLiteral("Folder Icon Changer"), 6, QStringLiteral("FOLDER ICON CHANGER"), QStringLiteral("Label77"))
{
    pcFIC = new QTabWidget(this);
    pcFIC->setObjectName(QStringLiteral("pcFIC"));
    shtSFIC = new QWidget;
    shtSFIC->setObjectName(QStringLiteral("shtSFIC"));
    shtBFIC = new QWidget;
    shtBFIC->setObjectName(QStringLiteral("shtBFIC"));
    pcFIC->addTab(shtSFIC, QStringLiteral("Single Folder Icon Changer"));
    pcFIC->addTab(shtBFIC, QStringLiteral("Batch Folder Icon Changer"));
    body()->addWidget(pcFIC, 1);

    TItemListNames names;
    names.list = QStringLiteral("lstBFIC");
    names.counter = QStringLiteral("totBFIC");
    names.caption = QStringLiteral("Label92");
    names.captionText = QStringLiteral("Folder Location :");
    names.remove = QStringLiteral("BitBtn16");
    names.removeAll = QStringLiteral("BitBtn17");
    names.selection = QAbstractItemView::SingleSelection;
    const TItemListBlock block = createItemListBlock(shtBFIC, names);
    lstBFIC = block.list;
    totBFIC = block.counter;
    Label92 = block.caption;
    BitBtn16 = block.remove;
    BitBtn17 = block.removeAll;
    auto* shtBFICLayout = new QVBoxLayout(shtBFIC);
    shtBFICLayout->addWidget(block.container, 1);

    // The hint sits over the middle of the list; it must not take the clicks
    // meant for the list.
    pnlbfic = new QLabel(QStringLiteral("DRAG && DROP YOUR FOLDER HERE").replace(QStringLiteral("&&"), QStringLiteral("&")), lstBFIC->viewport());
    pnlbfic->setObjectName(QStringLiteral("pnlbfic"));
    pnlbfic->setAlignment(Qt::AlignCenter);
    pnlbfic->setAttribute(Qt::WA_TransparentForMouseEvents);
    pnlbfic->setStyleSheet(QStringLiteral("background-color: white; color: rgb(120, 120, 120); font-weight: bold; font-size: 12pt;"));
    auto* hintLayout = new QGridLayout(lstBFIC->viewport());
    hintLayout->addWidget(pnlbfic, 0, 0, Qt::AlignCenter);
    onClicked(BitBtn16, this, &TFolderIconChangerPage::BitBtn16Click);
    onClicked(BitBtn17, this, &TFolderIconChangerPage::BitBtn17Click);
}

// Remove the selected entries.
void TFolderIconChangerPage::BitBtn16Click()
{
    lstBFIC->removeSelected();
    pnlbfic->setVisible(lstBFIC->count() == 0);
}

// Remove All.
void TFolderIconChangerPage::BitBtn17Click()
{
    lstBFIC->removeAll();
    pnlbfic->setVisible(lstBFIC->count() == 0);
}

void TFolderIconChangerPage::updateDropHint()
{
    pnlbfic->setVisible(lstBFIC->count() == 0);
}
