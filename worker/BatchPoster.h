#pragma once
// TBatchPoster collects items on a work thread and hands them to the owner's
// thread in order, a batch at a time: every `interval` or every `maxItems`
// items, whichever comes first, and whatever is left on flush() or
// destruction. One queued call per item would flood the window thread on a
// run of many small results; one call per batch keeps it responsive.
//
// Threads: add(), flush() and the destructor run on one producing thread.
// The deliver function runs wherever post() runs it (the owner's thread).

#include <chrono>
#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include "worker/BackgroundWorker.h"

template <typename T>
class TBatchPoster {
public:
    using Batch = std::vector<T>;
    using Deliver = std::function<void(Batch& batch)>;
    // Hands a call to the owner's thread; calls keep their posting order.
    using Post = std::function<void(std::function<void()> call)>;

    static constexpr std::chrono::milliseconds DefaultInterval{50};
    static constexpr size_t DefaultMaxItems = 2048;

    TBatchPoster(Post post, Deliver deliver, std::chrono::milliseconds interval = DefaultInterval,
        size_t maxItems = DefaultMaxItems)
        : m_post(std::move(post)), m_deliver(std::move(deliver)), m_interval(interval),
          m_maxItems(maxItems == 0 ? 1 : maxItems), m_last(Clock::now())
    {
    }
    // Batches of a work procedure go through its worker (TBackgroundWorker::Post).
    TBatchPoster(TBackgroundWorker& worker, Deliver deliver, std::chrono::milliseconds interval = DefaultInterval,
        size_t maxItems = DefaultMaxItems)
        : TBatchPoster([&worker](std::function<void()> call) { worker.Post(std::move(call)); }, std::move(deliver),
              interval, maxItems)
    {
    }
    ~TBatchPoster() { flush(); }
    TBatchPoster(const TBatchPoster&) = delete;
    TBatchPoster& operator=(const TBatchPoster&) = delete;

    // A Post that queues calls to receiver's thread, or runs them at once when
    // the producer already is on that thread (a search run without a thread).
    static Post queuedTo(QObject* receiver)
    {
        return [receiver](std::function<void()> call) {
            if (QThread::currentThread() == receiver->thread())
                call();
            else
                QMetaObject::invokeMethod(receiver, std::move(call), Qt::QueuedConnection);
        };
    }

    void add(T item)
    {
        m_items.push_back(std::move(item));
        flushWhenDue();
    }
    // Hands the batch over when it is due (time or size), without adding; for
    // producers that want the time rule to apply while nothing is added.
    void flushWhenDue()
    {
        if (m_items.size() >= m_maxItems || Clock::now() - m_last >= m_interval)
            flush();
    }
    // Hands over what was collected, if anything.
    void flush()
    {
        m_last = Clock::now();
        if (m_items.empty())
            return;
        Batch batch;
        batch.swap(m_items);
        m_post([deliver = m_deliver, batch = std::move(batch)]() mutable { deliver(batch); });
    }
    // Forgets what was collected and not handed over yet.
    void discard() { m_items.clear(); }
    bool empty() const { return m_items.empty(); }

private:
    using Clock = std::chrono::steady_clock;

    Post m_post;
    Deliver m_deliver;
    std::chrono::milliseconds m_interval;
    size_t m_maxItems;
    Batch m_items;
    Clock::time_point m_last;
};
