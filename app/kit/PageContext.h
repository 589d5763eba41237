#pragma once
// What the window hands each tool page: the tool's number, the workers the
// tool table gives it (the window owns them), the dialog seam and the way a
// context menu is shown. Pages reach the window through nothing else.

#include <functional>
#include <vector>

#include <QPoint>
#include <QString>

class Dialogs;
class QMenu;
class TBackgroundWorker;

class TPageContext {
public:
    using MenuService = std::function<void(QMenu& menu, const QPoint& globalPos)>;

    TPageContext(int tag, std::vector<TBackgroundWorker*> workers, MenuService menus);

    // The tool number of the page's tool button.
    int tag() const { return m_tag; }
    // The page's worker of that object name; raises when the tool table gave
    // the page none by that name (a programming error).
    TBackgroundWorker& worker(const QString& name) const;
    const std::vector<TBackgroundWorker*>& workers() const { return m_workers; }
    Dialogs& dialogs() const;
    // Shows a context menu the way the window shows every menu (tests observe
    // it without a blocking popup).
    void showMenu(QMenu& menu, const QPoint& globalPos) const;

private:
    int m_tag;
    std::vector<TBackgroundWorker*> m_workers;
    MenuService m_menus;
};
