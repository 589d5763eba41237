#include "app/pages/TakeOwnershipPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"
#include "app/kit/PageWidgets.h"
#include "tools/scripts/BatchScript.h"
#include "tools/scripts/ScriptLines.h"

TTakeOwnershipPage::TTakeOwnershipPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtTO"), QStringLiteral("Take Ownership"))
{
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "TOList", .counter = "totTO", .caption = "Label87", .addFiles = "Button54", .addFolder = "Button55", .remove = "Button56", .removeAll = "Button57"},
        {.list = &TOList, .counter = &totTO, .caption = &Label87, .addFiles = &Button54, .addFolder = &Button55, .remove = &Button56, .removeAll = &Button57});
    body()->addWidget(listBlock, 1);
    BitBtn4 = kit::bigStartButton(this, "BitBtn4", QStringLiteral("TAKE OWNERSHIP"));
    body()->addWidget(BitBtn4, 0, Qt::AlignHCenter);
    onClicked(BitBtn4, this, &TTakeOwnershipPage::BitBtn4Click);
}

void TTakeOwnershipPage::BitBtn4Click()
{
    const std::string group = korvala::administratorsGroup();
    std::vector<std::string> lines;
    for (const std::string& path : TOList->paths())
        lines.push_back(korvala::takeOwnershipLine(path, group));
    korvala::RunBatchScript(lines, "TakeOwnership.sh");
}
