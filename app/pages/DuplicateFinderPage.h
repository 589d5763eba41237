#pragma once
// The Duplicate Finder page (shtDF).

#include "app/pages/ToolPage.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TItemList;

class TDuplicateFinderPage : public TToolPage {
    Q_OBJECT

public:
    explicit TDuplicateFinderPage(TfrmKorvala& form);

    TItemList* itemList() const override { return DFList; }

    // Item list buttons.
    void Button35Click();
    void Button36Click();
    void Button37Click();

    // Controls, named as the window description names them.
    TItemList* DFList = nullptr;
    QLabel* Label54 = nullptr;
    QLabel* Label53 = nullptr;
    QPushButton* Button35 = nullptr;
    QPushButton* Button36 = nullptr;
    QPushButton* Button37 = nullptr;
};
