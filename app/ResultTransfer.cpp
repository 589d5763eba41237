#include "app/ResultTransfer.h"

#include <string>
#include <vector>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QToolButton>

#include "app/Dialogs.h"
#include "app/ItemList.h"
#include "app/Korvala_Main.h"
#include "app/pages/SeekerPage.h"

namespace {

// The submenu's tags and the tool numbers of their targets (the Hash entry's
// tag 6 is the Folder Icon Changer's tool number; the Hash tool is 7).
struct TTarget {
    int menuTag;
    int tool;
};
constexpr TTarget kTargets[] = {{0, 0}, {1, 1}, {2, 2}, {6, 7}, {8, 9}};

// How long the transfer runs between two turns of the event loop: often
// enough to keep painting and input smooth, seldom enough not to cost time.
constexpr qint64 kEventTurnMs = 20;

// True while a transfer runs: a second one chosen meanwhile (the menu stays
// usable) is ignored instead of interleaving with the first.
bool g_sending = false;

}  // namespace

void SendList(TfrmKorvala& window, TSeekerPage& seeker, const QAction& sender)
{
    const int menuTag = sender.property("Tag").toInt();
    int tool = -1;
    for (const TTarget& target : kTargets)
        if (target.menuTag == menuTag)
            tool = target.tool;
    QPointer<TItemList> list = window.listOfTool(tool);
    if (tool < 0 || list == nullptr || g_sending)
        return;

    // The rows as they are now: a search started while the transfer yields
    // to the event loop may empty the grid without changing what is sent.
    const std::vector<std::string> paths = seeker.resultPaths();
    if (paths.empty()) {
        dialogs().message(&window, QStringLiteral("Search Result List is Empty!"));
        return;
    }

    g_sending = true;
    QPointer<TfrmKorvala> alive(&window);
    QElapsedTimer sinceTurn;
    sinceTurn.start();
    for (const std::string& path : paths) {
        list->addPath(path);
        if (sinceTurn.elapsed() >= kEventTurnMs) {
            QCoreApplication::processEvents();
            sinceTurn.restart();
            if (!alive || !list)
                break;
        }
    }
    g_sending = false;
    if (!alive || !list)
        return;

    for (int tag = 0; tag < 17; ++tag)
        if (QToolButton* button = window.toolButton(tag))
            button->setChecked(false);
    dialogs().message(&window, QStringLiteral("Sending process Completed!"));

    list->UpdateCounter();
    // The target's page, its tool button, popALL's tag and the caption.
    if (QToolButton* button = window.toolButton(tool))
        window.ToolsSelect(button);
}
