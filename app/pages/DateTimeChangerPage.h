#pragma once
// The DateTime Changer page (shtDTC).

#include "app/pages/ToolPage.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TItemList;

class TDateTimeChangerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TDateTimeChangerPage(TfrmKorvala& form);

    TItemList* itemList() const override { return DTCList; }

    // Item list buttons.
    void Button8Click();
    void Button9Click();
    void Button10Click();

    // Controls, named as the window description names them.
    TItemList* DTCList = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;
};
