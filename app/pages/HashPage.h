#pragma once
// The Hash page (shtHash).

#include "app/pages/ToolPage.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TItemList;

class THashPage : public TToolPage {
    Q_OBJECT

public:
    explicit THashPage(TfrmKorvala& form);

    TItemList* itemList() const override { return HList; }

    // Item list buttons.
    void Button20Click();
    void Button19Click();
    void Button18Click();

    // Controls, named as the window description names them.
    TItemList* HList = nullptr;
    QLabel* Label27 = nullptr;
    QLabel* Label26 = nullptr;
    QPushButton* Button20 = nullptr;
    QPushButton* Button19 = nullptr;
    QPushButton* Button18 = nullptr;
    QTabWidget* PageControl5 = nullptr;
    QWidget* shtHGen = nullptr;
    QWidget* shtVCheck = nullptr;
    QWidget* shtCompF = nullptr;
};
