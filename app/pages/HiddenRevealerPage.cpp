#include "app/pages/HiddenRevealerPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"

THiddenRevealerPage::THiddenRevealerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtHR"), QStringLiteral("Hidden Revealer"), QStringLiteral("HIDDEN REVEALER"), QStringLiteral("Label78"))
{
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "HRList", .counter = "Label32", .caption = "Label31", .captionText = "Hidden File/Folder List :"},
        {.list = &HRList, .counter = &Label32, .caption = &Label31});
    body()->addWidget(listBlock, 1);
}
