#pragma once
// The one seam through which the window asks the user anything: message boxes,
// confirmations, file and folder choosers, input boxes. Production shows real
// Qt dialogs captioned "Korvala"; window tests install their own answers.

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

class Dialogs {
public:
    enum class Icon { None, Information, Warning, Error };

    virtual ~Dialogs() = default;

    // A box with one OK button. caption empty means the application title.
    virtual void message(QWidget* parent, const QString& text, Icon icon = Icon::None,
        const QString& caption = QString()) = 0;
    // A Yes/No confirmation; true for Yes.
    virtual bool confirm(QWidget* parent, const QString& text, Icon icon = Icon::None) = 0;
    // Chosen files in the dialog's order; empty when cancelled.
    virtual QStringList openFiles(QWidget* parent, const QString& title, const QString& filter) = 0;
    // One chosen file; empty when cancelled.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& filter) = 0;
    // The same, starting in folder (when it is not empty). Answers that do not
    // care where the dialog starts need not override it.
    virtual QString openFileIn(QWidget* parent, const QString& title, const QString& filter, const QString& folder)
    {
        (void)folder;
        return openFile(parent, title, filter);
    }
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& filter) = 0;
    // The folder chooser; empty when cancelled.
    virtual QString existingDirectory(QWidget* parent, const QString& title, const QString& initialFolder) = 0;
    // An input box; false when cancelled.
    virtual bool input(QWidget* parent, const QString& caption, const QString& prompt, QString& value) = 0;
    // Shows one of the program's own modal windows (about, donation, ...) and
    // returns its result code. Tests override it so that nothing blocks.
    virtual int showModal(QDialog& window);
};

// The dialogs in use; production dialogs until a test installs others.
Dialogs& dialogs();
// Installs other dialogs (nullptr restores the production ones); not owned.
void setDialogs(Dialogs* replacement);
