#pragma once
// The Duplicate Finder page (shtDF).

#include "app/pages/ToolPage.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TItemList;

class TDuplicateFinderPage : public TToolPage {
    Q_OBJECT

public:
    explicit TDuplicateFinderPage(const TPageContext& context);

    TItemList* itemList() const override { return DFList; }

    // The item list block; its buttons are wired by the block.
    TItemList* DFList = nullptr;
    QLabel* Label54 = nullptr;
    QLabel* Label53 = nullptr;
    QPushButton* Button35 = nullptr;
    QPushButton* Button36 = nullptr;
    QPushButton* Button37 = nullptr;
};
