#pragma once
// The Hidden Revealer page (shtHR).

#include "app/pages/ToolPage.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TItemList;

class THiddenRevealerPage : public TToolPage {
    Q_OBJECT

public:
    explicit THiddenRevealerPage(const TPageContext& context);

    TItemList* itemList() const override { return HRList; }

    // The item list block; its buttons are wired by the block.
    TItemList* HRList = nullptr;
    QLabel* Label32 = nullptr;
    QLabel* Label31 = nullptr;
};
