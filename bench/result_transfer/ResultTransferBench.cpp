// "Send Search Result to..." in the real main window on the offscreen
// platform: ROWS result rows sent to the Attribute Changer's list, three ways
// interleaved over several rounds: into an empty list, into a list that holds
// every tenth row already, and into a list that holds them all (every row a
// duplicate test that finds its entry). A 5 ms timer runs meanwhile; the
// longest gap between its ticks is how long the window could not paint.
//
// Usage: bench_result_transfer [ROWS] [ROUNDS]   (default 100000, 3)

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>

#include "app/Dialogs.h"
#include "app/ItemList.h"
#include "app/KorvalaApplication.h"
#include "app/Korvala_Main.h"
#include "app/pages/SeekerPage.h"
#include "bench/support/SilentDialogs.h"
#include "search/FileDetails.h"

namespace {

struct Figure {
    double ms = 0;
    double longestGapMs = 0;
};

Figure sendOnce(QAction& entry)
{
    QElapsedTimer sinceTick;
    double longestGap = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    ticker.start();
    sinceTick.start();
    QElapsedTimer total;
    total.start();
    entry.trigger();
    const double ms = static_cast<double>(total.nsecsElapsed()) / 1e6;
    longestGap = std::max(longestGap, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
    return {ms, longestGap};
}

std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string line;
    std::getline(in, line);
    return line + "\n";
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    KorvalaApplication app(argc, argv);
    SilentDialogs silent;
    setDialogs(&silent);
    TfrmKorvala::Options options;
    options.allowDonationWindow = false;
    {
        TfrmKorvala window(options);
        window.show();
        auto* seeker = window.page<TSeekerPage>();
        std::vector<korvala::TFileDetails> batch;
        std::vector<std::string> paths;
        for (int i = 0; i < rows; ++i) {
            korvala::TFileDetails d;
            d.Location = "/data/archive/set" + std::to_string(i / 100) + "/";
            d.Name = "Photo_" + std::to_string(i) + ".JPG";
            paths.push_back(d.fullPath());
            batch.push_back(std::move(d));
        }
        seeker->FSeekFileMatch(batch);
        QAction* entry = nullptr;
        for (QAction* action : seeker->sendTo->actions())
            if (action->objectName() == QStringLiteral("A1"))
                entry = action;
        TItemList* list = window.listOfTool(0);

        std::printf("Rows: %d; load average: %s", rows, loadAverage().c_str());
        const char* const names[] = {"into an empty list", "list holds every 10th", "list holds all"};
        for (int round = 0; round < rounds; ++round) {
            for (int kind = 0; kind < 3; ++kind) {
                list->removeAll();
                if (kind == 1)
                    for (int i = 0; i < rows; i += 10)
                        list->addPath(paths[static_cast<size_t>(i)]);
                if (kind == 2)
                    for (const std::string& p : paths)
                        list->addPath(p);
                const Figure f = sendOnce(*entry);
                std::printf("round %d, %-22s: %8.1f ms, longest event-loop pause %6.1f ms, %d entries\n", round + 1,
                    names[kind], f.ms, f.longestGapMs, list->count());
            }
        }
        window.close();
    }
    setDialogs(nullptr);
    return 0;
}
