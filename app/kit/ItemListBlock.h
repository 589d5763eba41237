#pragma once
// The item list block of most tools: caption, counter, list and button row.
// Its Add File(s), Add Folder, Remove and Remove All buttons are wired by the
// block itself to the shared list actions; pages only place the container.

#include <functional>

#include <QAbstractItemView>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;
class TItemList;

struct TItemListNames {
    QString list, counter, caption;     // caption empty: no caption label
    QString captionText = QStringLiteral("File/Folder List :");
    QString addFiles, addFolder, remove, removeAll;  // empty: no such button
    QAbstractItemView::SelectionMode selection = QAbstractItemView::ExtendedSelection;
};

// Where a page keeps the block's widgets under their own names; unset
// entries are not stored.
struct TItemListSlots {
    TItemList** list = nullptr;
    QLabel** counter = nullptr;
    QLabel** caption = nullptr;
    QPushButton** addFiles = nullptr;
    QPushButton** addFolder = nullptr;
    QPushButton** remove = nullptr;
    QPushButton** removeAll = nullptr;
};

struct TItemListBlock {
    QWidget* container = nullptr;
    QLabel* caption = nullptr;
    QLabel* counter = nullptr;
    TItemList* list = nullptr;
    QPushButton* addFiles = nullptr;   // nullptr when the list has none
    QPushButton* addFolder = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* removeAll = nullptr;

    // Builds the block under parent and wires its buttons; changed (when set)
    // runs after each button changed the list, e.g. to refresh a hint.
    static TItemListBlock create(QWidget* parent, const TItemListNames& names, std::function<void()> changed = {});
    // The same, storing the widgets where into says; returns the container.
    static QWidget* create(QWidget* parent, const TItemListNames& names, const TItemListSlots& into,
        std::function<void()> changed = {});
};
