#pragma once
// The Hidden Revealer page (shtHR): the hidden-entry scan on the page's search
// component FScan (threaded), and revealing the listed entries on the worker
// trdRevealHDN.

#include <vector>

#include "app/pages/ToolPage.h"
#include "search/FileDetails.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TItemList;

namespace korvala {
class TFindFileW;
}

class THiddenRevealerPage : public TToolPage {
    Q_OBJECT

public:
    explicit THiddenRevealerPage(const TPageContext& context);
    ~THiddenRevealerPage() override;

    TItemList* itemList() const override { return HRList; }
    // The window closes: a running scan is aborted as the title label's press
    // of the scan button does it, without a message.
    void stopWork() override;
    // A folder brought from outside: the folder field txtFTS (the last one wins).
    void setFolderToScan(const QString& folder);

    // --- Handlers -----------------------------------------------------------
    void Button25Click();
    // Scan / Abort Scan. sender is the button, or the title label when the
    // window closes (then an abort shows no message).
    void HRScanClick(QObject* sender);
    void FScanFileMatch(const std::vector<korvala::TFileDetails>& batch);
    void FScanSearchFinish();
    // REVEAL SELECTED (tag 0) and REVEAL ALL (tag 1).
    void Button27Click(QPushButton* sender);

    // --- Controls -------------------------------------------------------------
    korvala::TFindFileW* FScan = nullptr;

    QLabel* Label33 = nullptr;
    QLineEdit* txtFTS = nullptr;
    QPushButton* Button25 = nullptr;
    QCheckBox* chkSYS = nullptr;
    QPushButton* HRScan = nullptr;
    // The item list block.
    TItemList* HRList = nullptr;
    QLabel* Label32 = nullptr;
    QLabel* Label31 = nullptr;
    QPushButton* Button27 = nullptr;
    QPushButton* Button28 = nullptr;

private:
    void trdRevealHDNWork(TBackgroundWorker& worker);
    void trdRevealHDNWorkComplete();
    void updateTotal();

    // The tag of the reveal button last pressed (the worker's tag): window
    // thread only; the work reads it through Synchronize.
    int m_revealTag = 0;
};
