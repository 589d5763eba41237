#include "app/pages/BatchFolderCreatorPage.h"

#include <QVBoxLayout>

TBatchFolderCreatorPage::TBatchFolderCreatorPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtBFC"), QStringLiteral("Batch Folder Creator"))
{
    body()->addStretch(1);
}
