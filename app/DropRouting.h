#pragma once
// Files and folders brought into the window from outside its own buttons: a
// drop from the file manager, or the paths of the start arguments. Each item
// goes to the active page's list or field by the page (and sub-page) and the
// item's kind; the pages take them through their own small entry methods.

#include <string>
#include <vector>

class QMimeData;
class TToolPage;

// The local paths of a drop's text/uri-list, as bytes (percent-decoded, so
// names of any bytes and any length are taken whole). Other addresses
// (remote, non-file schemes) are left out.
std::vector<std::string> droppedPaths(const QMimeData& data);

// Whether a drop onto this active page can take anything; the drag cursor
// shows a refusal where it cannot (Renamer, Compare Files, Sharing, Batch
// Folder Creator and the pages that cannot be reached).
bool pageTakesDrops(const TToolPage* page);

// WMDropFiles: routes the items of one drop, in order, to the active page,
// then refreshes the counters of the eight tool lists and the Folder Icon
// Changer's drop hint, whatever page is active. A non-folder dropped on the
// single Folder Icon Changer ends the drop there: later items are not looked
// at and the counters are not refreshed (the result is then false).
bool routeDrop(TToolPage* active, const std::vector<TToolPage*>& pages, const std::vector<std::string>& paths);

// The paths of the start arguments (or of a later start), routed as a drop
// onto the page shown. The Folder Icon Changer takes more than one path on
// its batch sub-page, since its single sub-page would keep only the first.
void routeStartPaths(TToolPage* active, const std::vector<TToolPage*>& pages, const std::vector<std::string>& paths);

#include <functional>

#include <QObject>
#include <QPointer>

class QWidget;

// Takes every drag of local files over a window, whichever of its controls
// is under the cursor (an edit box would otherwise take the file names as
// text): the drag is accepted when the active page takes drops, refused (the
// cursor shows it) otherwise, and a drop hands its paths to `drop`.
class TWindowDropTarget : public QObject {
    Q_OBJECT

public:
    TWindowDropTarget(QWidget* window, std::function<bool()> takesDrops,
        std::function<void(const std::vector<std::string>& paths)> drop);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    std::function<bool()> m_takesDrops;
    std::function<void(const std::vector<std::string>& paths)> m_drop;
};
