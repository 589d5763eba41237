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
    explicit TProtectorPage(TfrmKorvala& form);

    TItemList* itemList() const override { return ProtList; }

    // Item list buttons.
    void Button50Click();
    void Button53Click();
    void Button51Click();
    void Button52Click();

    // Controls, named as the window description names them.
    TItemList* ProtList = nullptr;
    QLabel* totProtect = nullptr;
    QLabel* Label72 = nullptr;
    QPushButton* Button50 = nullptr;
    QPushButton* Button53 = nullptr;
    QPushButton* Button51 = nullptr;
    QPushButton* Button52 = nullptr;
};
