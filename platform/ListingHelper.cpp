#include "platform/ListingHelper.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/DirectoryListing.h"

namespace korvala {

TListingHelper& TListingHelper::instance()
{
    static TListingHelper helper;
    return helper;
}

void TListingHelper::run(size_t count, const Work& work)
{
    std::unique_lock<std::mutex> busy(m_busy, std::try_to_lock);
    if (!busy.owns_lock() || !start()) {
        work(0, count);
        return;
    }
    m_next.store(0);
    m_count = count;
    m_work = &work;
    m_helperDone.store(false);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hasJob = true;
    }
    m_cv.notify_one();
    share();
    // Wait for the helper to finish its last chunk.
    while (!m_helperDone.load(std::memory_order_acquire))
        m_helperDone.wait(false, std::memory_order_acquire);
    m_work = nullptr;
}

TListingHelper::~TListingHelper()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_cv.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

bool TListingHelper::start()
{
    if (m_thread.joinable())
        return true;
    try {
        m_thread = std::thread([this] { loop(); });
    } catch (...) {
        return false;
    }
    return true;
}

void TListingHelper::share()
{
    for (;;) {
        size_t from = m_next.fetch_add(Chunk);
        if (from >= m_count)
            return;
        (*m_work)(from, std::min(from + Chunk, m_count));
    }
}

void TListingHelper::loop()
{
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_cv.wait(lock, [this] { return m_hasJob || m_stop; });
            if (m_stop)
                return;
            m_hasJob = false;
        }
        share();
        m_helperDone.store(true, std::memory_order_release);
        m_helperDone.notify_one();
    }
}

bool listingHelperAllowed()
{
    static const bool allowed = [] {
        const char* v = std::getenv("KORVALA_SINGLE_THREAD");
        return !(v && std::string(v) == "1");
    }();
    return allowed;
}

}  // namespace korvala
