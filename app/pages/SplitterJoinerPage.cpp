#include "app/pages/SplitterJoinerPage.h"

#include <QVBoxLayout>

TSplitterJoinerPage::TSplitterJoinerPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtSJ"), QStringLiteral("Splitter && Joiner"), 13, QStringLiteral("SPLITTER & JOINER"), QStringLiteral("Label82"))
{
    body()->addStretch(1);
}
