#pragma once
// The Take Ownership page (shtTO): the listed files and folders made the
// user's, with full access for the administrators, by a script run in a
// terminal.

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

    // TAKE OWNERSHIP: the script of the listed items, started in a terminal.
    void BitBtn4Click();

    // The item list block; its buttons are wired by the block.
    TItemList* TOList = nullptr;
    QLabel* totTO = nullptr;
    QLabel* Label87 = nullptr;
    QPushButton* Button54 = nullptr;
    QPushButton* Button55 = nullptr;
    QPushButton* Button56 = nullptr;
    QPushButton* Button57 = nullptr;
    QPushButton* BitBtn4 = nullptr;
};
