#pragma once
// The window tests' world: one application object, a temporary home and
// configuration folder so that settings never touch the user's, and test
// dialogs and a test shell that record what the window asked.

#include <functional>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include <QDialog>
#include <QString>
#include <QStringList>

#include "TempTree.h"
#include "app/Dialogs.h"
#include "app/ShellIntegration.h"

struct RecordedMessage {
    QString text;
    Dialogs::Icon icon;
    QString caption;
};

class TestDialogs : public Dialogs {
public:
    std::vector<RecordedMessage> messages;
    std::vector<QString> modalWindows;          // object names of shown windows
    std::vector<QString> openFilesTitles;
    std::vector<QString> directoryTitles;
    std::vector<QStringList> nextOpenFiles;     // answers, front first; empty = cancel
    std::vector<QString> nextDirectories;
    std::vector<QString> directoryFolders;      // where each folder chooser started
    // Input boxes asked (caption, prompt) and their answers, front first; an
    // answer that is not set cancels, as does an empty list.
    std::vector<std::pair<QString, QString>> inputsAsked;
    std::vector<std::optional<QString>> nextInputs;
    // Runs inside showModal with the window (e.g. to tick its check box).
    std::function<void(QDialog&)> onModal;
    // Runs inside message once the message is recorded: a box that stays
    // open until this returns (it may run an event loop, as a modal box does).
    std::function<void(const RecordedMessage&)> onMessage;

    void reset();
    QStringList messageTexts() const;

    void message(QWidget*, const QString& text, Icon icon, const QString& caption) override;
    bool confirm(QWidget*, const QString& text, Icon icon) override;
    QStringList openFiles(QWidget*, const QString& title, const QString& filter) override;
    QString openFile(QWidget*, const QString& title, const QString& filter) override;
    QString saveFile(QWidget*, const QString& title, const QString& filter) override;
    QString existingDirectory(QWidget*, const QString& title, const QString& initialFolder) override;
    bool input(QWidget*, const QString& caption, const QString& prompt, QString& value) override;
    int showModal(QDialog& window) override;
};

class TestShell : public ShellIntegration {
public:
    struct Call {
        std::string kind;   // "open", "showItem", "properties", "url", "trash"
        std::string path;
        QString url;
    };
    std::vector<Call> calls;

    void openPath(const std::string& path) override { calls.push_back({"open", path, {}}); }
    void showItem(const std::string& path) override { calls.push_back({"showItem", path, {}}); }
    void showProperties(const std::string& path) override { calls.push_back({"properties", path, {}}); }
    void openUrl(const QString& url) override { calls.push_back({"url", {}, url}); }
    void openTrash() override { calls.push_back({"trash", {}, {}}); }
};

TestDialogs& testDialogs();
TestShell& testShell();
// The temporary folder that HOME and XDG_CONFIG_HOME point into. A test's
// own files go in a korvala::test::TTempTree.
const std::string& testRoot();
