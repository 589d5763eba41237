#pragma once
// The File Shredder page (shtFS): the listed files overwritten and deleted on
// trdFS, each leaving the list as it is done.

#include <string>
#include <vector>

#include "app/pages/ToolPage.h"

class QLabel;
class QProgressBar;
class QPushButton;
class TItemList;
class TToolRun;

class TFileShredderPage : public TToolPage {
    Q_OBJECT

public:
    explicit TFileShredderPage(const TPageContext& context);

    TItemList* itemList() const override { return FSList; }

    // The run of trdFS, started (after the warning) and stopped by btnShred.
    TToolRun* run = nullptr;

    // The item list block; its buttons are wired by the block.
    TItemList* FSList = nullptr;
    QLabel* totFS = nullptr;
    QLabel* Label86 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QPushButton* BitBtn7 = nullptr;
    QPushButton* BitBtn8 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* btnShred = nullptr;

private:
    // The list and its buttons, disabled for the whole run.
    void setListEnabled(bool enabled);

    // The entries as the run started; the list cannot change during the run.
    // Written on the window thread before Start, read by the work thread.
    std::vector<std::string> m_entries;
};
