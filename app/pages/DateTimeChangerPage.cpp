#include "app/pages/DateTimeChangerPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"

TDateTimeChangerPage::TDateTimeChangerPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtDTC"), QStringLiteral("DateTime Changer"), 1, QStringLiteral("DATE TIME CHANGER"), QStringLiteral("Label75"))
{
    titleStrip()->setToolTip(QStringLiteral("Change \"File/Folder\" created, modified or accesed DateTime"));
    TItemListNames names;
    names.list = QStringLiteral("DTCList");
    names.counter = QStringLiteral("Label4");
    names.caption = QStringLiteral("Label3");
    names.captionText = QStringLiteral("File/Folder List :");
    names.addFiles = QStringLiteral("Button8");
    names.remove = QStringLiteral("Button9");
    names.removeAll = QStringLiteral("Button10");
    const TItemListBlock block = createItemListBlock(this, names);
    DTCList = block.list;
    Label4 = block.counter;
    Label3 = block.caption;
    Button8 = block.addFiles;
    Button9 = block.remove;
    Button10 = block.removeAll;
    body()->addWidget(block.container, 1);
    onClicked(Button8, this, &TDateTimeChangerPage::Button8Click);
    onClicked(Button9, this, &TDateTimeChangerPage::Button9Click);
    onClicked(Button10, this, &TDateTimeChangerPage::Button10Click);
}

// Add File(s): the shared file dialog.
void TDateTimeChangerPage::Button8Click()
{
    AddFilesToList(*DTCList, this);
}

// Remove the selected entries.
void TDateTimeChangerPage::Button9Click()
{
    DTCList->removeSelected();
}

// Remove All.
void TDateTimeChangerPage::Button10Click()
{
    DTCList->removeAll();
}
