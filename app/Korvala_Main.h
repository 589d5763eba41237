#pragma once
// TfrmKorvala, the main window: header with the tool set, the page control
// with one page per tool, the status bar, the per-user settings, the eleven
// background workers and the shared context menu of the item lists.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include <QMainWindow>
#include <QString>

class QAbstractButton;
class QLabel;
class QMenu;
class QAction;
class QStackedWidget;
class QStatusBar;
class QTimer;
class QToolButton;
class TBackgroundWorker;
class TItemList;
class TToolPage;
class TAttributeChangerPage;
class TBatchFolderCreatorPage;
class TDateTimeChangerPage;
class TDuplicateFinderPage;
class TExplorerPage;
class TFileFolderInformationPage;
class TFileShredderPage;
class TFolderIconChangerPage;
class THashPage;
class THiddenRevealerPage;
class TProtectorPage;
class TRenamerPage;
class TSeekerPage;
class TSharingPage;
class TSplitterJoinerPage;
class TTakeOwnershipPage;

// "D Day(s) H Hour(s) M Minute(s) S Second(s)" for a millisecond count.
QString FormatUptime(uint64_t milliseconds);

struct TKorvalaOptions {
    // Whether FormCreate may show the donation window (off for screenshots).
    bool allowDonationWindow = true;
};

class TfrmKorvala : public QMainWindow {
    Q_OBJECT

public:
    using Options = TKorvalaOptions;

    explicit TfrmKorvala(QWidget* owner = nullptr, Options options = Options());
    explicit TfrmKorvala(Options options) : TfrmKorvala(nullptr, options) {}
    ~TfrmKorvala() override;

    // --- Handlers -----------------------------------------------------------
    void ToolsSelect(QAbstractButton* sender);
    void Timer1Timer();
    // Cancels and waits for every working worker, stops the pages' other work
    // and the timer. Runs once, from the close (or the destructor).
    void FormClose();
    void luDblClick();
    void IconDblClick();
    void btnHomeClick();
    void Button16Click();   // About
    void Button1Click22();  // Donate
    void btnUpdateClick();
    void spdSupportClick();
    void btnMoreClick();
    // The context menu of an item list: opens popALL only when exactly one
    // entry of that list is selected.
    void ListPop(TItemList* list, const QPoint& globalPos);
    void MenuItem3Click();  // Open
    void MenuItem4Click();  // Open File Location
    void P1Click();         // Properties

    // --- Members for the pages and the tests --------------------------------
    TBackgroundWorker* trdAC() const { return m_trdAC; }
    TBackgroundWorker* trdDTC1() const { return m_trdDTC1; }
    TBackgroundWorker* trdDTC2() const { return m_trdDTC2; }
    TBackgroundWorker* trdDF() const { return m_trdDF; }
    TBackgroundWorker* trdHash() const { return m_trdHash; }
    TBackgroundWorker* trdVChk() const { return m_trdVChk; }
    TBackgroundWorker* trdCF() const { return m_trdCF; }
    TBackgroundWorker* trdSplit() const { return m_trdSplit; }
    TBackgroundWorker* trdJoin() const { return m_trdJoin; }
    TBackgroundWorker* trdFS() const { return m_trdFS; }
    TBackgroundWorker* trdRevealHDN() const { return m_trdRevealHDN; }
    // The eleven workers in the order above.
    const std::vector<TBackgroundWorker*>& workers() const { return m_workers; }

