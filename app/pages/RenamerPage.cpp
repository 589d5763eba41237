#include "app/pages/RenamerPage.h"

#include <QVBoxLayout>

TRenamerPage::TRenamerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtRen"), QStringLiteral("Renamer"))
{
    body()->addStretch(1);
}
