#pragma once
// The Protector page (shtProtect): the listed files and folders locked
// against the user and made immutable, or unlocked again, by a script run in a
// terminal.

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

    void BitBtn2Click();  // PROTECT
    void BitBtn3Click();  // REMOVE PROTECTION

    // The item list block; its buttons are wired by the block.
    TItemList* ProtList = nullptr;
    QLabel* totProtect = nullptr;
    QLabel* Label72 = nullptr;
    QPushButton* Button50 = nullptr;
    QPushButton* Button53 = nullptr;
    QPushButton* Button51 = nullptr;
    QPushButton* Button52 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QLabel* Label73 = nullptr;
};
