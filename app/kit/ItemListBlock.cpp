#include "app/kit/ItemListBlock.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Glyphs.h"
#include "app/Guard.h"
#include "app/ItemList.h"

TItemListBlock TItemListBlock::create(QWidget* parent, const TItemListNames& names, std::function<void()> changed)
{
    TItemListBlock block;
    block.container = new QWidget(parent);
    block.container->setObjectName(names.list + QStringLiteral("Block"));
    auto* layout = new QVBoxLayout(block.container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto* header = new QHBoxLayout;
    if (!names.caption.isEmpty()) {
        block.caption = new QLabel(names.captionText, block.container);
        block.caption->setObjectName(names.caption);
        QFont bold = block.caption->font();
        bold.setBold(true);
        block.caption->setFont(bold);
        header->addWidget(block.caption);
    }
    header->addStretch(1);
    block.counter = new QLabel(QStringLiteral("Total Items : -"), block.container);
    block.counter->setObjectName(names.counter);
    block.counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    header->addWidget(block.counter);
    layout->addLayout(header);

    block.list = new TItemList(names.list, block.container, names.selection);
    block.list->setCounter(block.counter);
    layout->addWidget(block.list, 1);

    auto makeButton = [&](const QString& name, const QString& text, ListGlyph glyph) -> QPushButton* {
        if (name.isEmpty())
            return nullptr;
        auto* button = new QPushButton(listButtonGlyph(glyph), text, block.container);
        button->setObjectName(name);
        button->setMinimumWidth(110);
        return button;
    };
    block.addFiles = makeButton(names.addFiles, QStringLiteral("Add File(s)"), ListGlyph::Add);
    block.addFolder = makeButton(names.addFolder, QStringLiteral("Add Folder"), ListGlyph::AddFolder);
    block.remove = makeButton(names.remove, QStringLiteral("Remove"), ListGlyph::Remove);
    block.removeAll = makeButton(names.removeAll, QStringLiteral("Remove All"), ListGlyph::RemoveAll);
    if (block.addFiles || block.addFolder || block.remove || block.removeAll) {
        auto* buttons = new QHBoxLayout;
        for (QPushButton* button : {block.addFiles, block.addFolder, block.remove, block.removeAll})
            if (button)
                buttons->addWidget(button);
        buttons->addStretch(1);
        layout->addLayout(buttons);
    }
    // The shared list actions, guarded like every handler; dialogs open over
    // the block's parent.
    TItemList* list = block.list;
    const auto wire = [parent, changed](QPushButton* button, std::function<void()> action) {
        if (!button)
            return;
        QObject::connect(button, &QPushButton::clicked, parent, [parent, action, changed] {
            runGuarded(parent, [&] {
                action();
                if (changed)
                    changed();
            });
        });
    };
    wire(block.addFiles, [list, parent] { AddFilesToList(*list, parent); });
    wire(block.addFolder, [list, parent] { AddFolderToList(*list, parent); });
    wire(block.remove, [list] { list->removeSelected(); });
    wire(block.removeAll, [list] { list->removeAll(); });
    return block;
}


QWidget* TItemListBlock::create(QWidget* parent, const TItemListNames& names, const TItemListSlots& into,
    std::function<void()> changed)
{
    const TItemListBlock block = create(parent, names, std::move(changed));
    const auto store = [](auto** slot, auto* widget) {
        if (slot)
            *slot = widget;
    };
    store(into.list, block.list);
    store(into.counter, block.counter);
    store(into.caption, block.caption);
    store(into.addFiles, block.addFiles);
    store(into.addFolder, block.addFolder);
    store(into.remove, block.remove);
    store(into.removeAll, block.removeAll);
    return block.container;
}
