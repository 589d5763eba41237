#pragma once
// TfrmKorvala, the main window: header with the tool set, the page control
// with one page per tool, the status bar, the per-user settings, the eleven
// background workers and the shared context menu of the item lists. It is
// the composition root: buttons, workers and pages come from the tool table
// (app/ToolTable.h), and each page gets its workers and services through a
// TPageContext.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QString>

#include "app/pages/ToolPage.h"

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

// "D Day(s) H Hour(s) M Minute(s) S Second(s)" for a millisecond count.
QString FormatUptime(uint64_t milliseconds);
// The power panel: "Power : " + the battery's charge + "%", or "Power : AC"
// on a machine without a battery (the charge reads as unknown there; its raw
// value 255 would be a plainly wrong reading).
QString FormatPowerPanel(uint32_t batteryPercent);

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
    // The paths of one drop, routed to the active page (app/DropRouting.h).
    void WMDropFiles(const std::vector<std::string>& paths);
    // The start arguments, or a later start handing over: shows the page of
    // the tool number (when one is given, >= 0) and routes paths as a drop
    // onto it.
    void openWithPaths(int tool, const std::vector<std::string>& paths);

    // --- Members for the pages and the tests --------------------------------
    // The worker of that object name (trdAC, trdDTC1, ...); nullptr if none.
    TBackgroundWorker* worker(const QString& name) const;
    // The eleven workers in the tool table's order.
    const std::vector<TBackgroundWorker*>& workers() const { return m_workers; }

    // The page of that class; nullptr if the window has none.
    template <typename Page>
    Page* page() const
    {
        for (TToolPage* candidate : m_pages)
            if (auto* typed = qobject_cast<Page*>(candidate))
                return typed;
        return nullptr;
    }
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
    void acceptDroppedFiles();
    void connectResultTransfer();

    Options m_options;
    bool m_closed = false;

    std::vector<TBackgroundWorker*> m_workers;
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
