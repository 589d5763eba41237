#pragma once
// What the window asks of the desktop: open a document, show an item in the
// file manager, show an item's properties, open a web address. Production talks
// to the desktop (D-Bus file manager, default applications); window tests
// install their own shell to observe the calls without a desktop.

#include <string>

#include <QString>

class QWidget;

class ShellIntegration {
public:
    virtual ~ShellIntegration() = default;

    // Opens a file or folder with its default application.
    virtual void openPath(const std::string& path) = 0;
    // A file manager window with the item selected; without a file manager
    // service, the item's folder is opened.
    virtual void showItem(const std::string& path) = 0;
    // The file manager's properties window of the item; without one, the
    // program's own read-only properties window.
    virtual void showProperties(const std::string& path) = 0;
    // Opens a web address in the browser.
    virtual void openUrl(const QString& url) = 0;
    // Shows the trash (the Recycle Bin) in the file manager.
    virtual void openTrash() = 0;
};

// The shell in use: the desktop until a test installs another one.
ShellIntegration& shell();
// Installs another shell (nullptr restores the desktop); not owned.
void setShell(ShellIntegration* replacement);

// The file URI that the file manager service is given for a path (bytes kept).
QString fileUriOf(const std::string& path);

// Opens the properties window of Path; failures are not reported.
void ShowShellProperties(const std::string& path);
