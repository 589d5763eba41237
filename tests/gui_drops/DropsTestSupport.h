#pragma once
// The drop tests' fixture: the main window, a temporary tree of real files,
// and drags of text/uri-list sent as real drag and drop events onto any
// control of the window, the way a file manager's drop arrives.

#include <string>
#include <vector>

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QToolButton>

#include "GuiFixture.h"
#include "TempTree.h"
#include "app/ItemList.h"

inline QString qs(const std::string& s) { return QFile::decodeName(QByteArray::fromStdString(s)); }

// The text/uri-list line of a local path: every byte that is not plain is
// percent-encoded, as file managers write it.
inline QByteArray uriOf(const std::string& path)
{
    return "file://" + QByteArray::fromStdString(path).toPercentEncoding("/");
}

struct TDragResult {
    bool entered = false;  // the drag was accepted (no refusal cursor)
    bool dropped = false;  // the drop was accepted
};

// Drags `uris` (text/uri-list lines) over `target` and drops them there.
inline TDragResult dragAndDrop(QWidget* target, const std::vector<QByteArray>& uris)
{
    QMimeData data;
    QByteArray list;
    QString text;
    for (const QByteArray& uri : uris) {
        list += uri + "\r\n";
        text += QString::fromLatin1(uri) + QLatin1Char('\n');
    }
    data.setData(QStringLiteral("text/uri-list"), list);
    // File managers offer the names as text too; an edit box would take that.
    data.setText(text);
    const QPoint at = target->rect().center();
    TDragResult result;
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    result.entered = enter.isAccepted();
    if (!result.entered)
        return result;
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    result.dropped = drop.isAccepted();
    return result;
}

inline TDragResult dropPaths(QWidget* target, const std::vector<std::string>& paths)
{
    std::vector<QByteArray> uris;
    for (const std::string& path : paths)
        uris.push_back(uriOf(path));
    return dragAndDrop(target, uris);
}

class DropsFixture : public GuiFixture {
protected:
    void selectTool(int tag)
    {
        QToolButton* button = window->toolButton(tag);
        ASSERT_NE(button, nullptr);
        click(button);
    }

    // The eight lists every drop refreshes.
    static constexpr const char* kLists[] = {
        "ACList", "DTCList", "DFList", "HList", "FSList", "ProtList", "lstBFIC", "TOList"};

    QString counterText(const char* list) const { return find<TItemList>(list)->counter()->text(); }

    korvala::test::TTempTree tree;
};
