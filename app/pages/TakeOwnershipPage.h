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
    explicit TTakeOwnershipPage(TfrmKorvala& form);

    TItemList* itemList() const override { return TOList; }

    // Item list buttons.
    void Button54Click();
    void Button55Click();
    void Button56Click();
    void Button57Click();

    // Controls, named as the window description names them.
    TItemList* TOList = nullptr;
    QLabel* totTO = nullptr;
    QLabel* Label87 = nullptr;
    QPushButton* Button54 = nullptr;
    QPushButton* Button55 = nullptr;
    QPushButton* Button56 = nullptr;
    QPushButton* Button57 = nullptr;
};
