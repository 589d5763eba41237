#pragma once
// The Protector page (shtProtect).

#include "app/pages/ToolPage.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TItemList;

class TProtectorPage : public TToolPage {
    Q_OBJECT

public:
    explicit TProtectorPage(const TPageContext& context);

    TItemList* itemList() const override { return ProtList; }

    // The item list block; its buttons are wired by the block.
    TItemList* ProtList = nullptr;
    QLabel* totProtect = nullptr;
    QLabel* Label72 = nullptr;
    QPushButton* Button50 = nullptr;
    QPushButton* Button53 = nullptr;
    QPushButton* Button51 = nullptr;
    QPushButton* Button52 = nullptr;
};
