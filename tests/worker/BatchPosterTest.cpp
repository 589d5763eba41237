// TBatchPoster from a real work thread to the starting thread: order, the
// size rule, the final hand-over, and running at once on the owner's thread.

#include "worker/BatchPoster.h"

#include <chrono>
#include <string>
#include <vector>

#include <QThread>

#include <gtest/gtest.h>

#include "WorkerApplication.h"

namespace {

using namespace std::chrono_literals;

struct Delivered {
    std::vector<std::vector<int>> batches;
    std::vector<QThread*> threads;
    std::vector<int> all() const
    {
        std::vector<int> items;
        for (const auto& batch : batches)
            items.insert(items.end(), batch.begin(), batch.end());
        return items;
    }
};

// Runs produce(poster) on a worker's thread with the given rules and returns
// what reached the starting thread.
template <typename Produce>
Delivered runOnWorker(std::chrono::milliseconds interval, size_t maxItems, Produce produce)
{
    application();
    Delivered delivered;
    TBackgroundWorker worker("trdBatch");
    worker.OnWork = [&](TBackgroundWorker& w) {
        TBatchPoster<int> poster(w, [&](std::vector<int>& batch) {
            delivered.batches.push_back(batch);
            delivered.threads.push_back(QThread::currentThread());
        }, interval, maxItems);
        produce(poster);
    };
    worker.Start();
    worker.WaitFor();
    return delivered;
}

TEST(BatchPosterTest, BatchesKeepTheOrderAndFollowTheSizeRule)
{
    const Delivered delivered = runOnWorker(std::chrono::hours(1), 3, [](TBatchPoster<int>& poster) {
        for (int i = 0; i < 10; ++i)
            poster.add(i);
    });
    // An hour never passes here: only the size rule and the final hand-over
    // at destruction make batches.
    ASSERT_EQ(delivered.batches.size(), 4u);
    EXPECT_EQ(delivered.batches[0], (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(delivered.batches[3], (std::vector<int>{9}));
    EXPECT_EQ(delivered.all(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    for (QThread* thread : delivered.threads)
        EXPECT_EQ(thread, application().thread());
}

TEST(BatchPosterTest, AZeroIntervalHandsOverEveryItemAndFlushIsExplicit)
{
    const Delivered eachItem = runOnWorker(0ms, 1000, [](TBatchPoster<int>& poster) {
        poster.add(1);
        poster.add(2);
    });
    EXPECT_EQ(eachItem.batches, (std::vector<std::vector<int>>{{1}, {2}}));

    const Delivered flushed = runOnWorker(std::chrono::hours(1), 1000, [](TBatchPoster<int>& poster) {
        poster.add(1);
        poster.flush();
        poster.flush();  // nothing new: no empty batch
        poster.add(2);
        poster.discard();
        poster.add(3);
    });
    EXPECT_EQ(flushed.batches, (std::vector<std::vector<int>>{{1}, {3}}));
}

TEST(BatchPosterTest, QueuedToRunsAtOnceOnTheReceiversThread)
{
    application();
    QObject receiver;
    std::vector<std::string> seen;
    {
        TBatchPoster<std::string> poster(TBatchPoster<std::string>::queuedTo(&receiver),
            [&](std::vector<std::string>& batch) { seen.insert(seen.end(), batch.begin(), batch.end()); },
            std::chrono::hours(1), 2);
        poster.add("a");
        poster.add("b");
        EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"})) << "no event loop is needed on the receiver's thread";
        poster.add("c");
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
