#include "app/pages/FileFolderInformationPage.h"

#include <QVBoxLayout>

TFileFolderInformationPage::TFileFolderInformationPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtFFI"), QStringLiteral("File/Folder Information"), 4)
{
    body()->addStretch(1);
}
