#include "app/pages/FileFolderInformationPage.h"

#include <QVBoxLayout>

TFileFolderInformationPage::TFileFolderInformationPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtFFI"), QStringLiteral("File/Folder Information"))
{
    body()->addStretch(1);
}
