#include "app/pages/SplitterJoinerPage.h"

#include <QVBoxLayout>

TSplitterJoinerPage::TSplitterJoinerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtSJ"), QStringLiteral("Splitter && Joiner"), QStringLiteral("SPLITTER & JOINER"), QStringLiteral("Label82"))
{
    body()->addStretch(1);
}
