#include "app/pages/ExplorerPage.h"

#include <QVBoxLayout>

TExplorerPage::TExplorerPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtExp"), QStringLiteral("Explorer"), 3)
{
    body()->addStretch(1);
}
