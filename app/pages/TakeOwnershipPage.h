#pragma once
// The Take Ownership page (shtTO).

#include "app/pages/ToolPage.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TItemList;

class TTakeOwnershipPage : public TToolPage {
    Q_OBJECT

public:
    explicit TTakeOwnershipPage(const TPageContext& context);

    TItemList* itemList() const override { return TOList; }

    // The item list block; its buttons are wired by the block.
    TItemList* TOList = nullptr;
    QLabel* totTO = nullptr;
    QLabel* Label87 = nullptr;
    QPushButton* Button54 = nullptr;
    QPushButton* Button55 = nullptr;
    QPushButton* Button56 = nullptr;
    QPushButton* Button57 = nullptr;
};
