// Closing the window while workers run: each is cancelled and waited for, and
// the tools' abort messages appear before the close is over.

#include <atomic>
#include <chrono>
#include <thread>

#include <QTimer>

#include "GuiFixture.h"
#include "worker/BackgroundWorker.h"

namespace {

// Works until cancelled, as the tools' work procedures do.
void workUntilCancelled(TBackgroundWorker& worker, std::atomic<int>& started)
{
    ++started;
    while (!worker.CancellationPending())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    worker.AcceptCancellation();
}

using CloseTest = GuiFixture;

TEST_F(CloseTest, ClosingCancelsRunningWorkersAndShowsTheirAbortMessages)
{
    std::atomic<int> started{0};
    auto bind = [&](TBackgroundWorker* worker, const QString& done, const QString& aborted) {
        worker->OnWork = [&started](TBackgroundWorker& w) { workUntilCancelled(w, started); };
        worker->OnWorkComplete = [done, aborted](TBackgroundWorker&, bool cancelled) {
            dialogs().message(nullptr, cancelled ? aborted : done);
        };
    };
    bind(window->worker("trdHash"), QStringLiteral("Hash Generating process completed!"),
        QStringLiteral("Hash Generating process ABORTED!"));
    bind(window->worker("trdAC"), QStringLiteral("Attribute Changing process Completed!"),
        QStringLiteral("Attribute Changing process ABORTED!"));
    window->worker("trdHash")->Start();
    window->worker("trdAC")->Start();
    while (started.load() < 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));

    EXPECT_TRUE(window->close());
    // Everything happened inside the close, before it returned.
    EXPECT_FALSE(window->worker("trdHash")->IsWorking());
    EXPECT_FALSE(window->worker("trdAC")->IsWorking());
    EXPECT_TRUE(window->worker("trdHash")->Cancelled());
    EXPECT_TRUE(window->worker("trdAC")->Cancelled());
    const QStringList shown = testDialogs().messageTexts();
    EXPECT_TRUE(shown.contains(QStringLiteral("Hash Generating process ABORTED!"))) << shown.join(u'|').toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Attribute Changing process ABORTED!"))) << shown.join(u'|').toStdString();
    EXPECT_EQ(shown.size(), 2);
    EXPECT_FALSE(window->Timer1()->isActive());
}

}  // namespace
