// TBackgroundWorker on real threads with a real event loop: what runs where,
// in which order, and how cancellation and failures end a run.

#include "worker/BackgroundWorker.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include "WorkerApplication.h"

namespace {

class WorkerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        application();
        errors.clear();
        TBackgroundWorker::setErrorReporter([this](const QString& caption, const QString& text) {
            errors.push_back((caption + "|" + text).toStdString());
            events.push_back("error");
        });
    }
    void TearDown() override { TBackgroundWorker::setErrorReporter({}); }

    std::vector<std::string> errors;
    std::vector<std::string> events;
};

TEST_F(WorkerTest, RunsWorkOnItsOwnThreadAndCompletesOnTheStartingThread)
{
    TBackgroundWorker worker("trdTest");
    std::atomic<bool> workOnOtherThread{false};
    QThread* completionThread = nullptr;
    uint64_t idDuringWork = 0;
    bool workingInCompletion = true;
    worker.OnWork = [&](TBackgroundWorker& w) {
        workOnOtherThread = QThread::currentThread() != application().thread();
        idDuringWork = w.ThreadId();
    };
    worker.OnWorkComplete = [&](TBackgroundWorker& w, bool cancelled) {
        completionThread = QThread::currentThread();
        workingInCompletion = w.IsWorking();
        events.push_back(cancelled ? "complete:cancelled" : "complete:done");
    };

    worker.Start();
    EXPECT_TRUE(worker.IsWorking());
    EXPECT_FALSE(worker.WaitFor());

    EXPECT_TRUE(workOnOtherThread);
    EXPECT_NE(idDuringWork, 0u);
    EXPECT_EQ(worker.ThreadId(), 0u);
    EXPECT_EQ(completionThread, application().thread());
    EXPECT_FALSE(workingInCompletion) << "the worker must be idle when its completion handler runs";
    EXPECT_EQ(events, std::vector<std::string>{"complete:done"});
    EXPECT_FALSE(worker.Cancelled());
}

TEST_F(WorkerTest, ReportsArriveInPostingOrderBeforeCompletion)
{
    TBackgroundWorker worker("trdOrder");
    worker.OnWork = [&](TBackgroundWorker& w) {
        for (int i = 0; i < 200; ++i) {
            if (i % 3 == 0)
                w.ReportProgress(i);
            else if (i % 3 == 1)
                w.ReportFeedback(i, -i);
            else
                w.Post([this, i] { events.push_back("post:" + std::to_string(i)); });
        }
        w.ReportProgressWait(1000);
        w.ReportFeedbackWait(1001, 7);
    };
    worker.OnWorkProgress = [&](TBackgroundWorker&, int percent) {
        events.push_back("progress:" + std::to_string(percent));
    };
    worker.OnWorkFeedback = [&](TBackgroundWorker&, int id, int value) {
        events.push_back("feedback:" + std::to_string(id) + "=" + std::to_string(value));
    };
    worker.OnWorkComplete = [&](TBackgroundWorker&, bool) { events.push_back("complete"); };

    worker.Start();
    worker.WaitFor();

    std::vector<std::string> expected;
    for (int i = 0; i < 200; ++i) {
        if (i % 3 == 0)
            expected.push_back("progress:" + std::to_string(i));
        else if (i % 3 == 1)
            expected.push_back("feedback:" + std::to_string(i) + "=" + std::to_string(-i));
        else
            expected.push_back("post:" + std::to_string(i));
    }
    expected.push_back("progress:1000");
    expected.push_back("feedback:1001=7");
    expected.push_back("complete");
    EXPECT_EQ(events, expected);
}

