#include "hash/FileDigests.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "hash/CpuDispatch.h"
#include "hash/DigestContexts.h"
#include "platform/ErrorTexts.h"
#include "platform/File.h"
#include "platform/KorvalaError.h"

namespace korvala {

namespace {

constexpr std::size_t kBlockSize = 1 << 20;
constexpr int kSlots = 4;

// Page-aligned blocks: the kernel copies whole pages into them.
constexpr std::align_val_t kBufferAlignment{4096};

struct BufferDeleter {
    void operator()(std::uint8_t* p) const { ::operator delete[](p, kBufferAlignment); }
};
using Buffer = std::unique_ptr<std::uint8_t, BufferDeleter>;

Buffer allocateBuffer(std::size_t size)
{
    return Buffer(static_cast<std::uint8_t*>(::operator new[](size, kBufferAlignment)));
}

// One running digest; the three Tiger sizes share one context.
struct Job {
    std::unique_ptr<DigestContext> context;
    TigerContext* tiger = nullptr;
    std::vector<HashAlgorithm> outputs;
    double cost = 0;  // rough nanoseconds per byte, to balance the two threads
};

double costOf(HashAlgorithm a)
{
    const bool shaNi = useShaInstructions();
    switch (a) {
    case HashAlgorithm::haCRC32:
        return useCarrylessMultiply() ? 0.05 : 0.4;
    case HashAlgorithm::haMD4:
        return 0.6;
    case HashAlgorithm::haMD5:
        return 1.6;
    case HashAlgorithm::haRIPEMD128:
        return 1.3;
    case HashAlgorithm::haRIPEMD160:
        return 2.0;
    case HashAlgorithm::haSHA1:
        return shaNi ? 0.5 : 1.3;
    case HashAlgorithm::haSHA256:
        return shaNi ? 0.6 : 2.6;
    case HashAlgorithm::haSHA384:
    case HashAlgorithm::haSHA512:
        return 1.2;
    default:
        return 1.6;  // Tiger
    }
}

std::vector<Job> makeJobs(HashAlgorithmSet algorithms)
{
    std::vector<Job> jobs;
    Job tigerJob;
    for (int i = 0; i < HashAlgorithmCount; ++i) {
        if (!algorithms.test(static_cast<std::size_t>(i)))
            continue;
        const auto a = static_cast<HashAlgorithm>(i);
        if (a == HashAlgorithm::haTiger128 || a == HashAlgorithm::haTiger160 || a == HashAlgorithm::haTiger192) {
            if (!tigerJob.context) {
                auto tiger = std::make_unique<TigerContext>(192);
                tigerJob.tiger = tiger.get();
                tigerJob.context = std::move(tiger);
                tigerJob.cost = costOf(a);
            }
            tigerJob.outputs.push_back(a);
            continue;
        }
        Job job;
        job.context = makeDigestContext(a);
        job.outputs.push_back(a);
        job.cost = costOf(a);
        jobs.push_back(std::move(job));
    }
    if (tigerJob.context)
        jobs.push_back(std::move(tigerJob));
    return jobs;
}

void finishJobs(std::vector<Job>& jobs, FileDigestResult& result)
{
    for (auto& job : jobs) {
        if (job.tiger) {
            const std::string full = job.tiger->finish192();
            for (HashAlgorithm a : job.outputs)
                result.digests[static_cast<std::size_t>(a)] =
                    full.substr(0, static_cast<std::size_t>(HashDigitCounts[static_cast<std::size_t>(a)]));
        } else {
            result.digests[static_cast<std::size_t>(job.outputs.front())] = job.context->finish();
        }
    }
}

void feed(const std::vector<Job*>& jobs, const std::uint8_t* data, std::size_t size)
{
    for (Job* job : jobs)
        job->context->update(data, size);
}

// Whether the pass stops before reading the block after a full one. A short
// block is the file's end, so there is nothing left to stop.
bool stopAfter(std::size_t blockBytes, const DigestCancelQuery& cancelRequested, FileDigestResult& result)
{
    if (blockBytes < kBlockSize || !cancelRequested || !cancelRequested())
        return false;
    result.cancelled = true;
    return true;
}

// Reading and hashing on the calling thread.
void runSerial(TFile& file, std::vector<Job>& jobs, FileDigestResult& result, const DigestCancelQuery& cancelRequested)
{
    thread_local Buffer buffer;
    if (!buffer)
        buffer = allocateBuffer(kBlockSize);
    std::vector<Job*> all;
    for (auto& job : jobs)
        all.push_back(&job);
    for (;;) {
        std::size_t n = 0;
        if (const std::error_code ec = file.readFull(buffer.get(), kBlockSize, n)) {
            result.readError = ec;
            return;
        }
        if (n == 0)
            return;
        feed(all, buffer.get(), n);
        if (stopAfter(n, cancelRequested, result))
            return;
    }
}

// The calling thread reads blocks into a ring of slots and hashes its share of
// the digests; a helper thread hashes the other share of the same blocks.
// A slot is refilled only after both have finished with it. Cancel requests
// are asked on the calling thread; the helper finishes the blocks already
// handed to it (at most kSlots) and ends.
void runParallel(TFile& file, std::vector<Job>& jobs, FileDigestResult& result,
                 const DigestCancelQuery& cancelRequested)
{
    std::vector<Job*> byCost;
    for (auto& job : jobs)
        byCost.push_back(&job);
    std::stable_sort(byCost.begin(), byCost.end(), [](const Job* a, const Job* b) { return a->cost > b->cost; });
    std::vector<Job*> readerJobs, helperJobs;
    double readerLoad = 0.08;  // copying from the page cache
    double helperLoad = 0;
    for (Job* job : byCost) {
        if (helperLoad <= readerLoad) {
            helperJobs.push_back(job);
            helperLoad += job->cost;
        } else {
            readerJobs.push_back(job);
            readerLoad += job->cost;
        }
    }

    Buffer slots[kSlots];
    for (auto& slot : slots)
        slot = allocateBuffer(kBlockSize);
    std::size_t sizes[kSlots] = {};

    // Guarded by `mutex`: produced, consumed, finished.
    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t produced = 0;
    std::uint64_t consumed = 0;
    bool finished = false;

    auto helperLoop = [&] {
        for (;;) {
            std::uint64_t index;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return consumed < produced || finished; });
                if (consumed == produced)
                    return;
                index = consumed;
            }
            const int slot = static_cast<int>(index % kSlots);
            feed(helperJobs, slots[slot].get(), sizes[slot]);
            {
                std::lock_guard lock(mutex);
                ++consumed;
            }
            changed.notify_all();
        }
    };
    std::thread helper;
    try {
        helper = std::thread(helperLoop);
    } catch (const std::system_error&) {
        // No thread to be had: the calling thread does all the hashing.
        for (Job* job : helperJobs)
            readerJobs.push_back(job);
        helperJobs.clear();
    }

    for (;;) {
        std::uint64_t index;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return produced - consumed < static_cast<std::uint64_t>(kSlots); });
            index = produced;
        }
        const int slot = static_cast<int>(index % kSlots);
        std::size_t n = 0;
        if (const std::error_code ec = file.readFull(slots[slot].get(), kBlockSize, n))
            result.readError = ec;
        if (result.readError || n == 0)
            break;
        sizes[slot] = n;
        {
            std::lock_guard lock(mutex);
            ++produced;
        }
        changed.notify_all();
        feed(readerJobs, slots[slot].get(), sizes[slot]);
        if (!helper.joinable()) {
            std::lock_guard lock(mutex);
            ++consumed;
        }
        if (stopAfter(n, cancelRequested, result))
            break;
    }
    {
        std::lock_guard lock(mutex);
        finished = true;
    }
    changed.notify_all();
    if (helper.joinable())
        helper.join();
}

}  // namespace

