#include "app/pages/DuplicateFinderPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"

TDuplicateFinderPage::TDuplicateFinderPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtDF"), QStringLiteral("Duplicate Finder"), 2, QStringLiteral("DUPLICATE FINDER"), QStringLiteral("Label76"))
{
    titleStrip()->setToolTip(QStringLiteral("Find Duplicate Files on your PC"));
    TItemListNames names;
    names.list = QStringLiteral("DFList");
    names.counter = QStringLiteral("Label54");
    names.caption = QStringLiteral("Label53");
    names.captionText = QStringLiteral("File List :");
    names.addFiles = QStringLiteral("Button35");
    names.remove = QStringLiteral("Button36");
    names.removeAll = QStringLiteral("Button37");
    const TItemListBlock block = createItemListBlock(this, names);
    DFList = block.list;
    Label54 = block.counter;
    Label53 = block.caption;
    Button35 = block.addFiles;
    Button36 = block.remove;
    Button37 = block.removeAll;
    body()->addWidget(block.container, 1);
    onClicked(Button35, this, &TDuplicateFinderPage::Button35Click);
    onClicked(Button36, this, &TDuplicateFinderPage::Button36Click);
    onClicked(Button37, this, &TDuplicateFinderPage::Button37Click);
}

// Add File(s): the shared file dialog.
void TDuplicateFinderPage::Button35Click()
{
    AddFilesToList(*DFList, this);
}

// Remove the selected entries.
void TDuplicateFinderPage::Button36Click()
{
    DFList->removeSelected();
}

// Remove All.
void TDuplicateFinderPage::Button37Click()
{
    DFList->removeAll();
}
