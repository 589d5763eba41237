#include "app/pages/ProtectorPage.h"

#include <QLabel>
#include <QPushButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"
#include "app/kit/PageWidgets.h"
#include "tools/scripts/BatchScript.h"
#include "tools/scripts/ScriptLines.h"

TProtectorPage::TProtectorPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtProtect"), QStringLiteral("Protector"))
{
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "ProtList", .counter = "totProtect", .caption = "Label72", .addFiles = "Button50", .addFolder = "Button53", .remove = "Button51", .removeAll = "Button52"},
        {.list = &ProtList, .counter = &totProtect, .caption = &Label72, .addFiles = &Button50, .addFolder = &Button53, .remove = &Button51, .removeAll = &Button52});
    body()->addWidget(listBlock, 1);
    BitBtn2 = kit::bigStartButton(this, "BitBtn2", QStringLiteral("PROTECT"));
    BitBtn3 = kit::bigStartButton(this, "BitBtn3", QStringLiteral("REMOVE PROTECTION"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    buttons->addStretch(1);
    body()->addLayout(buttons);
    Label73 = kit::noteLabel(this, "Label73",
        QStringLiteral("Note : Protector Feature will make your File/Folder Undeleteable, Unmovable, Uncopyable and "
                       "Inaccessible."));
    body()->addWidget(Label73);
    onClicked(BitBtn2, this, &TProtectorPage::BitBtn2Click);
    onClicked(BitBtn3, this, &TProtectorPage::BitBtn3Click);
}

namespace {

void runForEach(const TItemList* list, std::string (*lineOf)(const std::string&), const char* fileName)
{
    std::vector<std::string> lines;
    for (const std::string& path : list->paths())
        lines.push_back(lineOf(path));
    korvala::RunBatchScript(lines, fileName);
}

}  // namespace

void TProtectorPage::BitBtn2Click()
{
    runForEach(ProtList, korvala::protectLine, "Protect.sh");
}

void TProtectorPage::BitBtn3Click()
{
    runForEach(ProtList, korvala::unprotectLine, "UnProtect.sh");
}
