#include "app/Korvala_Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AuxWindows.h"
#include "app/Dialogs.h"
#include "app/DropRouting.h"
#include "app/Glyphs.h"
#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/ResultTransfer.h"
#include "app/ShellIntegration.h"
#include "app/UserSettings.h"
#include "app/ToolTable.h"
#include "app/UpdateChecker_Main.h"
#include "app/kit/PageContext.h"
#include "app/pages/SeekerPage.h"
#include "platform/SystemStatus.h"
#include "update/UpdateCheck.h"
#include "worker/BackgroundWorker.h"

namespace {

const QColor kStripColor(0, 138, 218);
const QString kSettingsKey = QStringLiteral("Software\\Meridane");
const QString kSupportKey = QStringLiteral("Software\\Meridane\\Support");

const char* const kTagProperty = "Tag";
const char* const kHintProperty = "Hint";

// A framed block of the header, headed by a strip in the header colour.
QFrame* headerBlock(QWidget* parent, const QString& name, QHBoxLayout*& strip, QHBoxLayout*& content)
{
    auto* block = new QFrame(parent);
    block->setObjectName(name);
    block->setStyleSheet(QStringLiteral("QFrame#%1 { border: 1px solid rgb(0, 138, 218); background: white; }").arg(name));
    auto* layout = new QVBoxLayout(block);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    auto* stripWidget = new QWidget(block);
    stripWidget->setObjectName(name + QStringLiteral("Strip"));
    stripWidget->setAutoFillBackground(true);
    QPalette palette = stripWidget->palette();
    palette.setColor(QPalette::Window, kStripColor);
    stripWidget->setPalette(palette);
    stripWidget->setFixedHeight(24);
    strip = new QHBoxLayout(stripWidget);
    strip->setContentsMargins(6, 0, 6, 0);
    strip->setSpacing(6);
    layout->addWidget(stripWidget);
    content = new QHBoxLayout;
    content->setContentsMargins(6, 2, 6, 2);
    content->setSpacing(2);
    layout->addLayout(content, 1);
    return block;
}

QLabel* whiteBold(const QString& text, QWidget* parent, const QString& name)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    return label;
}

}  // namespace

QString FormatUptime(uint64_t milliseconds)
{
    return QString::fromStdString(korvala::formatUptime(milliseconds));
}

QString FormatPowerPanel(uint32_t batteryPercent)
{
    if (batteryPercent == korvala::BATTERY_LIFE_UNKNOWN)
        return QStringLiteral("Power : AC");
    return QStringLiteral("Power : %1%").arg(batteryPercent);
}

TfrmKorvala::TfrmKorvala(QWidget* owner, Options options)
    : QMainWindow(owner), m_options(options)
{
    setObjectName(QStringLiteral("frmKorvala"));
    setWindowTitle(QStringLiteral("Korvala"));
    setWindowIcon(programWindowIcon());
    setMinimumSize(800, 600);
    resize(874, 714);

    // The workers come first: the pages bind their work procedures to them.
    for (const TToolRow& tool : toolTable())
        for (const char* name : tool.workers)
            m_workers.push_back(new TBackgroundWorker(QString::fromLatin1(name), this));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnlMain"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->setSpacing(6);
    buildHeader(central, layout);
    m_pageControl = new QStackedWidget(central);
    m_pageControl->setObjectName(QStringLiteral("PageControl1"));
    m_pageControl->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(m_pageControl, 1);
    setCentralWidget(central);
    buildPages();
    buildStatusBar();
    buildContextMenu();
    connectResultTransfer();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] { runGuarded(this, [this] { Timer1Timer(); }); });
    m_timer->start();

    showMenu = [](QMenu& menu, const QPoint& globalPos) { menu.popup(globalPos); };

    if (owner == nullptr) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    }
    FormCreate();
}

TfrmKorvala::~TfrmKorvala()
{
    // A window destroyed without a close still must not leave a worker running.
    FormClose();
}

