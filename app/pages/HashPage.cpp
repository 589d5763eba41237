#include "app/pages/HashPage.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"

THashPage::THashPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtHash"), QStringLiteral("Hash"), 7, QStringLiteral("HASH"), QStringLiteral("Label83"))
{
    PageControl5 = new QTabWidget(this);
    PageControl5->setObjectName(QStringLiteral("PageControl5"));
    shtHGen = new QWidget;
    shtHGen->setObjectName(QStringLiteral("shtHGen"));
    shtVCheck = new QWidget;
    shtVCheck->setObjectName(QStringLiteral("shtVCheck"));
    shtCompF = new QWidget;
    shtCompF->setObjectName(QStringLiteral("shtCompF"));
    PageControl5->addTab(shtHGen, QStringLiteral("Hash Generator"));
    PageControl5->addTab(shtVCheck, QStringLiteral("Verify Checksum"));
    PageControl5->addTab(shtCompF, QStringLiteral("Compare Files"));
    body()->addWidget(PageControl5, 1);

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
    auto* shtHGenLayout = new QVBoxLayout(shtHGen);
    shtHGenLayout->addWidget(block.container, 1);
    onClicked(Button20, this, &THashPage::Button20Click);
    onClicked(Button19, this, &THashPage::Button19Click);
    onClicked(Button18, this, &THashPage::Button18Click);
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
