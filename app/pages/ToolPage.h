#pragma once
// The base of every tool page of the main window: the 25-pixel title strip
// with the tool's name in white capitals and a body below it that the page
// fills with its controls. The main window calls the hooks below; the page
// reaches its workers and the window's services through its context only.

#include <string>

#include <QString>
#include <QWidget>

#include "app/kit/PageContext.h"

class QLabel;
class QVBoxLayout;
class TItemList;

class TToolPage : public QWidget {
    Q_OBJECT

public:
    // caption is the page caption ("Splitter && Joiner" with a doubled
    // ampersand shows one); the strip shows it in capitals.
    // stripText and stripName override the strip's text (default: the caption
    // in capitals) and its object name (default "titleStrip").
    TToolPage(const TPageContext& context, const QString& objectName, const QString& caption,
        const QString& stripText = QString(), const QString& stripName = QString());

    const TPageContext& context() const { return m_context; }
    QString caption() const { return m_caption; }
    // The tool number of the page's tool button (popALL's tag, ToolsSelect).
    int tag() const { return m_context.tag(); }
    QLabel* titleStrip() const { return m_titleStrip; }
    // Layout below the title strip; pages add their controls here.
    QVBoxLayout* body() const { return m_body; }

    // The list that popALL acts on while this page's tool is active; nullptr
    // for pages without one.
    virtual TItemList* itemList() const { return nullptr; }
    // A path brought from outside (a drop, the start arguments, the Seeker's
    // results): appended to itemList() unless it is listed there. True when
    // appended; the counter is left to the caller, which refreshes it once.
    bool addListItem(const std::string& path);
    // Counter of itemList() := its number of entries.
    void refreshListCounter();
    // FormCreate, after all pages and workers exist: the tool's defaults.
    virtual void formCreate() {}
    // ToolsSelect made this the active page (Sharing refreshes its shares).
    virtual void pageSelected() {}
    // FormClose, after every worker was cancelled and waited for: stop any
    // other running work of the page (the searches) before the window closes.
    virtual void stopWork() {}

private:
    TPageContext m_context;
    QString m_caption;
    QLabel* m_titleStrip = nullptr;
    QVBoxLayout* m_body = nullptr;
};
