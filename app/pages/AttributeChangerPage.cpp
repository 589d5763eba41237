#include "app/pages/AttributeChangerPage.h"

#include <string>

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/Korvala_Main.h"
#include "platform/FileAttributes.h"
#include "platform/KorvalaError.h"
#include "tools/attributes/AttributeChanger.h"
#include "worker/BackgroundWorker.h"

namespace {

const QString kStartCaption = QStringLiteral("CHANGE ATTRIBUTE");
const QString kAbortCaption = QStringLiteral("ABORT");

QCheckBox* makeBox(QWidget* parent, const char* name, const QString& text, bool tristate)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    if (tristate) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
    }
    return box;
}

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

// Enter anywhere on the page presses its default button, as in a dialog.
void makeDefaultButton(QWidget* scope, QPushButton* button)
{
    button->setDefault(true);
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, scope);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    }
}

}  // namespace

TAttributeChangerPage::TAttributeChangerPage(TfrmKorvala& form)
    : TToolPage(form, QStringLiteral("shtAC"), QStringLiteral("Attribute Changer"), 0)
{
    TItemListNames names;
    names.list = QStringLiteral("ACList");
    names.counter = QStringLiteral("Label2");
    names.caption = QStringLiteral("Label1");
    names.captionText = QStringLiteral("File/Folder List :");
    names.addFiles = QStringLiteral("Button2");
    names.remove = QStringLiteral("Button3");
    names.removeAll = QStringLiteral("Button4");
    const TItemListBlock block = createItemListBlock(this, names);
    ACList = block.list;
    Label2 = block.counter;
    Label1 = block.caption;
    Button2 = block.addFiles;
    Button3 = block.remove;
    Button4 = block.removeAll;
    body()->addWidget(block.container, 1);

    auto* row = new QHBoxLayout;
    row->setSpacing(10);

    // The display group is disabled: it only shows what ACListClick read.
    GroupBox2 = new QGroupBox(QStringLiteral(" CURRENT Attribute (Selected) "), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setEnabled(false);
    auto* current = new QVBoxLayout(GroupBox2);
    oSYS = makeBox(GroupBox2, "oSYS", QStringLiteral("System"), false);
    oRO = makeBox(GroupBox2, "oRO", QStringLiteral("Read-Only"), false);
    oHDN = makeBox(GroupBox2, "oHDN", QStringLiteral("Hidden"), false);
    oARC = makeBox(GroupBox2, "oARC", QStringLiteral("Archive"), false);
    oCOM = makeBox(GroupBox2, "oCOM", QStringLiteral("Compressed"), false);
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
    nSYS = makeBox(GroupBox1, "nSYS", QStringLiteral("System"), true);
    nRO = makeBox(GroupBox1, "nRO", QStringLiteral("Read-Only"), true);
    nHDN = makeBox(GroupBox1, "nHDN", QStringLiteral("Hidden"), true);
    nARC = makeBox(GroupBox1, "nARC", QStringLiteral("Archive"), true);
    nCOM = makeBox(GroupBox1, "nCOM", QStringLiteral("Compressed"), true);
    // Left-aligned at their own size: a click beside a box's text does not toggle it.
    for (QCheckBox* box : {nSYS, nRO, nHDN, nARC, nCOM})
        boxes->addWidget(box, 0, Qt::AlignLeft);
    nCOM->setVisible(false);
    boxes->addStretch(1);
    fresh->addLayout(boxes, 1);
    auto* resets = new QVBoxLayout;
    Button7 = new QPushButton(QStringLiteral("Blank"), GroupBox1);
    Button7->setObjectName(QStringLiteral("Button7"));
    Button6 = new QPushButton(QStringLiteral("Reset"), GroupBox1);
    Button6->setObjectName(QStringLiteral("Button6"));
    resets->addWidget(Button7);
    resets->addWidget(Button6);
    resets->addStretch(1);
    fresh->addLayout(resets);
    row->addWidget(GroupBox1, 1);

    Button5 = new QPushButton(kStartCaption, this);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setMinimumSize(190, 90);
    QFont big = Button5->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() + 3);
    Button5->setFont(big);
    makeDefaultButton(this, Button5);
    row->addWidget(Button5, 0, Qt::AlignBottom);
    body()->addLayout(row);

    onClicked(Button2, this, &TAttributeChangerPage::Button2Click);
    onClicked(Button3, this, &TAttributeChangerPage::Button3Click);
    onClicked(Button4, this, &TAttributeChangerPage::Button4Click);
    onClicked(Button7, this, &TAttributeChangerPage::Button7Click);
    onClicked(Button6, this, &TAttributeChangerPage::Button6Click);
    onClicked(Button5, this, &TAttributeChangerPage::Button5Click);
    // A click on an entry, or moving to another entry with the keyboard while
    // the list has the focus, shows that entry (a change of the current entry
    // by the list buttons or a transfer does not).
    connect(ACList, &QAbstractItemView::clicked, this,
        [this] { runGuarded(this, [this] { ACListClick(); }); });
    connect(ACList, &QListWidget::currentRowChanged, this, [this] {
        if (ACList->hasFocus())
            runGuarded(this, [this] { ACListClick(); });
    });

    TBackgroundWorker* worker = form.trdAC();
    worker->OnWork = [this](TBackgroundWorker& w) { trdACWork(w); };
    worker->OnWorkComplete = [this](TBackgroundWorker& w, bool cancelled) { trdACWorkComplete(w, cancelled); };
}

// Add File(s): the shared file dialog.
void TAttributeChangerPage::Button2Click()
{
    AddFilesToList(*ACList, this);
}

// Remove the selected entries.
void TAttributeChangerPage::Button3Click()
{
    ACList->removeSelected();
}

// Remove All.
void TAttributeChangerPage::Button4Click()
{
    ACList->removeAll();
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

void TAttributeChangerPage::Button5Click()
{
    TBackgroundWorker* worker = form().trdAC();
    if (!worker->IsWorking() && ACList->count() > 0) {
        worker->Start();
        Button5->setText(kAbortCaption);
    } else {
        worker->Cancel();
        Button5->setText(kStartCaption);
    }
}

void TAttributeChangerPage::trdACWork(TBackgroundWorker& worker)
{
    // The list and the boxes belong to the window thread: every read is a
    // request run there. The count is taken once and bounds the run; each
    // entry and the choices are read when the entry is visited, so a choice
    // changed during the run applies to the entries not yet done.
    int count = 0;
    worker.Synchronize([&] { count = ACList->count(); });
    for (int position = 0; position < count; ++position) {
        if (worker.CancellationPending()) {
            worker.AcceptCancellation();
            return;
        }
        std::string path;
        korvala::AttributeChoice readOnly{}, hidden{}, system{}, archive{};
        worker.Synchronize([&] {
            emit entryRequested(position);
            if (position >= ACList->count())
                throw korvala::KorvalaError("List index out of bounds (" + std::to_string(position) + ")");
            path = ACList->pathAt(position);
            readOnly = choiceOf(nRO);
            hidden = choiceOf(nHDN);
            system = choiceOf(nSYS);
            archive = choiceOf(nARC);
        });
        // An entry that cannot be read or written is passed over silently.
        korvala::ApplyAttributeChoices(path, readOnly, hidden, system, archive);
    }
}

void TAttributeChangerPage::trdACWorkComplete(TBackgroundWorker& worker, bool)
{
    Button5->setText(kStartCaption);
    dialogs().message(this, worker.Cancelled() ? QStringLiteral("Attribute Changing process ABORTED!")
                                               : QStringLiteral("Attribute Changing process Completed!"));
}
