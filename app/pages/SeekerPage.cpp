#include "app/pages/SeekerPage.h"

#include <QVBoxLayout>

TSeekerPage::TSeekerPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtSkr"), QStringLiteral("Seeker"), 11, QStringLiteral("SEEKER"), QStringLiteral("Label84"))
{
    body()->addStretch(1);
}
