#include "app/pages/ProtectorPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"

TProtectorPage::TProtectorPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtProtect"), QStringLiteral("Protector"), 9)
{
    TItemListNames names;
    names.list = QStringLiteral("ProtList");
    names.counter = QStringLiteral("totProtect");
    names.caption = QStringLiteral("Label72");
    names.captionText = QStringLiteral("File/Folder List :");
    names.addFiles = QStringLiteral("Button50");
    names.addFolder = QStringLiteral("Button53");
    names.remove = QStringLiteral("Button51");
    names.removeAll = QStringLiteral("Button52");
    const TItemListBlock block = createItemListBlock(this, names);
    ProtList = block.list;
    totProtect = block.counter;
    Label72 = block.caption;
    Button50 = block.addFiles;
    Button53 = block.addFolder;
    Button51 = block.remove;
    Button52 = block.removeAll;
    body()->addWidget(block.container, 1);
    onClicked(Button50, this, &TProtectorPage::Button50Click);
    onClicked(Button53, this, &TProtectorPage::Button53Click);
    onClicked(Button51, this, &TProtectorPage::Button51Click);
    onClicked(Button52, this, &TProtectorPage::Button52Click);
}

// Add File(s): the shared file dialog.
void TProtectorPage::Button50Click()
{
    AddFilesToList(*ProtList, this);
}

// Add Folder: the folder chooser, no duplicate test.
void TProtectorPage::Button53Click()
{
    AddFolderToList(*ProtList, this);
}

// Remove the selected entries.
void TProtectorPage::Button51Click()
{
    ProtList->removeSelected();
}

// Remove All.
void TProtectorPage::Button52Click()
{
    ProtList->removeAll();
}
