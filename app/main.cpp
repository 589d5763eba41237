// The program's start: the splash window, the main window, a short pause, the
// event loop. "korvala [--page NAME] [PATH...]" opens a tool's page with the
// paths taken as a drop on it, or hands them to the window of a Korvala that
// runs already; "--screenshot FILE [--page NAME]" saves a picture of the
// window instead and exits.

#include <cstdio>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QFile>
#include <QStackedWidget>
#include <QThread>
#include <QToolButton>

#include "app/KorvalaApplication.h"
#include "app/Korvala_Main.h"
#include "app/Korvala_Splash.h"
#include "app/SingleInstance.h"
#include "app/StartArguments.h"

namespace {

int takeScreenshot(const QString& file, const QString& page)
{
    TfrmKorvala::Options options;
    options.allowDonationWindow = false;
    TfrmKorvala window(options);
    if (!page.isEmpty()) {
        const int tool = toolOfPageName(page.toStdString());
        QToolButton* button = tool >= 0 ? window.toolButton(tool) : window.findToolButton(page);
        if (button == nullptr) {
            std::fprintf(stderr, "korvala: no tool page named \"%s\"\n", qPrintable(page));
            return 2;
        }
        window.ToolsSelect(button);
    }
    window.show();
    window.Timer1Timer();
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    if (!window.grab().save(file, "PNG")) {
        std::fprintf(stderr, "korvala: cannot write \"%s\"\n", qPrintable(file));
        return 1;
    }
    window.close();
    return 0;
}

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
    if (!start.screenshot.empty())
        return takeScreenshot(QFile::decodeName(QByteArray::fromStdString(start.screenshot)),
            QString::fromStdString(start.pageName));

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
