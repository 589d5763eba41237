#pragma once
// The Seeker page (shtSkr): the file search. The page turns its controls into
// search criteria, runs them on its search component FSeek (threaded) and shows
// the matches in the result grid nxResult, batch by batch.

#include <array>
#include <string>
#include <vector>

#include <QString>

#include "app/kit/ResultGrid.h"
#include "app/pages/ToolPage.h"
#include "search/FileDetails.h"
#include "search/SeekerCriteria.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTimeEdit;
class TSeekerResultModel;

namespace korvala {
class TFindFileW;
}

class TSeekerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TSeekerPage(const TPageContext& context);
    ~TSeekerPage() override;

    // The twelve date and time pickers show the present.
    void formCreate() override;
    // The window closes: a running search is stopped as the title label's
    // press of the search button does it, without a message.
    void stopWork() override;

    // The page as plain values (the search criteria are built from these).
    korvala::SeekerPageState pageState() const;

    // A folder brought from outside: a new line of skrLoc unless a line there
    // equals it without regard to case. True when added; a name with a line
    // break cannot be one line and is not added.
    bool addSearchLocation(const QString& folder);

    // --- Handlers -----------------------------------------------------------
    // SEARCH / Abort. sender is the button, or the title label when the window
    // closes (then an abort shows no message).
    void btnSeekClick(QObject* sender);
    void FSeekFolderChange(const QString& folder);
    void FSeekFileMatch(const std::vector<korvala::TFileDetails>& batch);
    void FSeekSearchFinish();
    void FSeekSearchError(const QString& message);
    void nxResultSortColumn(int column);
    void nxResultContextMenu(const QPoint& pos);
    void O1Click();  // Open
    void O2Click();  // Open File Location
    void Button41Click();  // Clear
    // CBD, CBT, CAD, CAT, MBD, ... AAT: the picker follows its check box.
    void DateTimeCheckClick(QCheckBox* box);

    // --- Controls -------------------------------------------------------------
    korvala::TFindFileW* FSeek = nullptr;

    QTabWidget* PageControl3 = nullptr;
    QPushButton* btnSeek = nullptr;

    // "Name && Location".
    QWidget* TabSheet1 = nullptr;
    QLabel* Label34 = nullptr;
    QLineEdit* skrFTS = nullptr;
    QLabel* Label38 = nullptr;
    QLineEdit* skrContain = nullptr;
    QCheckBox* chkCase = nullptr;
    QCheckBox* chkWhole = nullptr;
    QCheckBox* chkExclude = nullptr;
    QLabel* Label35 = nullptr;
    QPlainTextEdit* skrLoc = nullptr;
    QCheckBox* chkSub = nullptr;
    QPushButton* Button41 = nullptr;

    // "Date && Time": PageControl4 with Created, Modified, Accessed.
    QWidget* TabSheet2 = nullptr;
    QTabWidget* PageControl4 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QWidget* TabSheet5 = nullptr;
    QWidget* TabSheet6 = nullptr;
    QCheckBox *CBD = nullptr, *CBT = nullptr, *CAD = nullptr, *CAT = nullptr;
    QCheckBox *MBD = nullptr, *MBT = nullptr, *MAD = nullptr, *MAT = nullptr;
    QCheckBox *ABD = nullptr, *ABT = nullptr, *AAD = nullptr, *AAT = nullptr;
    QDateEdit *CreatedBeforeDate = nullptr, *CreatedAfterDate = nullptr;
    QTimeEdit *CreatedBeforeTime = nullptr, *CreatedAfterTime = nullptr;
    QDateEdit *ModifiedBeforeDate = nullptr, *ModifiedAfterDate = nullptr;
    QTimeEdit *ModifiedBeforeTime = nullptr, *ModifiedAfterTime = nullptr;
    QDateEdit *AccessedBeforeDate = nullptr, *AccessedAfterDate = nullptr;
    QTimeEdit *AccessedBeforeTime = nullptr, *AccessedAfterTime = nullptr;

    // "Size && Attribute".
    QWidget* TabSheet3 = nullptr;
    QGroupBox* FileSize = nullptr;
    QLabel* Label40 = nullptr;
    QSpinBox* SizeMin = nullptr;     // its edit field is SizeMinEdit
    QLineEdit* SizeMinEdit = nullptr;
    QComboBox* SizeMinUnit = nullptr;
    QLabel* Label39 = nullptr;
    QSpinBox* SizeMax = nullptr;     // its edit field is SizeMaxEdit
    QLineEdit* SizeMaxEdit = nullptr;
    QComboBox* SizeMaxUnit = nullptr;
    QGroupBox* Attributes = nullptr;
    QCheckBox *Archive = nullptr, *Readonly = nullptr, *Directory = nullptr, *Normal = nullptr;
    QCheckBox *System = nullptr, *Hidden = nullptr, *Offline = nullptr, *Virtual = nullptr;
    QCheckBox *Compressed = nullptr, *Encrypted = nullptr, *Temporary = nullptr, *NotContentIndexed = nullptr;
    QCheckBox *ReparsePoint = nullptr, *SparseFile = nullptr, *Device = nullptr;

    // Results.
    QLabel* Label36 = nullptr;
    QLabel* Label37 = nullptr;
    QTableView* nxResult = nullptr;
    TSeekerResultModel* resultModel = nullptr;
    QMenu* skrPOP = nullptr;
    QAction* O1 = nullptr;
    QAction* O2 = nullptr;
    // The submenu "Send Search Result to..." with A1, D1, D2, H1 and sendProt.
    QMenu* sendTo = nullptr;

    // The full paths of the result rows, top to bottom as the grid shows them.
    std::vector<std::string> resultPaths() const;

signals:
    // One of the "Send Search Result to..." entries was chosen (its "Tag"
    // property is the entry's tag).
    void sendResultsWanted(QAction* sender);

private:
    struct TimeRow {
        QCheckBox* box;
        QWidget* picker;
    };
    QWidget* buildNameTab();
    QWidget* buildDateTab();
    QWidget* buildSizeTab();
    void buildResults();
    // The fifteen attribute boxes in the order of kSeekerAttributeOrder.
    std::array<QCheckBox*, 15> attributeBoxes() const;
    std::vector<TimeRow> timeRows() const;
    void updateTotal();
    int selectedRow() const;

    kit::TGridSort m_sort;
};
