#include "app/pages/TakeOwnershipPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"

TTakeOwnershipPage::TTakeOwnershipPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtTO"), QStringLiteral("Take Ownership"))
{
    const TItemListBlock block = TItemListBlock::create(this,
        {.list = "TOList", .counter = "totTO", .caption = "Label87", .addFiles = "Button54", .addFolder = "Button55", .remove = "Button56", .removeAll = "Button57"});
    TOList = block.list;
    totTO = block.counter;
    Label87 = block.caption;
    Button54 = block.addFiles;
    Button55 = block.addFolder;
    Button56 = block.remove;
    Button57 = block.removeAll;
    body()->addWidget(block.container, 1);
}