void TfrmKorvala::buildHeader(QWidget* parent, QVBoxLayout* layout)
{
    auto* header = new QWidget(parent);
    header->setObjectName(QStringLiteral("pnlHeader"));
    header->setFixedHeight(81);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);

    // Left block: icon, title, version badge and the six periphery buttons.
    QHBoxLayout* strip = nullptr;
    QHBoxLayout* content = nullptr;
    QFrame* left = headerBlock(header, QStringLiteral("pnlProduct"), strip, content);
    left->setFixedWidth(226);
    m_image1 = new QLabel(left);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(programIcon(16));
    m_image1->setFixedSize(16, 16);
    m_image1->setCursor(Qt::PointingHandCursor);
    m_image1->installEventFilter(this);
    strip->addWidget(m_image1);
    QLabel* title = whiteBold(QStringLiteral("Korvala"), left, QStringLiteral("title"));
    QFont titleFont(QStringLiteral("DejaVu Sans"));
    titleFont.setBold(true);
    titleFont.setPixelSize(14);
    title->setFont(titleFont);
    strip->addWidget(title);
    strip->addStretch(1);
    m_lu = new QLabel(QString::fromLatin1(korvala::kProgramVersion), left);
    m_lu->setObjectName(QStringLiteral("lu"));
    m_lu->setStyleSheet(QStringLiteral(
        "background-color: rgb(0, 200, 83); color: white; font-weight: bold; padding: 1px 6px; border-radius: 3px;"));
    m_lu->setToolTip(QStringLiteral("Double-click to open the program's folder"));
    m_lu->setFixedHeight(18);
    m_lu->installEventFilter(this);
    strip->addWidget(m_lu, 0, Qt::AlignVCenter);

    struct Periphery {
        const char* name;
        const char* hint;
        HeaderGlyph glyph;
        void (TfrmKorvala::*handler)();
    };
    const Periphery periphery[] = {
        {"btnHome", "Visit Homepage", HeaderGlyph::Home, &TfrmKorvala::btnHomeClick},
        {"BitBtn6", "About", HeaderGlyph::About, &TfrmKorvala::Button16Click},
        {"BitBtn10", "Update Checker", HeaderGlyph::Update, &TfrmKorvala::btnUpdateClick},
        {"BitBtn9", "Donate", HeaderGlyph::Donate, &TfrmKorvala::Button1Click22},
        {"spdSupport", "Support Us!", HeaderGlyph::Support, &TfrmKorvala::spdSupportClick},
        {"btnMore", "More Software", HeaderGlyph::More, &TfrmKorvala::btnMoreClick},
    };
    content->addStretch(1);
    for (const Periphery& entry : periphery) {
        auto* button = new QToolButton(left);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setToolTip(QString::fromLatin1(entry.hint));
        button->setIcon(headerGlyph(entry.glyph));
        button->setIconSize(QSize(24, 24));
        button->setFixedSize(30, 30);
        button->setAutoRaise(true);
        onClicked(button, this, entry.handler);
        content->addWidget(button);
    }
    content->addStretch(1);
    row->addWidget(left);

    // Right block: "TOOL SET" and the sixteen tool buttons.
    QFrame* right = headerBlock(header, QStringLiteral("pnlToolSet"), strip, content);
    right->setMinimumWidth(630);
    strip->addWidget(whiteBold(QStringLiteral("TOOL SET"), right, QStringLiteral("lblToolSet")));
    strip->addStretch(1);
    right->setStyleSheet(right->styleSheet() + QStringLiteral(
        "QToolButton { border: 1px solid transparent; border-radius: 4px; background: transparent; }"
        "QToolButton:hover { border-color: rgb(0, 138, 218); background: rgb(225, 240, 252); }"
        "QToolButton:checked { border-color: rgb(0, 110, 180); background: rgb(180, 220, 248); }"));
    content->addStretch(1);
    for (const TToolRow& tool : toolTable()) {
        auto* button = new QToolButton(right);
        button->setObjectName(QString::fromLatin1(tool.button));
        button->setProperty(kTagProperty, tool.tag);
        button->setProperty(kHintProperty, QString::fromLatin1(tool.hint));
        button->setToolTip(QString::fromLatin1(tool.hint));
        button->setIcon(toolGlyph(tool.tag));
        button->setIconSize(QSize(32, 32));
        button->setFixedSize(36, 36);
        button->setCheckable(true);
        button->setEnabled(tool.enabled);
        connect(button, &QToolButton::clicked, this,
            [this, button] { runGuarded(this, [&] { ToolsSelect(button); }); });
        m_toolButtons.push_back(button);
        content->addWidget(button);
    }
    content->addStretch(1);
    row->addWidget(right, 1);
    layout->addWidget(header);
}

void TfrmKorvala::buildPages()
{
    // Creation order is the tool set's order, which is also the page order.
    const TPageContext::MenuService menus = [this](QMenu& menu, const QPoint& globalPos) {
        showMenu(menu, globalPos);
    };
    for (const TToolRow& tool : toolTable()) {
        std::vector<TBackgroundWorker*> workers;
        for (const char* name : tool.workers)
            workers.push_back(worker(QString::fromLatin1(name)));
        m_pages.push_back(tool.createPage(TPageContext(tool.tag, std::move(workers), menus)));
    }
    for (TToolPage* page : m_pages) {
        m_pageControl->addWidget(page);
        if (TItemList* list = page->itemList())
            connect(list, &TItemList::contextMenuWanted, this, [this](TItemList* which, const QPoint& pos) {
                runGuarded(this, [&] { ListPop(which, pos); });
            });
    }
}

