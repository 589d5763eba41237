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
    explicit TFolderIconChangerPage(const TPageContext& context);

    // Shows the drop hint exactly while lstBFIC is empty.
    void updateDropHint();

    // The item list block; its buttons are wired by the block.
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
