// The program's start: the splash window, the main window, a short pause, the
// event loop. "--screenshot FILE [--page NAME]" (app/Screenshots.h) saves a
// picture of the window instead, and the file-manager options
// (app/FileManagerActions.h) write or remove the user's context-menu entries.

#include <cstdio>

#include <QThread>

#include "app/FileManagerActions.h"
#include "app/KorvalaApplication.h"
#include "app/Korvala_Main.h"
#include "app/Korvala_Splash.h"
#include "app/Screenshots.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> status = runFileManagerActionsOption(argc, argv))
        return *status;
    if (const std::optional<int> status = runScreenshotOption(argc, argv))
        return *status;

    KorvalaApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) {
        std::fprintf(stderr, "usage: korvala [--screenshot FILE [--page NAME]]\n");
        return 2;
    }

    auto* splash = new TfrmKorvalaSplash;
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    TfrmKorvala window;
    QThread::msleep(300);
    splash->hide();
    delete splash;
    window.show();
    return app.exec();
}
