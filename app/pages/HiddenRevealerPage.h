#pragma once
// The Hidden Revealer page (shtHR).

#include "app/pages/ToolPage.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TItemList;

class THiddenRevealerPage : public TToolPage {
    Q_OBJECT

public:
    explicit THiddenRevealerPage(TfrmKorvala& form);

    TItemList* itemList() const override { return HRList; }

    // Controls, named as the window description names them.
    TItemList* HRList = nullptr;
    QLabel* Label32 = nullptr;
    QLabel* Label31 = nullptr;
};