void TfrmKorvala::buildStatusBar()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("SB"));
    m_statusBar->setStyleSheet(QStringLiteral(
        "QStatusBar::item { border: 1px solid rgb(190, 190, 190); border-radius: 2px; }"));
    const int widths[] = {140, 100, 420, 50};
    const QString texts[] = {QStringLiteral("Memory Usage : 100%"), QStringLiteral("Power : 100%"),
        QStringLiteral("System Uptime : -"), QString::fromLatin1(kMakerAddress)};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(texts[i], m_statusBar);
        panel->setObjectName(QStringLiteral("SBPanel%1").arg(i));
        panel->setAlignment(Qt::AlignCenter);
        panel->setMinimumWidth(widths[i]);
        if (i < 3)
            panel->setFixedWidth(widths[i]);
        m_statusBar->addWidget(panel, i == 3 ? 1 : 0);
        m_panels[static_cast<size_t>(i)] = panel;
    }
    setStatusBar(m_statusBar);
}

void TfrmKorvala::buildContextMenu()
{
    m_popALL = new QMenu(this);
    m_popALL->setObjectName(QStringLiteral("popALL"));
    auto addItem = [this](const char* name, const QString& text, void (TfrmKorvala::*handler)()) {
        QAction* action = m_popALL->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, handler] { runGuarded(this, [&] { (this->*handler)(); }); });
    };
    addItem("MenuItem3", QStringLiteral("Open"), &TfrmKorvala::MenuItem3Click);
    addItem("MenuItem4", QStringLiteral("Open File Location"), &TfrmKorvala::MenuItem4Click);
    m_popALL->addSeparator();
    addItem("P1", QStringLiteral("Properties"), &TfrmKorvala::P1Click);
}

void TfrmKorvala::FormCreate()
{
    // The Attribute Changer's page is shown first; the caption stays "Korvala".
    m_pageControl->setCurrentWidget(pageOfTool(0));
    m_popALLTag = 0;
    toolButton(0)->setChecked(true);

    // The tools' defaults.
    for (TToolPage* page : m_pages)
        runGuarded(this, [&] { page->formCreate(); });

    // The executable's path, written at every start.
    if (!WriteUserString(kSettingsKey, QStringLiteral("53"), QCoreApplication::applicationFilePath())) {
        dialogs().message(this, QStringLiteral("Error creating system registry entry"));
        return;
    }
    acceptDroppedFiles();

    // The donation window, before the main window is first shown.
    QString support;
    try {
        support = ReadUserString(kSupportKey, QStringLiteral("53"));
    } catch (...) {
        showHandlerException(this, std::current_exception());
        return;
    }
    if (m_options.allowDonationWindow && (support.isEmpty() || support == QStringLiteral("1")))
        Button1Click22();
}

TBackgroundWorker* TfrmKorvala::worker(const QString& name) const
{
    for (TBackgroundWorker* candidate : m_workers)
        if (candidate->objectName() == name)
            return candidate;
    return nullptr;
}

TToolPage* TfrmKorvala::pageOfTool(int tag) const
{
    for (TToolPage* page : m_pages)
        if (page->tag() == tag)
            return page;
    return nullptr;
}

QToolButton* TfrmKorvala::toolButton(int tag) const
{
    for (QToolButton* button : m_toolButtons)
        if (button->property(kTagProperty).toInt() == tag)
            return button;
    return nullptr;
}

QToolButton* TfrmKorvala::findToolButton(const QString& name) const
{
    for (QToolButton* button : m_toolButtons) {
        const int tag = button->property(kTagProperty).toInt();
        const TToolPage* page = pageOfTool(tag);
        if (button->property(kHintProperty).toString().compare(name, Qt::CaseInsensitive) == 0
            || (page && page->objectName().compare(name, Qt::CaseInsensitive) == 0)
            || button->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return button;
    }
    return nullptr;
}

TToolPage* TfrmKorvala::activePage() const
{
    return qobject_cast<TToolPage*>(m_pageControl->currentWidget());
}

QString TfrmKorvala::statusPanelText(int panel) const
{
    return (panel >= 0 && panel < 4) ? m_panels[static_cast<size_t>(panel)]->text() : QString();
}

TItemList* TfrmKorvala::listOfTool(int tag) const
{
    const TToolPage* page = pageOfTool(tag);
    return page ? page->itemList() : nullptr;
}

void TfrmKorvala::ToolsSelect(QAbstractButton* sender)
{
    const int tag = sender->property(kTagProperty).toInt();
    if (TToolPage* page = pageOfTool(tag)) {
        m_pageControl->setCurrentWidget(page);
        m_popALLTag = tag;
        page->pageSelected();
    }
    // Radio group: release all, then press the sender (also when it was the
    // pressed one, which its click has just released).
    for (QToolButton* button : m_toolButtons)
        button->setChecked(false);
    sender->setChecked(true);
    setWindowTitle(QStringLiteral("Korvala - \"%1\"").arg(sender->property(kHintProperty).toString()));
}

void TfrmKorvala::Timer1Timer()
{
    m_panels[0]->setText(QStringLiteral("Memory Usage : %1%").arg(korvala::memoryLoadPercent()));
    m_panels[1]->setText(FormatPowerPanel(korvala::batteryLifePercent()));
    m_panels[2]->setText(QStringLiteral("System Uptime : ") + FormatUptime(korvala::uptimeMilliseconds()));
}

void TfrmKorvala::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TfrmKorvala::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    // Cancel and wait for each working worker; waiting runs its completion
    // handler, so the tools' abort messages appear now.
    for (TBackgroundWorker* worker : m_workers) {
        if (worker->IsWorking()) {
            worker->Cancel();
            worker->WaitFor();
        }
    }
    // The pages stop their other work (the searches).
    for (TToolPage* page : m_pages)
        runGuarded(this, [&] { page->stopWork(); });
    if (m_timer)
        m_timer->stop();
}

