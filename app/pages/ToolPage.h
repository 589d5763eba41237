#pragma once
// The base of every tool page of the main window: the 25-pixel title strip
// with the tool's name in white capitals and a body below it that the page
// fills with its controls. The main window calls the hooks below.

#include <QString>
#include <QWidget>

class QLabel;
class QVBoxLayout;
class TfrmKorvala;
class TItemList;

class TToolPage : public QWidget {
    Q_OBJECT

public:
    // caption is the page caption ("Splitter && Joiner" with a doubled
    // ampersand shows one); the strip shows it in capitals.
    // stripText and stripName override the strip's text (default: the caption
    // in capitals) and its object name (default "titleStrip").
    TToolPage(TfrmKorvala& form, const QString& objectName, const QString& caption, int tag,
        const QString& stripText = QString(), const QString& stripName = QString());

    TfrmKorvala& form() const { return m_form; }
    QString caption() const { return m_caption; }
    // The tool number of the page's tool button (popALL's tag, ToolsSelect).
    int tag() const { return m_tag; }
    QLabel* titleStrip() const { return m_titleStrip; }
    // Layout below the title strip; pages add their controls here.
    QVBoxLayout* body() const { return m_body; }

    // The list that popALL acts on while this page's tool is active; nullptr
    // for pages without one.
    virtual TItemList* itemList() const { return nullptr; }
    // FormCreate, after all pages and workers exist: the tool's defaults.
    virtual void formCreate() {}
    // ToolsSelect made this the active page (Sharing refreshes its shares).
    virtual void pageSelected() {}
    // FormClose, after every worker was cancelled and waited for: stop any
    // other running work of the page (the searches) before the window closes.
    virtual void stopWork() {}

private:
    TfrmKorvala& m_form;
    QString m_caption;
    int m_tag;
    QLabel* m_titleStrip = nullptr;
    QVBoxLayout* m_body = nullptr;
};
