#include "app/pages/HiddenRevealerPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ItemList.h"

THiddenRevealerPage::THiddenRevealerPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtHR"), QStringLiteral("Hidden Revealer"), 8, QStringLiteral("HIDDEN REVEALER"), QStringLiteral("Label78"))
{
    TItemListNames names;
    names.list = QStringLiteral("HRList");
    names.counter = QStringLiteral("Label32");
    names.caption = QStringLiteral("Label31");
    names.captionText = QStringLiteral("Hidden File/Folder List :");
    const TItemListBlock block = createItemListBlock(this, names);
    HRList = block.list;
    Label32 = block.counter;
    Label31 = block.caption;
    body()->addWidget(block.container, 1);
}
