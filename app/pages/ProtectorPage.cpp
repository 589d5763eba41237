#include "app/pages/ProtectorPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"

TProtectorPage::TProtectorPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtProtect"), QStringLiteral("Protector"))
{
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "ProtList", .counter = "totProtect", .caption = "Label72", .addFiles = "Button50", .addFolder = "Button53", .remove = "Button51", .removeAll = "Button52"},
        {.list = &ProtList, .counter = &totProtect, .caption = &Label72, .addFiles = &Button50, .addFolder = &Button53, .remove = &Button51, .removeAll = &Button52});
    body()->addWidget(listBlock, 1);
}
