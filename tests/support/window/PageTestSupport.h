#pragma once
// Helpers for the Attribute Changer and DateTime Changer window tests:
// clicking list entries and adding files through the test dialogs.

#include <string>
#include <vector>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "GuiFixture.h"
#include "app/ItemList.h"

inline QString qs(const std::string& s) { return QString::fromStdString(s); }

// Clicks the entry at row with the mouse, as the user selects it.
inline void clickRow(TItemList* list, int row)
{
    QListWidgetItem* item = list->item(row);
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(item).center());
}

// Adds files through the page's "Add File(s)" button and the test dialog.
inline void addThroughDialog(QPushButton* addButton, const std::vector<std::string>& paths)
{
    QStringList answer;
    for (const std::string& p : paths)
        answer << qs(p);
    testDialogs().nextOpenFiles.push_back(answer);
    QTest::mouseClick(addButton, Qt::LeftButton);
}