bool TfrmKorvala::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_lu) {
            runGuarded(this, [this] { luDblClick(); });
            return true;
        }
        if (watched == m_image1) {
            runGuarded(this, [this] { IconDblClick(); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmKorvala::luDblClick()
{
    shell().openPath(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}

void TfrmKorvala::IconDblClick()
{
    // A further, independent window owned by this one; closing it does not end
    // the program, and it is destroyed when closed.
    auto* another = new TfrmKorvala(this, m_options);
    another->setAttribute(Qt::WA_DeleteOnClose);
    another->move(pos() + QPoint(30, 30));
    another->show();
}

void TfrmKorvala::btnHomeClick()
{
    shell().openUrl(QString::fromLatin1(kHomepageUrl));
}

void TfrmKorvala::Button16Click()
{
    TfrmAbout window(this);
    dialogs().showModal(window);
}

void TfrmKorvala::Button1Click22()
{
    TfrmDonate window(this);
    dialogs().showModal(window);
}

void TfrmKorvala::btnUpdateClick()
{
    TfrmUCheck window(this);
    window.setTag(korvala::kProductNumber);
    window.setHeaderColor(colorFromNumber(14714687));
    window.lblCurrent->setText(m_lu->text());
    dialogs().showModal(window);
}

void TfrmKorvala::spdSupportClick()
{
    TfrmSupport window(this);
    dialogs().showModal(window);
}

void TfrmKorvala::btnMoreClick()
{
    TfrmMoreSoftware window(this);
    dialogs().showModal(window);
}

void TfrmKorvala::ListPop(TItemList* list, const QPoint& globalPos)
{
    if (list == nullptr || list->selectionModel()->selectedRows().size() != 1)
        return;
    showMenu(*m_popALL, globalPos);
}

void TfrmKorvala::MenuItem3Click()
{
    TItemList* list = listOfTool(m_popALLTag);
    if (list && list->count() > 0 && list->currentRow() >= 0)
        shell().openPath(list->currentPath());
}

void TfrmKorvala::MenuItem4Click()
{
    TItemList* list = listOfTool(m_popALLTag);
    if (list && list->count() > 0 && list->currentRow() >= 0)
        shell().showItem(list->currentPath());
}

void TfrmKorvala::P1Click()
{
    TItemList* list = listOfTool(m_popALLTag);
    if (list && list->count() > 0 && list->currentRow() >= 0)
        ShowShellProperties(list->currentPath());
}

void TfrmKorvala::acceptDroppedFiles()
{
    new TWindowDropTarget(
        this, [this] { return pageTakesDrops(activePage()); },
        [this](const std::vector<std::string>& paths) { runGuarded(this, [&] { WMDropFiles(paths); }); });
}

void TfrmKorvala::WMDropFiles(const std::vector<std::string>& paths)
{
    routeDrop(activePage(), m_pages, paths);
}

void TfrmKorvala::openWithPaths(int tool, const std::vector<std::string>& paths)
{
    runGuarded(this, [&] {
        if (QToolButton* button = toolButton(tool); button != nullptr && button->isEnabled())
            ToolsSelect(button);
        if (!paths.empty())
            routeStartPaths(activePage(), m_pages, paths);
    });
}

void TfrmKorvala::connectResultTransfer()
{
    if (TSeekerPage* seeker = page<TSeekerPage>())
        connect(seeker, &TSeekerPage::sendResultsWanted, this, [this, seeker](QAction* sender) {
            runGuarded(this, [&] { SendList(*this, *seeker, *sender); });
        });
}
