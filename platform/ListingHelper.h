#pragma once
// Internal to the platform layer: the helper thread with which a folder listing
// shares its attribute-store reads (each costs a system call, and they are
// independent). Portable: standard threads only.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>

namespace korvala {

// One helper thread for the whole process. It serves one listing at a time; a
// second walker that finds it busy reads its entries itself.
class TListingHelper {
public:
    using Work = std::function<void(size_t from, size_t to)>;

    static TListingHelper& instance();

    // Runs work over [0, count) in chunks, on this thread and the helper; returns
    // when every chunk is done.
    void run(size_t count, const Work& work);

    ~TListingHelper();

private:
    TListingHelper() = default;

    static constexpr size_t Chunk = 8;

    bool start();
    void share();
    void loop();

    std::mutex m_busy;  // one job at a time
    // m_mutex guards m_hasJob and m_stop; the job fields below are written by
    // the caller of run() before the job is announced under it.
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_hasJob = false;
    bool m_stop = false;
    std::thread m_thread;
    std::atomic<size_t> m_next{0};
    size_t m_count = 0;
    const Work* m_work = nullptr;
    std::atomic<bool> m_helperDone{true};
};

}  // namespace korvala
