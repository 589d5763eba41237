// runPerEntry over a list owned by the starting thread and changed while the
// run goes on, as a user could change a page's list.

#include "worker/PerEntry.h"

#include <string>
#include <vector>

#include <QThread>

#include <gtest/gtest.h>

#include "WorkerApplication.h"

namespace {

struct RunRecord {
    std::vector<std::string> processed;
    std::vector<std::string> errors;
    bool cancelled = false;
    int countCalls = 0;
    bool readOnOwnerThread = true;
};

class PerEntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        application();
        TBackgroundWorker::setErrorReporter(
            [this](const QString&, const QString& text) { seen.errors.push_back(text.toStdString()); });
    }
    void TearDown() override { TBackgroundWorker::setErrorReporter({}); }

    // Runs the loop over list; visiting(position, list) may change the list.
    void runOver(std::vector<std::string>& list, std::function<void(int, TBackgroundWorker&)> visiting = {},
        std::function<bool(const std::string&)> process = {})
    {
        TBackgroundWorker worker("trdEntries");
        worker.OnWork = [&](TBackgroundWorker& w) {
            TPerEntryOptions options;
            if (visiting)
                options.visiting = [&](int position) { visiting(position, w); };
            runPerEntry(
                w,
                [&] {
                    ++seen.countCalls;
                    return static_cast<int>(list.size());
                },
                [&](int position) {
                    seen.readOnOwnerThread = seen.readOnOwnerThread && QThread::currentThread() == application().thread();
                    return list[static_cast<size_t>(position)];
                },
                [&](std::string& entry) {
                    seen.processed.push_back(entry);
                    return process ? process(entry) : true;
                },
                options);
        };
        worker.OnWorkComplete = [&](TBackgroundWorker&, bool cancelled) { seen.cancelled = cancelled; };
        worker.Start();
        worker.WaitFor();
    }

    RunRecord seen;
};

TEST_F(PerEntryTest, ReadsEachEntryWhenItsTurnComesWithinTheCountTakenAtTheStart)
{
    std::vector<std::string> list{"a", "b", "c"};
    runOver(list, [&](int position, TBackgroundWorker&) {
        if (position == 1) {
            list[2] = "c2";       // changed before its turn: the new value is used
            list.push_back("d");  // added during the run: not visited
        }
    });
    EXPECT_EQ(seen.processed, (std::vector<std::string>{"a", "b", "c2"}));
    EXPECT_TRUE(seen.readOnOwnerThread);
    EXPECT_FALSE(seen.cancelled);
    EXPECT_TRUE(seen.errors.empty());
}

TEST_F(PerEntryTest, AnEntryGoneBeforeItsTurnEndsTheRunWithTheBoundsError)
{
    std::vector<std::string> list{"a", "b", "c"};
    runOver(list, [&](int position, TBackgroundWorker&) {
        if (position == 1)
            list.resize(1);
    });
    EXPECT_EQ(seen.processed, (std::vector<std::string>{"a"}));
    ASSERT_EQ(seen.errors.size(), 1u);
    EXPECT_EQ(seen.errors[0], "KorvalaError: List index out of bounds (1)");
    EXPECT_TRUE(seen.cancelled);
}

TEST_F(PerEntryTest, ACancelStopsBetweenEntriesAndProcessMayEndTheRun)
{
    std::vector<std::string> list{"a", "b", "c", "d"};
    runOver(list, [&](int position, TBackgroundWorker& w) {
        if (position == 1)
            w.Cancel();  // asked while entry 1 is read: entry 1 is still done
    });
    EXPECT_EQ(seen.processed, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(seen.cancelled);

    seen = RunRecord();
    runOver(list, {}, [](const std::string& entry) { return entry != "b"; });
    EXPECT_EQ(seen.processed, (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(seen.cancelled);
}

}  // namespace