namespace {

// `st` is the open file's status, when known (`known`).
FileDigestResult digestWithStatus(TFile& file, const TFileStatus& st, bool known, HashAlgorithmSet algorithms,
    const DigestCancelQuery& cancelRequested)
{
    FileDigestResult result;
    std::vector<Job> jobs = makeJobs(algorithms);
    const bool large = known && st.isRegular() && st.size >= static_cast<std::uint64_t>(kParallelDigestMinSize);
    if (large)
        runParallel(file, jobs, result, cancelRequested);
    else
        runSerial(file, jobs, result, cancelRequested);
    if (!result.readError && !result.cancelled)
        finishJobs(jobs, result);
    return result;
}

}  // namespace

FileDigestResult digestOpenFile(TFile& file, HashAlgorithmSet algorithms, const DigestCancelQuery& cancelRequested)
{
    TFileStatus st;
    const bool known = !file.status(st);
    return digestWithStatus(file, st, known, algorithms, cancelRequested);
}

FileDigestResult digestFile(const std::string& path, HashAlgorithmSet algorithms,
                            const DigestCancelQuery& cancelRequested)
{
    TFile file;
    if (const std::error_code ec = file.open(path, TOpenOptions::contentRead())) {
        FileDigestResult failed;
        failed.openError = ec;
        return failed;
    }
    // Read-ahead advice pays only for files of more than one block; in a
    // scan of many small files it would be a system call per file for
    // nothing.
    TFileStatus st;
    const bool known = !file.status(st);
    if (!known || st.size > kBlockSize)
        file.adviseSequential();
    return digestWithStatus(file, st, known, algorithms, cancelRequested);
}

std::string digestTextOrThrow(const FileDigestResult& result, HashAlgorithm algorithm, const std::string& path)
{
    if (result.cancelled)
        throw std::logic_error("no digest text: the read pass was cancelled");
    if (result.ok())
        return result.digests[static_cast<std::size_t>(algorithm)];
    // CRC32 of a file that cannot be read is 0, printed as eight zeros.
    if (algorithm == HashAlgorithm::haCRC32)
        return "00000000";
    throwDigestError(result, algorithm, path);
}

void throwDigestError(const FileDigestResult& result, HashAlgorithm algorithm, const std::string& path)
{
    if (result.openError) {
        if (algorithm == HashAlgorithm::haMD5)
            throw KorvalaError(streamCannotOpenFileText(path, result.openError));
        throw KorvalaError(cannotOpenFileText(path, result.openError));
    }
    throw KorvalaError(cannotReadFileText(path, result.readError));
}

}  // namespace korvala
