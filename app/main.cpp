// The program's start: the splash window, the main window, a short pause, the
// event loop. "--screenshot FILE [--page NAME]" saves a picture of the window
// instead and exits.

#include <cstdio>

#include <QElapsedTimer>
#include <QStackedWidget>
#include <QThread>
#include <QToolButton>

#include "app/KorvalaApplication.h"
#include "app/Korvala_Main.h"
#include "app/Korvala_Splash.h"

namespace {

int takeScreenshot(const QString& file, const QString& page)
{
    TfrmKorvala::Options options;
    options.allowDonationWindow = false;
    TfrmKorvala window(options);
    if (!page.isEmpty()) {
        QToolButton* button = window.findToolButton(page);
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

}  // namespace

int main(int argc, char** argv)
{
    KorvalaApplication app(argc, argv);

    QString screenshot;
    QString page;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--screenshot") && i + 1 < args.size()) {
            screenshot = args[++i];
        } else if (args[i] == QStringLiteral("--page") && i + 1 < args.size()) {
            page = args[++i];
        } else {
            std::fprintf(stderr, "usage: korvala [--screenshot FILE [--page NAME]]\n");
            return 2;
        }
    }
    if (!screenshot.isEmpty())
        return takeScreenshot(screenshot, page);
    if (!page.isEmpty()) {
        std::fprintf(stderr, "korvala: --page needs --screenshot\n");
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
