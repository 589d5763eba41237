#include "app/pages/RenamerPage.h"

#include <QVBoxLayout>

TRenamerPage::TRenamerPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtRen"), QStringLiteral("Renamer"), 10)
{
    body()->addStretch(1);
}
