#include "app/pages/ExplorerPage.h"

#include <QVBoxLayout>

TExplorerPage::TExplorerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtExp"), QStringLiteral("Explorer"))
{
    body()->addStretch(1);
}
