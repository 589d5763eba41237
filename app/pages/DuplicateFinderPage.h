#pragma once
// The Duplicate Finder page (shtDF): the item list, the mode, the scan on the
// worker trdDF and the result grid nxDF, whose rows reach it in batches after
// the scan's two cuts and sort, and from which chosen duplicates go to the
// trash.

#include <string>
#include <vector>

#include "app/kit/ResultGrid.h"
#include "app/kit/RowTableModel.h"
#include "app/pages/ToolPage.h"
#include "tools/duplicates/DuplicateFinder.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;
class TItemList;
class TToolRun;

// One row of nxDF: the engine's row and the texts it sorts by.
struct TDuplicateGridRow {
    korvala::TDuplicateRow row;
    std::string name;
    std::string location;  // ending in "/"
    std::string crc;
    std::string path() const { return location + name; }
};

class TDuplicateResultModel : public TRowTableModel<TDuplicateGridRow> {
    Q_OBJECT

public:
    enum Column { clID = 0, clCRC32 = 1, clName = 2, clSize = 3, clDate = 4, clLocation = 5 };
    explicit TDuplicateResultModel(QObject* parent = nullptr);
    std::string pathAt(int row) const { return rowAt(row).path(); }
    uint32_t idAt(int row) const { return rowAt(row).row.id; }
};

class TDuplicateFinderPage : public TToolPage {
    Q_OBJECT

public:
    explicit TDuplicateFinderPage(const TPageContext& context);

    TItemList* itemList() const override { return DFList; }

    // --- Handlers -----------------------------------------------------------
    void btnLFDNClick();
    void Button39Click();  // REMOVE SELECTED, popup Remove Selected, Delete
    void Button40Click();  // RB
    void MenuItem1Click();  // Open
    void MenuItem2Click();  // Open File Location
    void nxResultSortColumn(int column);

    // --- Controls -------------------------------------------------------------
    // The item list block; its buttons are wired by the block.
    TItemList* DFList = nullptr;
    QLabel* Label54 = nullptr;
    QLabel* Label53 = nullptr;
    QPushButton* Button35 = nullptr;
    QPushButton* Button36 = nullptr;
    QPushButton* Button37 = nullptr;

    QGroupBox* GroupBox16 = nullptr;
    QRadioButton* dfSC = nullptr;
    QRadioButton* dfSN = nullptr;
    QPushButton* btnLFDN = nullptr;
    QPushButton* btnSDup = nullptr;
    QLabel* Label55 = nullptr;
    QLabel* Label56 = nullptr;
    QTableView* nxDF = nullptr;
    TDuplicateResultModel* resultModel = nullptr;
    QProgressBar* pbDF = nullptr;
    QPushButton* Button39 = nullptr;
    QPushButton* Button40 = nullptr;
    QLabel* Label57 = nullptr;
    QMenu* popDF = nullptr;
    QAction* MenuItem1 = nullptr;
    QAction* MenuItem2 = nullptr;
    QAction* N1 = nullptr;
    TToolRun* run = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildResults();
    void trdDFWork(TBackgroundWorker& worker);
    void trdDFWorkComplete(bool cancelled);
    // The grid row shown first among the selected ones, -1 when none is.
    int selectedRow() const;

    // The run's inputs, taken when it starts (window thread).
    std::vector<std::string> m_paths;
    kit::TGridSort m_sort;
};
