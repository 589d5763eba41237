// The program's start: the splash window, the main window, a short pause, the
// event loop. "korvala [--page NAME] [PATH...]" opens a tool's page with the
// paths taken as a drop on it, or hands them to the window of a Korvala that
// runs already; "--screenshot FILE [--page NAME]" (app/Screenshots.h) saves a
// picture of the window instead, and the file-manager options
// (app/FileManagerActions.h) write or remove the user's context-menu entries.

#include <cstdio>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QFile>
#include <QStackedWidget>
#include <QThread>
#include <QToolButton>

#include "app/FileManagerActions.h"
#include "app/KorvalaApplication.h"
#include "app/Korvala_Main.h"
#include "app/Korvala_Splash.h"
#include "app/Screenshots.h"
#include "app/SingleInstance.h"
#include "app/StartArguments.h"

namespace {

// The window in front of the others: a later start asked for it.
void bringToFront(TfrmKorvala& window)
{
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> status = runFileManagerActionsOption(argc, argv))
        return *status;
    if (const std::optional<int> status = runScreenshotOption(argc, argv))
        return *status;

    KorvalaApplication app(argc, argv);

    // The arguments as bytes: paths need not be valid in any encoding. The
    // application has taken its own options (-platform, ...) out of argv.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    const TStartArguments start = parseStartArguments(args);
    if (start.help) {
        std::fputs(startUsage().c_str(), stdout);
        return 0;
    }
    if (!start.error.empty()) {
        std::fprintf(stderr, "korvala: %s\nTry \"korvala --help\".\n", start.error.c_str());
        return 2;
    }

    TSingleInstance instance;
    if (!instance.claim() && TSingleInstance::handOver(QDBusConnection::sessionBus(), start.tool, start.paths))
        return 0;

    auto* splash = new TfrmKorvalaSplash;
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    TfrmKorvala window;
    QThread::msleep(300);
    splash->hide();
    delete splash;
    window.show();
    window.openWithPaths(start.tool, start.paths);
    QObject::connect(&instance, &TSingleInstance::openRequested, &window,
        [&window](int tool, const std::vector<std::string>& paths) {
            window.openWithPaths(tool, paths);
            bringToFront(window);
        });
    return app.exec();
}
