#include "app/pages/AttributeChangerPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"

TAttributeChangerPage::TAttributeChangerPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtAC"), QStringLiteral("Attribute Changer"), 0)
{
    TItemListNames names;
    names.list = QStringLiteral("ACList");
    names.counter = QStringLiteral("Label2");
    names.caption = QStringLiteral("Label1");
    names.captionText = QStringLiteral("File/Folder List :");
    names.addFiles = QStringLiteral("Button2");
    names.remove = QStringLiteral("Button3");
    names.removeAll = QStringLiteral("Button4");
    const TItemListBlock block = createItemListBlock(this, names);
    ACList = block.list;
    Label2 = block.counter;
    Label1 = block.caption;
    Button2 = block.addFiles;
    Button3 = block.remove;
    Button4 = block.removeAll;
    body()->addWidget(block.container, 1);
    onClicked(Button2, this, &TAttributeChangerPage::Button2Click);
    onClicked(Button3, this, &TAttributeChangerPage::Button3Click);
    onClicked(Button4, this, &TAttributeChangerPage::Button4Click);
}

// Add File(s): the shared file dialog.
void TAttributeChangerPage::Button2Click()
{
    AddFilesToList(*ACList, this);
}

// Remove the selected entries.
void TAttributeChangerPage::Button3Click()
{
    ACList->removeSelected();
}

// Remove All.
void TAttributeChangerPage::Button4Click()
{
    ACList->removeAll();
}