TEST_F(WorkerTest, CancellationIsCooperativeAndAcceptedOnlyByTheWork)
{
    TBackgroundWorker worker("trdCancel");
    std::atomic<bool> started{false};
    int units = 0;
    worker.OnWork = [&](TBackgroundWorker& w) {
        started = true;
        for (;;) {
            if (w.CancellationPending()) {
                w.AcceptCancellation();
                return;
            }
            ++units;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };
    bool reported = false;
    worker.OnWorkComplete = [&](TBackgroundWorker&, bool cancelled) { reported = cancelled; };

    worker.Start();
    while (!started)
        std::this_thread::yield();
    EXPECT_TRUE(worker.Cancel());
    worker.WaitFor();
    EXPECT_TRUE(reported);
    EXPECT_TRUE(worker.Cancelled());
    EXPECT_FALSE(worker.CancellationPending()) << "AcceptCancellation clears the request";
    EXPECT_GT(units, 0);

    // Idle: Cancel changes nothing and the last outcome stays readable.
    EXPECT_FALSE(worker.Cancel());
    EXPECT_FALSE(worker.CancellationPending());
    EXPECT_TRUE(worker.Cancelled());
    // WaitFor on an idle worker returns at once.
    EXPECT_FALSE(worker.WaitFor());
}

TEST_F(WorkerTest, CancelAfterTheLastUnitStillReportsCompletion)
{
    TBackgroundWorker worker("trdLate");
    std::atomic<bool> workDone{false};
    worker.OnWork = [&](TBackgroundWorker&) { workDone = true; };
    bool cancelledFlag = true;
    worker.OnWorkComplete = [&](TBackgroundWorker&, bool cancelled) { cancelledFlag = cancelled; };

    worker.Start();
    while (!workDone)
        std::this_thread::yield();
    // The end message may already be queued; it has not been handled yet.
    EXPECT_TRUE(worker.Cancel());
    worker.WaitFor();
    EXPECT_FALSE(cancelledFlag);
    EXPECT_FALSE(worker.Cancelled());
    EXPECT_TRUE(worker.CancellationPending()) << "the request is never accepted";
}

TEST_F(WorkerTest, MisuseRaisesTheWorkerErrors)
{
    TBackgroundWorker worker("trdMisuse");
    try {
        worker.AcceptCancellation();
        FAIL() << "AcceptCancellation outside the work must raise";
    } catch (const EBackgroundWorker& e) {
        EXPECT_STREQ(e.what(), "You must call 'trdMisuse.AcceptCancellation' only inside the OnWork event handler");
    }

    std::atomic<bool> release{false};
    worker.OnWork = [&](TBackgroundWorker&) {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    worker.Start();
    try {
        worker.Start();
        FAIL() << "a second Start must raise";
    } catch (const EBackgroundWorker& e) {
        EXPECT_STREQ(e.what(), "The background worker named 'trdMisuse' is already running");
    }
    try {
        worker.AcceptCancellation();
        FAIL() << "AcceptCancellation from the window thread must raise while working too";
    } catch (const EBackgroundWorker&) {
    }
    EXPECT_TRUE(worker.IsWorking()) << "the running work is not disturbed";
    release = true;
    worker.WaitFor();
    EXPECT_FALSE(worker.Cancelled());
}

TEST_F(WorkerTest, AnExceptionInTheWorkIsShownThenTheRunEndsCancelled)
{
    TBackgroundWorker worker("trdFail");
    worker.OnWork = [](TBackgroundWorker&) { throw korvala::KorvalaError("List index out of bounds (3)"); };
    worker.OnWorkComplete = [&](TBackgroundWorker&, bool cancelled) {
        events.push_back(cancelled ? "complete:cancelled" : "complete:done");
    };
    worker.Start();
    worker.WaitFor();
    ASSERT_EQ(events, (std::vector<std::string>{"error", "complete:cancelled"}));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Application Error|KorvalaError: List index out of bounds (3)");
    EXPECT_TRUE(worker.Cancelled());
}

TEST_F(WorkerTest, CompletionHandlerMayStartTheWorkerAgain)
{
    TBackgroundWorker worker("trdAgain");
    int runs = 0;
    worker.OnWork = [&](TBackgroundWorker&) {};
    worker.OnWorkComplete = [&](TBackgroundWorker& w, bool) {
        if (++runs < 3)
            w.Start();
    };
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(runs, 3);
    EXPECT_FALSE(worker.IsWorking());
}

TEST_F(WorkerTest, SynchronizeRunsOnTheWindowThreadAndRaisesItsErrorInTheWork)
{
    TBackgroundWorker worker("trdSync");
    QThread* ranOn = nullptr;
    std::string caught;
    worker.OnWork = [&](TBackgroundWorker& w) {
        w.Synchronize([&] { ranOn = QThread::currentThread(); });
        try {
            w.Synchronize([] { throw korvala::KorvalaError("List index out of bounds (5)"); });
        } catch (const korvala::KorvalaError& e) {
            caught = e.what();
        }
    };
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(ranOn, application().thread());
    EXPECT_EQ(caught, "List index out of bounds (5)");
    EXPECT_TRUE(errors.empty());
}

TEST_F(WorkerTest, HandlerErrorsOnTheWindowThreadAreShownAndTheRunGoesOn)
{
    TBackgroundWorker worker("trdHandler");
    worker.OnWork = [](TBackgroundWorker& w) {
        w.ReportProgress(1);
        w.ReportProgress(2);
    };
    std::vector<int> seen;
    worker.OnWorkProgress = [&](TBackgroundWorker&, int p) {
        seen.push_back(p);
        if (p == 1)
            throw std::runtime_error("bad progress");
    };
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Korvala|runtime_error: bad progress");
}

TEST_F(WorkerTest, DestroyingAWorkingWorkerStopsItAndSaysSo)
{
    std::atomic<bool> stopped{false};
    {
        TBackgroundWorker worker("trdLeft");
        worker.OnWork = [&](TBackgroundWorker& w) {
            while (!w.CancellationPending())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            stopped = true;
        };
        worker.Start();
    }
    EXPECT_TRUE(stopped);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Korvala|Before closing the application, 'trdLeft' must be stopped");
}

// The destructor must not wait for a thread that waits for the destructor's
// thread: the pending request is answered with an error instead of running.
TEST_F(WorkerTest, DestroyingAWorkerWhoseWorkWaitsInSynchronizeDoesNotDeadlock)
{
    std::atomic<bool> finished{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 3000 && !finished; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!finished) {
            std::fprintf(stderr, "worker destructor deadlocked\n");
            std::_Exit(1);
        }
    });
    std::atomic<bool> inSynchronize{false};
    std::atomic<bool> callRan{false};
    std::string raised;
    {
        TBackgroundWorker worker("trdStuck");
        worker.OnWork = [&](TBackgroundWorker& w) {
            inSynchronize = true;
            try {
                w.Synchronize([&] { callRan = true; });
            } catch (const EBackgroundWorker& e) {
                raised = e.what();
            }
        };
        worker.Start();
        while (!inSynchronize)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    finished = true;
    watchdog.join();
    EXPECT_FALSE(callRan) << "a request must not run while its worker is destroyed";
    EXPECT_EQ(raised, "The background worker named 'trdStuck' is being destroyed");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Korvala|Before closing the application, 'trdStuck' must be stopped");
}

TEST_F(WorkerTest, SynchronizeFromAThirdThreadIsRefused)
{
    TBackgroundWorker worker("trdOwner");
    bool ran = false;
    std::string raised;
    std::thread other([&] {
        try {
            worker.Synchronize([&] { ran = true; });
        } catch (const EBackgroundWorker& e) {
            raised = e.what();
        }
    });
    other.join();
    EXPECT_FALSE(ran);
    EXPECT_EQ(raised,
        "You must call 'trdOwner.Synchronize' only inside the OnWork event handler or on the thread that started it");

    // On the owner's thread it runs at once.
    worker.Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(WorkerTest, AHandlerErrorOfAWaitingReportIsShownAndTheRunGoesOn)
{
    TBackgroundWorker worker("trdWaitReports");
    std::vector<std::string> workSaw;
    worker.OnWork = [&](TBackgroundWorker& w) {
        try {
            w.ReportProgressWait(1);
            workSaw.push_back("after progress");
            w.ReportFeedbackWait(7, 8);
            workSaw.push_back("after feedback");
        } catch (const std::exception& e) {
            workSaw.push_back(std::string("raised: ") + e.what());
        }
    };
    worker.OnWorkProgress = [](TBackgroundWorker&, int) { throw std::runtime_error("bad progress"); };
    worker.OnWorkFeedback = [](TBackgroundWorker&, int, int) { throw std::runtime_error("bad feedback"); };
    worker.OnWorkComplete = [&](TBackgroundWorker&, bool cancelled) {
        events.push_back(cancelled ? "complete:cancelled" : "complete:done");
    };
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(workSaw, (std::vector<std::string>{"after progress", "after feedback"}));
    EXPECT_EQ(errors, (std::vector<std::string>{"Korvala|runtime_error: bad progress", "Korvala|runtime_error: bad feedback"}));
    EXPECT_EQ(events, (std::vector<std::string>{"error", "error", "complete:done"}));
}

// The box of a failed run is modal: while it is open the event loop runs, and
// the run's completion (the tool's "ABORTED!" message) must not appear on top
// of it. The reporter below keeps the box "open" by running the loop itself.
TEST_F(WorkerTest, TheErrorBoxOfAFailedRunClosesBeforeTheRunCompletes)
{
    TBackgroundWorker worker("trdBox");
    bool workingWhileOpen = false;
    bool completedWhileOpen = false;
    TBackgroundWorker::setErrorReporter([&](const QString& caption, const QString&) {
        events.push_back("box open:" + caption.toStdString());
        for (int i = 0; i < 50; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        workingWhileOpen = worker.IsWorking();
        completedWhileOpen = std::find(events.begin(), events.end(), "complete:cancelled") != events.end();
        events.push_back("box closed");
    });
    worker.OnWork = [](TBackgroundWorker&) { throw korvala::KorvalaError("disk gone"); };
    worker.OnWorkComplete = [&](TBackgroundWorker&, bool cancelled) {
        events.push_back(cancelled ? "complete:cancelled" : "complete:done");
    };
    worker.Start();
    worker.WaitFor();
    EXPECT_TRUE(workingWhileOpen);
    EXPECT_FALSE(completedWhileOpen);
    EXPECT_EQ(events, (std::vector<std::string>{"box open:Application Error", "box closed", "complete:cancelled"}));
}

}  // namespace
