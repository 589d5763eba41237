#include "app/pages/SharingPage.h"

#include <QVBoxLayout>

TSharingPage::TSharingPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtShare"), QStringLiteral("Sharing"), QStringLiteral("SHARING"), QStringLiteral("Label81"))
{
    body()->addStretch(1);
}
