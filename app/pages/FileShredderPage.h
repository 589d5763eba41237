#pragma once
// The File Shredder page (shtFS).

#include "app/pages/ToolPage.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TItemList;

class TFileShredderPage : public TToolPage {
    Q_OBJECT

public:
    explicit TFileShredderPage(TfrmKorvala& form);

    TItemList* itemList() const override { return FSList; }

    // Item list buttons.
    void BitBtn5Click();
    void BitBtn7Click();
    void BitBtn8Click();

    // Controls, named as the window description names them.
    TItemList* FSList = nullptr;
    QLabel* totFS = nullptr;
    QLabel* Label86 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QPushButton* BitBtn7 = nullptr;
    QPushButton* BitBtn8 = nullptr;
};
