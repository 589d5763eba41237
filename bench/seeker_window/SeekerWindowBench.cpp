// The Seeker's result grid with many rows, in the real main window shown on the
// offscreen platform: the rows arrive in the search's batches (2,048 matches,
// each batch followed by the folder announcement and a pass of the event loop),
// then the grid is scrolled and sorted by every column, ascending and
// descending. Prints the time of each step.
//
// Usage: bench_seeker_window [ROWS]   (default 1000000)

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

#include "app/Dialogs.h"
#include "app/KorvalaApplication.h"
#include "app/Korvala_Main.h"
#include "app/pages/SeekerPage.h"
#include "app/pages/SeekerResultModel.h"
#include "bench/support/SilentDialogs.h"
#include "platform/DateTime.h"
#include "platform/FileAttributes.h"
#include "search/FileDetails.h"

namespace {

double msSince(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// Matches as a search of a big tree reports them: folder by folder, names of
// mixed case and length, varied sizes, times and attributes.
std::vector<std::vector<korvala::TFileDetails>> makeBatches(size_t rows, size_t batchSize)
{
    std::mt19937_64 rng(42);
    const char* const words[] = {"Report", "photo", "Invoice", "draft", "Summary", "notes", "IMG", "backup",
        "Zeta", "alpha", "Übersicht", "données"};
    const char* const exts[] = {".txt", ".jpg", ".PDF", ".docx", ".dat", ".log"};
    const korvala::TDateTime base = korvala::encodeDate(2005, 1, 1);
    std::vector<std::vector<korvala::TFileDetails>> batches;
    std::vector<korvala::TFileDetails> batch;
    std::string folder;
    for (size_t i = 0; i < rows; ++i) {
        if (i % 100 == 0)
            folder = "/data/archive" + std::to_string(rng() % 50) + "/set" + std::to_string(i / 100) + "/";
        korvala::TFileDetails d;
        d.Location = folder;
        d.Name = std::string(words[rng() % 12]) + "_" + std::to_string(rng() % 1000000) + exts[rng() % 6];
        const bool isFolder = rng() % 50 == 0;
        d.Attributes = isFolder ? korvala::FILE_ATTRIBUTE_DIRECTORY
                                : (korvala::FILE_ATTRIBUTE_ARCHIVE | ((rng() % 7 == 0) ? korvala::FILE_ATTRIBUTE_READONLY : 0));
        d.Size = isFolder ? 4096 : static_cast<int64_t>(rng() % (64ull << 20));
        d.ModifiedTime = base + static_cast<double>(rng() % 7000) +
            ((rng() % 4 == 0) ? 0.0 : static_cast<double>(rng() % 86400) / 86400.0);
        d.CreatedTime = d.AccessedTime = d.ModifiedTime;
        batch.push_back(std::move(d));
        if (batch.size() == batchSize) {
            batches.push_back(std::move(batch));
            batch.clear();
        }
    }
    if (!batch.empty())
        batches.push_back(std::move(batch));
    return batches;
}

void settle(QTableView* view)
{
    view->viewport()->repaint();
    QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv)
{
    const size_t rows = argc > 1 ? static_cast<size_t>(std::stoull(argv[1])) : 1000000;

    // Settings go to a throwaway home, never the user's.
    char pattern[] = "/tmp/korvala-bench-seeker-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string home = pattern;
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    KorvalaApplication app(argc, argv);
    SilentDialogs silent;
    setDialogs(&silent);

    TKorvalaOptions options;
    options.allowDonationWindow = false;
    auto* window = new TfrmKorvala(options);
    window->resize(1100, 800);
    window->show();
    window->ToolsSelect(window->toolButton(11));
    QCoreApplication::processEvents();
    TSeekerPage* page = window->page<TSeekerPage>();
    QTableView* view = page->nxResult;

    QElapsedTimer timer;
    timer.start();
    const auto batches = makeBatches(rows, 2048);
    std::printf("Rows: %zu in %zu batches of up to 2048 (made in %.0f ms)\n", rows, batches.size(), msSince(timer));
    std::printf("Grid viewport: %dx%d\n\n", view->viewport()->width(), view->viewport()->height());

    // Append: one beginInsertRows per batch, the label update, then a pass of
    // the event loop (layout and paint) as between two hand-overs.
    double worstBatch = 0;
    timer.restart();
    for (const auto& batch : batches) {
        QElapsedTimer one;
        one.start();
        page->FSeekFileMatch(batch);
        page->FSeekFolderChange(QString::fromStdString(batch.back().Location));
        QCoreApplication::processEvents();
        worstBatch = std::max(worstBatch, msSince(one));
    }
    settle(view);
    const double appendMs = msSince(timer);
    std::printf("%-34s %10.1f ms  (%.2f ms per batch on average, worst %.1f ms)\n", "append all batches", appendMs,
        appendMs / static_cast<double>(batches.size()), worstBatch);

    timer.restart();
    view->scrollToBottom();
    settle(view);
    std::printf("%-34s %10.1f ms\n", "scroll to the end", msSince(timer));

    timer.restart();
    view->scrollToTop();
    settle(view);
    std::printf("%-34s %10.1f ms\n", "scroll to the top", msSince(timer));

    // Paging through: 200 page-down steps spread over the whole grid.
    QScrollBar* bar = view->verticalScrollBar();
    timer.restart();
    for (int i = 1; i <= 200; ++i) {
        bar->setValue(static_cast<int>(static_cast<int64_t>(bar->maximum()) * i / 200));
        settle(view);
    }
    std::printf("%-34s %10.2f ms per step\n", "scroll by a jump (200 steps)", msSince(timer) / 200);

    // Sorting through the page's header handler, each column twice (ascending,
    // then descending), with the grid repainted afterwards.
    const char* const names[] = {"Name (text)", "Size (KB) (number)", "Attribute (text)", "Date Modified (date)",
        "Location (text)"};
    double worstSort = 0;
    for (int column = 0; column < TSeekerResultModel::ColumnCount; ++column) {
        for (int pass = 0; pass < 2; ++pass) {
            timer.restart();
            page->nxResultSortColumn(column);
            settle(view);
            const double ms = msSince(timer);
            worstSort = std::max(worstSort, ms);
            std::printf("sort %-29s %10.1f ms\n",
                (std::string(names[column]) + (pass == 0 ? " asc" : " desc")).c_str(), ms);
        }
    }

    // A sanity check that the work was real: the grid holds every row and the
    // last sort (Location, descending) put the greatest folder first.
    const int shown = page->resultModel->rowCount();
    const QString first = page->resultModel->cellText(0, TSeekerResultModel::clLoc);
    const QString last = page->resultModel->cellText(shown - 1, TSeekerResultModel::clLoc);
    std::printf("\nRows in the grid: %d; label: %s; first/last folder after the last sort: %s / %s\n", shown,
        page->Label37->text().toUtf8().constData(), first.toUtf8().constData(), last.toUtf8().constData());
    std::printf("Worst sort: %.1f ms (target: well under 1-2 s)\n", worstSort);

    delete window;
    setDialogs(nullptr);
    std::system(("rm -rf '" + home + "'").c_str());
    return shown == static_cast<int>(rows) && first.compare(last, Qt::CaseInsensitive) >= 0 ? 0 : 1;
}
