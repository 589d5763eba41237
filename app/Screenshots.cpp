#include "app/Screenshots.h"

#include <cstdio>
#include <cstring>

#include <QSaveFile>
#include <QThread>
#include <QToolButton>

#include "app/KorvalaApplication.h"
#include "app/Korvala_Main.h"
#include "app/StartArguments.h"

namespace {

int takeScreenshot(const QString& file, const QString& page)
{
    TfrmKorvala::Options options;
    options.allowDonationWindow = false;
    TfrmKorvala window(options);
    if (!page.isEmpty()) {
        // A page name of the command line ("hash"), or a tool button's hint.
        const int tool = toolOfPageName(page.toStdString());
        QToolButton* button = tool >= 0 ? window.toolButton(tool) : window.findToolButton(page);
        if (button == nullptr) {
            std::fprintf(stderr, "korvala: no tool page named \"%s\"\n", qPrintable(page));
            return 2;
        }
        window.ToolsSelect(button);
    }
    window.show();
    // The status bar's panels are filled by the timer; a first tick now, then
    // a few rounds of events so that layouts and painting have settled.
    window.Timer1Timer();
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    // Written under a temporary name and renamed, so that a failed write
    // never leaves half a picture under the name asked for.
    QSaveFile out(file);
    const bool written =
        out.open(QIODevice::WriteOnly) && window.grab().save(&out, "PNG") && out.commit();
    window.close();
    if (!written) {
        std::fprintf(stderr, "korvala: cannot write \"%s\"\n", qPrintable(file));
        return 1;
    }
    return 0;
}

}  // namespace

std::optional<int> runScreenshotOption(int& argc, char** argv)
{
    bool wanted = false;
    for (int i = 1; i < argc; ++i)
        wanted = wanted || std::strcmp(argv[i], "--screenshot") == 0;
    if (!wanted)
        return std::nullopt;

    KorvalaApplication app(argc, argv);
    QString file;
    QString page;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--screenshot") && i + 1 < args.size() && file.isEmpty()) {
            file = args[++i];
        } else if (args[i] == QStringLiteral("--page") && i + 1 < args.size() && page.isEmpty()) {
            page = args[++i];
        } else {
            std::fprintf(stderr, "usage: korvala --screenshot FILE [--page NAME]\n");
            return 2;
        }
    }
    if (file.isEmpty()) {
        std::fprintf(stderr, "usage: korvala --screenshot FILE [--page NAME]\n");
        return 2;
    }
    return takeScreenshot(file, page);
}
