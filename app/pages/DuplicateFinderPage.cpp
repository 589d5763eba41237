#include "app/pages/DuplicateFinderPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"

TDuplicateFinderPage::TDuplicateFinderPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtDF"), QStringLiteral("Duplicate Finder"), QStringLiteral("DUPLICATE FINDER"), QStringLiteral("Label76"))
{
    titleStrip()->setToolTip(QStringLiteral("Find Duplicate Files on your PC"));
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "DFList", .counter = "Label54", .caption = "Label53", .captionText = "File List :", .addFiles = "Button35", .remove = "Button36", .removeAll = "Button37"},
        {.list = &DFList, .counter = &Label54, .caption = &Label53, .addFiles = &Button35, .remove = &Button36, .removeAll = &Button37});
    body()->addWidget(listBlock, 1);
}
