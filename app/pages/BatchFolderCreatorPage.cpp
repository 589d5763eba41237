#include "app/pages/BatchFolderCreatorPage.h"

#include <QVBoxLayout>

TBatchFolderCreatorPage::TBatchFolderCreatorPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtBFC"), QStringLiteral("Batch Folder Creator"), 16)
{
    body()->addStretch(1);
}
