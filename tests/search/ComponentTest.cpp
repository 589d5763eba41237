// TFindFileW with a real event loop: the order of its events, batches handed to
// the window's thread, abort, Start while busy, destruction while busy.

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include "TempTree.h"
#include "search/component/FindFileComponent.h"

namespace korvala {
namespace {

using test::TTempTree;

QCoreApplication& app()
{
    static int argc = 1;
    static char name[] = "test_search";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* a = new QCoreApplication(argc, argv);
    return *a;
}

// Runs the event loop until the condition holds (or a generous limit passes).
template <typename Cond>
bool spinUntil(Cond cond)
{
    QElapsedTimer timer;
    timer.start();
    while (!cond() && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return cond();
}

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app();
        t.folder("one");
        t.folder("two");
        for (int i = 0; i < 300; ++i) {
            t.file("one/f" + std::to_string(i) + ".txt", "x");
            t.file("two/g" + std::to_string(i) + ".txt", "x");
        }
    }
    // Connects a component to a log of its events as seen on the window's thread.
    void watch(TFindFileW& f)
    {
        QObject::connect(&f, &TFindFileW::searchBegin, [this] { log.push_back("begin"); });
        QObject::connect(&f, &TFindFileW::filesMatched, [this](const std::vector<TFileDetails>& batch) {
            EXPECT_EQ(QThread::currentThread(), app().thread());
            ++batches;
            for (const TFileDetails& d : batch)
                paths.push_back(d.fullPath());
        });
        QObject::connect(&f, &TFindFileW::searchFinish, [this, &f] {
            EXPECT_EQ(QThread::currentThread(), app().thread());
            EXPECT_FALSE(f.Busy());
            log.push_back(f.Aborted() ? "finish aborted" : "finish");
        });
    }
    TTempTree t;
    std::vector<std::string> log;
    std::vector<std::string> paths;
    int batches = 0;
};

TEST_F(ComponentTest, ThreadedSearchDeliversAllMatchesInOrder)
{
    // The reference order: the same search run on this thread.
    TFindFileW direct;
    direct.Criteria().Files().setLocation(t.root());
    std::vector<std::string> expected;
    direct.OnFileMatch = [&](TFindFileW&, const TFileDetails& d) { expected.push_back(d.fullPath()); };
    direct.Start();
    ASSERT_EQ(expected.size(), 600u);

    TFindFileW f;
    watch(f);
    f.setThreaded(true);
    f.Criteria().Files().setLocation(t.root());
    std::atomic<int> folderCalls{0};
    std::thread::id searchThread;
    f.OnFolderChange = [&](TFindFileW&, const std::string&, TFolderIgnore& ignore) {
        EXPECT_EQ(ignore, fiNone);
        searchThread = std::this_thread::get_id();
        ++folderCalls;
    };
    f.Start();
    EXPECT_TRUE(f.Busy());
    EXPECT_EQ(log, (std::vector<std::string>{"begin"}));
    f.Start();  // ignored while busy
    EXPECT_EQ(log.size(), 1u);
    ASSERT_TRUE(spinUntil([&] { return !f.Busy(); }));
    EXPECT_EQ(log, (std::vector<std::string>{"begin", "finish"}));
    EXPECT_EQ(paths, expected);
    EXPECT_EQ(folderCalls.load(), 3);
    EXPECT_NE(searchThread, std::this_thread::get_id());
    EXPECT_GE(batches, 1);
}

// Every match found before the abort reaches the window, also those still
// waiting for their batch; nothing found after it does.
TEST_F(ComponentTest, AbortDeliversWhatWasFoundAndFinishesOnce)
{
    TFindFileW f;
    watch(f);
    f.setThreaded(true);
    f.Abort();  // idle: nothing happens
    EXPECT_FALSE(f.Aborted());
    f.Criteria().Files().setLocation(t.root());
    // The abort comes from the walk itself, right after the fifth match: far
    // sooner than a batch is due.
    std::atomic<int> found{0};
    f.OnFileMatch = [&](TFindFileW& sender, const TFileDetails&) {
        if (++found == 5)
            sender.Abort();
    };
    f.Start();
    ASSERT_TRUE(spinUntil([&] { return !f.Busy(); }));
    EXPECT_EQ(found.load(), 5);
    EXPECT_EQ(paths.size(), 5u);
    EXPECT_EQ(log, (std::vector<std::string>{"begin", "finish aborted"}));
    EXPECT_TRUE(f.Aborted());

    // The next start clears Aborted.
    f.OnFileMatch = nullptr;
    log.clear();
    paths.clear();
    f.Start();
    ASSERT_TRUE(spinUntil([&] { return !f.Busy(); }));
    EXPECT_FALSE(f.Aborted());
    EXPECT_EQ(paths.size(), 600u);
}

TEST_F(ComponentTest, NoTargetsAndNotThreaded)
{
    TFindFileW f;
    watch(f);
    f.Start();  // no location: begin and finish only
    EXPECT_EQ(log, (std::vector<std::string>{"begin", "finish"}));
    EXPECT_TRUE(paths.empty());

    log.clear();
    f.Criteria().Files().setLocation(t.path("one"));
    f.Criteria().Files().setFileName("f1?.txt");
    f.Start();  // returns after everything, finish included
    EXPECT_EQ(log, (std::vector<std::string>{"begin", "finish"}));
    EXPECT_EQ(paths.size(), 10u);
    EXPECT_FALSE(f.Busy());
}

TEST_F(ComponentTest, CriteriaChangedDuringASearchDoNotAffectIt)
{
    TFindFileW f;
    watch(f);
    f.setThreaded(true);
    f.Criteria().Files().setLocation(t.path("one"));
    f.Start();
    f.Criteria().Files().setLocation(t.path("two"));
    f.Criteria().Files().setFileName("nothing");
    ASSERT_TRUE(spinUntil([&] { return !f.Busy(); }));
    EXPECT_EQ(paths.size(), 300u);
}

TEST_F(ComponentTest, DestroyedWhileBusyAbortsAndWaits)
{
    std::atomic<bool> finishCalled{false};
    std::atomic<int> matchesAfterDestroy{0};
    std::atomic<bool> destroyed{false};
    {
        auto f = std::make_unique<TFindFileW>();
        f->setThreaded(true);
        f->Criteria().Files().setLocation(t.root());
        f->OnFileMatch = [&](TFindFileW&, const TFileDetails&) {
            if (destroyed)
                ++matchesAfterDestroy;
            QThread::usleep(1000);
        };
        f->OnSearchFinish = [&](TFindFileW&) { finishCalled = true; };
        f->Start();
        QThread::msleep(20);
        f.reset();  // must abort, wait for the thread, and not fire finish
        destroyed = true;
    }
    QCoreApplication::processEvents();  // stale hand-overs must not reach anything
    EXPECT_FALSE(finishCalled.load());
    EXPECT_EQ(matchesAfterDestroy.load(), 0);
}

}  // namespace
}  // namespace korvala
