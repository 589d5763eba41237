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
    explicit TFileShredderPage(const TPageContext& context);

    TItemList* itemList() const override { return FSList; }

    // The item list block; its buttons are wired by the block.
    TItemList* FSList = nullptr;
    QLabel* totFS = nullptr;
    QLabel* Label86 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QPushButton* BitBtn7 = nullptr;
    QPushButton* BitBtn8 = nullptr;
};
