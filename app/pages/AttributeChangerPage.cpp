#include "app/pages/AttributeChangerPage.h"

#include <string>

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"
#include "app/kit/PageWidgets.h"
#include "app/kit/ToolRun.h"
#include "platform/FileAttributes.h"
#include "tools/attributes/AttributeChanger.h"
#include "worker/PerEntry.h"

namespace {

korvala::AttributeChoice choiceOf(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked:
        return korvala::AttributeChoice::acSet;
    case Qt::Unchecked:
        return korvala::AttributeChoice::acClear;
    case Qt::PartiallyChecked:
        break;
    }
    return korvala::AttributeChoice::acKeep;
}

}  // namespace

TAttributeChangerPage::TAttributeChangerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtAC"), QStringLiteral("Attribute Changer"))
{
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "ACList", .counter = "Label2", .caption = "Label1", .addFiles = "Button2", .remove = "Button3",
            .removeAll = "Button4"},
        {.list = &ACList, .counter = &Label2, .caption = &Label1, .addFiles = &Button2, .remove = &Button3, .removeAll = &Button4});
    body()->addWidget(listBlock, 1);

    auto* row = new QHBoxLayout;
    row->setSpacing(10);

    // The display group is disabled: it only shows what ACListClick read.
    GroupBox2 = new QGroupBox(QStringLiteral(" CURRENT Attribute (Selected) "), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setEnabled(false);
    auto* current = new QVBoxLayout(GroupBox2);
    oSYS = kit::checkBox(GroupBox2, "oSYS", QStringLiteral("System"));
    oRO = kit::checkBox(GroupBox2, "oRO", QStringLiteral("Read-Only"));
    oHDN = kit::checkBox(GroupBox2, "oHDN", QStringLiteral("Hidden"));
    oARC = kit::checkBox(GroupBox2, "oARC", QStringLiteral("Archive"));
    oCOM = kit::checkBox(GroupBox2, "oCOM", QStringLiteral("Compressed"));
    for (QCheckBox* box : {oSYS, oRO, oHDN, oARC, oCOM})
        current->addWidget(box, 0, Qt::AlignLeft);
    oSYS->setVisible(false);
    oCOM->setVisible(false);
    current->addStretch(1);
    row->addWidget(GroupBox2, 1);

    GroupBox1 = new QGroupBox(QStringLiteral(" NEW Attribute "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* fresh = new QHBoxLayout(GroupBox1);
    auto* boxes = new QVBoxLayout;
    nSYS = kit::checkBox(GroupBox1, "nSYS", QStringLiteral("System"), true);
    nRO = kit::checkBox(GroupBox1, "nRO", QStringLiteral("Read-Only"), true);
    nHDN = kit::checkBox(GroupBox1, "nHDN", QStringLiteral("Hidden"), true);
    nARC = kit::checkBox(GroupBox1, "nARC", QStringLiteral("Archive"), true);
    nCOM = kit::checkBox(GroupBox1, "nCOM", QStringLiteral("Compressed"), true);
    // Left-aligned at their own size: a click beside a box's text does not toggle it.
    for (QCheckBox* box : {nSYS, nRO, nHDN, nARC, nCOM})
        boxes->addWidget(box, 0, Qt::AlignLeft);
    nCOM->setVisible(false);
    boxes->addStretch(1);
    fresh->addLayout(boxes, 1);
    auto* resets = new QVBoxLayout;
    Button7 = kit::button(GroupBox1, "Button7", QStringLiteral("Blank"));
    Button6 = kit::button(GroupBox1, "Button6", QStringLiteral("Reset"));
    resets->addWidget(Button7);
    resets->addWidget(Button6);
    resets->addStretch(1);
    fresh->addLayout(resets);
    row->addWidget(GroupBox1, 1);

    Button5 = kit::bigStartButton(this, "Button5", QString());
    kit::makeDefaultButton(this, Button5);
    row->addWidget(Button5, 0, Qt::AlignBottom);
    body()->addLayout(row);

    onClicked(Button7, this, &TAttributeChangerPage::Button7Click);
    onClicked(Button6, this, &TAttributeChangerPage::Button6Click);
    // A click on an entry, or moving to another entry with the keyboard while
    // the list has the focus, shows that entry (a change of the current entry
    // by the list buttons or a transfer does not).
    connect(ACList, &QAbstractItemView::clicked, this,
        [this] { runGuarded(this, [this] { ACListClick(); }); });
    connect(ACList, &QListWidget::currentRowChanged, this, [this] {
        if (ACList->hasFocus())
            runGuarded(this, [this] { ACListClick(); });
    });

    run = new TToolRun(this, context.worker(QStringLiteral("trdAC")), Button5,
        {QStringLiteral("CHANGE ATTRIBUTE"), QStringLiteral("ABORT"), QStringLiteral("Attribute Changing process Completed!"),
            QStringLiteral("Attribute Changing process ABORTED!")},
        TCancelPolicy::CancelRestoresCaption);
    run->mayStart = [this] { return ACList->count() > 0; };
    // Each entry and the NEW choices are read when the entry's turn comes, so
    // a choice changed during the run applies to the entries not yet done. An
    // entry that cannot be read or written is passed over silently.
    run->work = [this](TBackgroundWorker& worker) {
        struct Entry {
            std::string path;
            korvala::AttributeChoice readOnly, hidden, system, archive;
        };
        TPerEntryOptions options;
        options.visiting = [this](int position) { emit entryRequested(position); };
        runPerEntry(
            worker, [this] { return ACList->count(); },
            [this](int position) {
                return Entry{ACList->pathAt(position), choiceOf(nRO), choiceOf(nHDN), choiceOf(nSYS), choiceOf(nARC)};
            },
            [](Entry& entry) {
                korvala::ApplyAttributeChoices(entry.path, entry.readOnly, entry.hidden, entry.system, entry.archive);
            },
            options);
    };
}

void TAttributeChangerPage::ACListClick()
{
    if (ACList->currentRow() < 0)
        return;
    // A path that cannot be read gives the all-ones word, so every box shows
    // checked: the display tells "unknown" apart from "nothing set".
    const uint32_t word = korvala::getFileAttributes(ACList->currentPath());
    oSYS->setChecked((word & korvala::FILE_ATTRIBUTE_SYSTEM) != 0);
    oRO->setChecked((word & korvala::FILE_ATTRIBUTE_READONLY) != 0);
    oHDN->setChecked((word & korvala::FILE_ATTRIBUTE_HIDDEN) != 0);
    oARC->setChecked((word & korvala::FILE_ATTRIBUTE_ARCHIVE) != 0);
}

void TAttributeChangerPage::Button7Click()
{
    for (QCheckBox* box : {nSYS, nARC, nCOM, nHDN, nRO})
        box->setCheckState(Qt::Unchecked);
}

void TAttributeChangerPage::Button6Click()
{
    for (QCheckBox* box : {nSYS, nARC, nCOM, nHDN, nRO})
        box->setCheckState(Qt::PartiallyChecked);
}
