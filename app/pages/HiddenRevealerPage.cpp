#include "app/pages/HiddenRevealerPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"

THiddenRevealerPage::THiddenRevealerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtHR"), QStringLiteral("Hidden Revealer"), QStringLiteral("HIDDEN REVEALER"), QStringLiteral("Label78"))
{
    const TItemListBlock block = TItemListBlock::create(this,
        {.list = "HRList", .counter = "Label32", .caption = "Label31", .captionText = "Hidden File/Folder List :"});
    HRList = block.list;
    Label32 = block.counter;
    Label31 = block.caption;
    body()->addWidget(block.container, 1);
}
