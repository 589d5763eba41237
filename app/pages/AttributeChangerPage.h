#pragma once
// The Attribute Changer page (shtAC).

#include "app/pages/ToolPage.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TItemList;

class TAttributeChangerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TAttributeChangerPage(TfrmKorvala& form);

    TItemList* itemList() const override { return ACList; }

    // Item list buttons.
    void Button2Click();
    void Button3Click();
    void Button4Click();

    // Controls, named as the window description names them.
    TItemList* ACList = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
};
