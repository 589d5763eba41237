#include "app/pages/FileShredderPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"

TFileShredderPage::TFileShredderPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtFS"), QStringLiteral("File Shredder"), 5, QStringLiteral("FILE SHREDDER"), QStringLiteral("Label89"))
{
    titleStrip()->setToolTip(QStringLiteral("Secure delete your Files to make it Unrecoverable"));
    TItemListNames names;
    names.list = QStringLiteral("FSList");
    names.counter = QStringLiteral("totFS");
    names.caption = QStringLiteral("Label86");
    names.captionText = QStringLiteral("File List :");
    names.addFiles = QStringLiteral("BitBtn5");
    names.remove = QStringLiteral("BitBtn7");
    names.removeAll = QStringLiteral("BitBtn8");
    const TItemListBlock block = createItemListBlock(this, names);
    FSList = block.list;
    totFS = block.counter;
    Label86 = block.caption;
    BitBtn5 = block.addFiles;
    BitBtn7 = block.remove;
    BitBtn8 = block.removeAll;
    body()->addWidget(block.container, 1);
    onClicked(BitBtn5, this, &TFileShredderPage::BitBtn5Click);
    onClicked(BitBtn7, this, &TFileShredderPage::BitBtn7Click);
    onClicked(BitBtn8, this, &TFileShredderPage::BitBtn8Click);
}

// Add File(s): the shared file dialog.
void TFileShredderPage::BitBtn5Click()
{
    AddFilesToList(*FSList, this);
}

// Remove the selected entries.
void TFileShredderPage::BitBtn7Click()
{
    FSList->removeSelected();
}

// Remove All.
void TFileShredderPage::BitBtn8Click()
{
    FSList->removeAll();
}