    TAttributeChangerPage* shtAC() const { return m_shtAC; }
    TBatchFolderCreatorPage* shtBFC() const { return m_shtBFC; }
    TDateTimeChangerPage* shtDTC() const { return m_shtDTC; }
    TDuplicateFinderPage* shtDF() const { return m_shtDF; }
    TExplorerPage* shtExp() const { return m_shtExp; }
    TFileFolderInformationPage* shtFFI() const { return m_shtFFI; }
    TFileShredderPage* shtFS() const { return m_shtFS; }
    TFolderIconChangerPage* shtFIC() const { return m_shtFIC; }
    THashPage* shtHash() const { return m_shtHash; }
    THiddenRevealerPage* shtHR() const { return m_shtHR; }
    TProtectorPage* shtProtect() const { return m_shtProtect; }
    TRenamerPage* shtRen() const { return m_shtRen; }
    TSeekerPage* shtSkr() const { return m_shtSkr; }
    TSharingPage* shtShare() const { return m_shtShare; }
    TSplitterJoinerPage* shtSJ() const { return m_shtSJ; }
    TTakeOwnershipPage* shtTO() const { return m_shtTO; }
    // The sixteen pages in the tool set's order.
    const std::vector<TToolPage*>& pages() const { return m_pages; }
    // The page of a tool number; nullptr for numbers without one.
    TToolPage* pageOfTool(int tag) const;
    // The tool button of a tool number; nullptr for numbers without one.
    QToolButton* toolButton(int tag) const;
    // The tool button whose hint (case-insensitive) or page object name is name.
    QToolButton* findToolButton(const QString& name) const;

    QStackedWidget* PageControl1() const { return m_pageControl; }
    TToolPage* activePage() const;
    QStatusBar* SB() const { return m_statusBar; }
    // The text of status panel 0..3.
    QString statusPanelText(int panel) const;
    QTimer* Timer1() const { return m_timer; }
    QMenu* popALL() const { return m_popALL; }
    // popALL's tag: the active tool number, which selects the list it acts on.
    int popALLTag() const { return m_popALLTag; }
    void setPopALLTag(int tag) { m_popALLTag = tag; }
    // The item list that popALL acts on for a tool number; nullptr if none.
    TItemList* listOfTool(int tag) const;

    // How a context menu is shown; tests replace it to observe the menu
    // without a blocking popup.
    std::function<void(QMenu& menu, const QPoint& globalPos)> showMenu;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildHeader(QWidget* parent, class QVBoxLayout* layout);
    void buildPages();
    void buildStatusBar();
    void buildContextMenu();
    void FormCreate();

    Options m_options;
    bool m_closed = false;

    TBackgroundWorker* m_trdAC = nullptr;
    TBackgroundWorker* m_trdDTC1 = nullptr;
    TBackgroundWorker* m_trdDTC2 = nullptr;
    TBackgroundWorker* m_trdDF = nullptr;
    TBackgroundWorker* m_trdHash = nullptr;
    TBackgroundWorker* m_trdVChk = nullptr;
    TBackgroundWorker* m_trdCF = nullptr;
    TBackgroundWorker* m_trdSplit = nullptr;
    TBackgroundWorker* m_trdJoin = nullptr;
    TBackgroundWorker* m_trdFS = nullptr;
    TBackgroundWorker* m_trdRevealHDN = nullptr;
    std::vector<TBackgroundWorker*> m_workers;

    TAttributeChangerPage* m_shtAC = nullptr;
    TBatchFolderCreatorPage* m_shtBFC = nullptr;
    TDateTimeChangerPage* m_shtDTC = nullptr;
    TDuplicateFinderPage* m_shtDF = nullptr;
    TExplorerPage* m_shtExp = nullptr;
    TFileFolderInformationPage* m_shtFFI = nullptr;
    TFileShredderPage* m_shtFS = nullptr;
    TFolderIconChangerPage* m_shtFIC = nullptr;
    THashPage* m_shtHash = nullptr;
    THiddenRevealerPage* m_shtHR = nullptr;
    TProtectorPage* m_shtProtect = nullptr;
    TRenamerPage* m_shtRen = nullptr;
    TSeekerPage* m_shtSkr = nullptr;
    TSharingPage* m_shtShare = nullptr;
    TSplitterJoinerPage* m_shtSJ = nullptr;
    TTakeOwnershipPage* m_shtTO = nullptr;
    std::vector<TToolPage*> m_pages;

    std::vector<QToolButton*> m_toolButtons;
    QLabel* m_image1 = nullptr;
    QLabel* m_lu = nullptr;
    QStackedWidget* m_pageControl = nullptr;
    QStatusBar* m_statusBar = nullptr;
    std::array<QLabel*, 4> m_panels {};
    QTimer* m_timer = nullptr;
    QMenu* m_popALL = nullptr;
    int m_popALLTag = 0;
};
