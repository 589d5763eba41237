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
    const TItemListBlock block = TItemListBlock::create(this,
        {.list = "ProtList", .counter = "totProtect", .caption = "Label72", .addFiles = "Button50", .addFolder = "Button53", .remove = "Button51", .removeAll = "Button52"});
    ProtList = block.list;
    totProtect = block.counter;
    Label72 = block.caption;
    Button50 = block.addFiles;
    Button53 = block.addFolder;
    Button51 = block.remove;
    Button52 = block.removeAll;
    body()->addWidget(block.container, 1);
}
