#include "app/pages/FileShredderPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"

TFileShredderPage::TFileShredderPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtFS"), QStringLiteral("File Shredder"), QStringLiteral("FILE SHREDDER"), QStringLiteral("Label89"))
{
    titleStrip()->setToolTip(QStringLiteral("Secure delete your Files to make it Unrecoverable"));
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "FSList", .counter = "totFS", .caption = "Label86", .captionText = "File List :", .addFiles = "BitBtn5", .remove = "BitBtn7", .removeAll = "BitBtn8"},
        {.list = &FSList, .counter = &totFS, .caption = &Label86, .addFiles = &BitBtn5, .remove = &BitBtn7, .removeAll = &BitBtn8});
    body()->addWidget(listBlock, 1);
}
