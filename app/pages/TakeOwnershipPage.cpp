#include "app/pages/TakeOwnershipPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"

TTakeOwnershipPage::TTakeOwnershipPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtTO"), QStringLiteral("Take Ownership"), 14)
{
    TItemListNames names;
    names.list = QStringLiteral("TOList");
    names.counter = QStringLiteral("totTO");
    names.caption = QStringLiteral("Label87");
    names.captionText = QStringLiteral("File/Folder List :");
    names.addFiles = QStringLiteral("Button54");
    names.addFolder = QStringLiteral("Button55");
    names.remove = QStringLiteral("Button56");
    names.removeAll = QStringLiteral("Button57");
    const TItemListBlock block = createItemListBlock(this, names);
    TOList = block.list;
    totTO = block.counter;
    Label87 = block.caption;
    Button54 = block.addFiles;
    Button55 = block.addFolder;
    Button56 = block.remove;
    Button57 = block.removeAll;
    body()->addWidget(block.container, 1);
    onClicked(Button54, this, &TTakeOwnershipPage::Button54Click);
    onClicked(Button55, this, &TTakeOwnershipPage::Button55Click);
    onClicked(Button56, this, &TTakeOwnershipPage::Button56Click);
    onClicked(Button57, this, &TTakeOwnershipPage::Button57Click);
}

// Add File(s): the shared file dialog.
void TTakeOwnershipPage::Button54Click()
{
    AddFilesToList(*TOList, this);
}

// Add Folder: the folder chooser, no duplicate test.
void TTakeOwnershipPage::Button55Click()
{
    AddFolderToList(*TOList, this);
}

// Remove the selected entries.
void TTakeOwnershipPage::Button56Click()
{
    TOList->removeSelected();
}

// Remove All.
void TTakeOwnershipPage::Button57Click()
{
    TOList->removeAll();
}
