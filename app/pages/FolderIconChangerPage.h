#pragma once
// The Folder Icon Changer page (shtFIC).

#include "app/pages/ToolPage.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TItemList;

class TFolderIconChangerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TFolderIconChangerPage(TfrmKorvala& form);

    // Item list buttons.
    void BitBtn16Click();
    void BitBtn17Click();

    // Shows the drop hint exactly while lstBFIC is empty.
    void updateDropHint();

    // Controls, named as the window description names them.
    TItemList* lstBFIC = nullptr;
    QLabel* totBFIC = nullptr;
    QLabel* Label92 = nullptr;
    QPushButton* BitBtn16 = nullptr;
    QPushButton* BitBtn17 = nullptr;
    QTabWidget* pcFIC = nullptr;
    QWidget* shtSFIC = nullptr;
    QWidget* shtBFIC = nullptr;
    // The drop hint over the middle of lstBFIC, visible exactly while it is empty.
    QLabel* pnlbfic = nullptr;
};
