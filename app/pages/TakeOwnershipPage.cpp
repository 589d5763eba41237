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
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "TOList", .counter = "totTO", .caption = "Label87", .addFiles = "Button54", .addFolder = "Button55", .remove = "Button56", .removeAll = "Button57"},
        {.list = &TOList, .counter = &totTO, .caption = &Label87, .addFiles = &Button54, .addFolder = &Button55, .remove = &Button56, .removeAll = &Button57});
    body()->addWidget(listBlock, 1);
}
