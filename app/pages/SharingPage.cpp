#include "app/pages/SharingPage.h"

#include <QVBoxLayout>

TSharingPage::TSharingPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtShare"), QStringLiteral("Sharing"), 12, QStringLiteral("SHARING"), QStringLiteral("Label81"))
{
    body()->addStretch(1);
}
