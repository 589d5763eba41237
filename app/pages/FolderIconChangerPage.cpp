#include "app/pages/FolderIconChangerPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"

TFolderIconChangerPage::TFolderIconChangerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtFIC"), QStringLiteral("Folder Icon Changer"), QStringLiteral("FOLDER ICON CHANGER"), QStringLiteral("Label77"))
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

    QWidget* listBlock = TItemListBlock::create(shtBFIC,
        {.list = "lstBFIC", .counter = "totBFIC", .caption = "Label92", .captionText = "Folder Location :", .remove = "BitBtn16", .removeAll = "BitBtn17", .selection = QAbstractItemView::SingleSelection},
        {.list = &lstBFIC, .counter = &totBFIC, .caption = &Label92, .remove = &BitBtn16, .removeAll = &BitBtn17}, [this] { updateDropHint(); });
    auto* shtBFICLayout = new QVBoxLayout(shtBFIC);
    shtBFICLayout->addWidget(listBlock, 1);

    // The hint sits over the middle of the list; it must not take the clicks
    // meant for the list.
    pnlbfic = new QLabel(QStringLiteral("DRAG && DROP YOUR FOLDER HERE").replace(QStringLiteral("&&"), QStringLiteral("&")), lstBFIC->viewport());
    pnlbfic->setObjectName(QStringLiteral("pnlbfic"));
    pnlbfic->setAlignment(Qt::AlignCenter);
    pnlbfic->setAttribute(Qt::WA_TransparentForMouseEvents);
    pnlbfic->setStyleSheet(QStringLiteral("background-color: white; color: rgb(120, 120, 120); font-weight: bold; font-size: 12pt;"));
    auto* hintLayout = new QGridLayout(lstBFIC->viewport());
    hintLayout->addWidget(pnlbfic, 0, 0, Qt::AlignCenter);
}

void TFolderIconChangerPage::updateDropHint()
{
    pnlbfic->setVisible(lstBFIC->count() == 0);
}
