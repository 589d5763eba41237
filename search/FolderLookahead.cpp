#include "search/FolderLookahead.h"

#include <algorithm>
#include <atomic>

namespace korvala {

namespace {
std::atomic<bool> g_patient{false};
}  // namespace

void TFolderLookahead::setPatientForTests(bool patient)
{
    g_patient = patient;
}

TFolderLookahead::TFolderLookahead(Prepare prepare) : m_prepare(std::move(prepare)) {}

TFolderLookahead::~TFolderLookahead()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
        m_stopped = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void TFolderLookahead::offer(const DirectoryListing& parent, uint16_t level, std::vector<Child> children)
{
    if (children.empty())
        return;
    auto batch = std::make_unique<Batch>();
    batch->parent = &parent;
    batch->level = level;
    batch->items.reserve(children.size());
    for (Child& child : children)
        batch->items.push_back(Item{std::move(child)});
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopped)
            return;
        m_batches.push_back(std::move(batch));
        if (!m_thread.joinable()) {
            try {
                m_thread = std::thread([this] { loop(); });
            } catch (...) {
                // No second thread to be had: the walk reads every folder itself.
                m_stopped = true;
                return;
            }
        }
    }
    m_changed.notify_all();
}

TFolderLookahead::Item* TFolderLookahead::claimable(Batch& batch, size_t from)
{
    if (m_stopped || m_held >= Held)
        return nullptr;
    const size_t end = std::min(batch.items.size(), batch.next + Window);
    for (size_t j = std::max(from, batch.next); j < end; ++j)
        if (batch.items[j].state == State::Pending)
            return &batch.items[j];
    return nullptr;
}

void TFolderLookahead::read(const Batch& batch, Item& item)
{
    // Runs without m_mutex: the batch's parent, level and children do not
    // change once offered, and the item is this thread's until marked Read.
    std::unique_ptr<TPreparedFolder> folder;
    bool usable = false;
    try {
        folder = std::make_unique<TPreparedFolder>();
        bool opened = false;
        {
            std::lock_guard<std::mutex> lock(m_fdMutex);
            const int parentFd = batch.parent->fd();
            if (parentFd >= 0) {
                const std::error_code e = folder->listing.open(parentFd, item.child.name, batch.parent);
                // Out of descriptors, the walk opens the folder itself, making room first.
                opened = !isDescriptorShortage(e);
            }
        }
        if (opened) {
            m_prepare(*folder, batch.level);
            usable = true;
        }
    } catch (...) {
        usable = false;  // out of memory: the walk reads it again itself
    }
    item.usable = usable;
    item.folder = std::move(folder);
}

void TFolderLookahead::loop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        if (m_quit)
            return;
        Batch* batch = m_batches.empty() ? nullptr : m_batches.back().get();
        Item* item = batch ? claimable(*batch, 0) : nullptr;
        if (!item) {
            m_changed.wait(lock);
            continue;
        }
        item->state = State::Reading;
        ++batch->reading;
        ++m_held;
        lock.unlock();
        read(*batch, *item);
        lock.lock();
        item->state = State::Read;
        --batch->reading;
        m_changed.notify_all();
    }
}

bool TFolderLookahead::take(const DirectoryListing& parent, size_t index, TPreparedFolder& out)
{
    std::vector<std::unique_ptr<TPreparedFolder>> closing;  // closed after the lock is let go
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_batches.empty() || m_batches.back()->parent != &parent)
        return false;
    Batch& batch = *m_batches.back();
    // Children the walk passed over (it was told to skip them) are closed.
    while (batch.next < batch.items.size() && batch.items[batch.next].child.index < index) {
        Item& skipped = batch.items[batch.next];
        if (skipped.state == State::Read) {
            closing.push_back(std::move(skipped.folder));
            skipped.state = State::Taken;
            --m_held;
        } else if (skipped.state == State::Pending) {
            skipped.state = State::Taken;
        }
        ++batch.next;  // one being read is closed when the walk leaves the parent
    }
    if (batch.next >= batch.items.size() || batch.items[batch.next].child.index != index)
        return false;
    if (g_patient.load())
        m_changed.wait(lock, [&] {
            return m_stopped || m_held >= Held || batch.items[batch.next].state != State::Pending;
        });
    Item& item = batch.items[batch.next++];
    m_changed.notify_all();  // the window moved on
    for (;;) {
        if (item.state == State::Pending || item.state == State::Taken) {
            item.state = State::Taken;
            return false;
        }
        if (item.state == State::Read) {
            item.state = State::Taken;
            --m_held;
            const bool usable = item.usable;
            if (usable) {
                out.listing = std::move(item.folder->listing);
                out.matched = std::move(item.folder->matched);
            }
            closing.push_back(std::move(item.folder));
            return usable;
        }
        // The helper is reading it: read a later one meanwhile rather than wait.
        if (Item* later = claimable(batch, batch.next)) {
            later->state = State::Reading;
            ++batch.reading;
            ++m_held;
            lock.unlock();
            read(batch, *later);
            lock.lock();
            later->state = State::Read;
            --batch.reading;
            m_changed.notify_all();
            continue;
        }
        m_changed.wait(lock);
    }
}

void TFolderLookahead::closeUntaken(Batch& batch, std::vector<std::unique_ptr<TPreparedFolder>>& closing)
{
    // A closed item counts as never read: the walk reads it itself.
    for (Item& item : batch.items) {
        if (item.state == State::Read) {
            closing.push_back(std::move(item.folder));
            item.state = State::Pending;
            --m_held;
        }
    }
}

void TFolderLookahead::leave(const DirectoryListing& parent)
{
    std::vector<std::unique_ptr<TPreparedFolder>> closing;
    std::unique_ptr<Batch> done;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_batches.empty() || m_batches.back()->parent != &parent)
            return;
        Batch& batch = *m_batches.back();
        m_changed.wait(lock, [&] { return batch.reading == 0; });
        closeUntaken(batch, closing);
        done = std::move(m_batches.back());
        m_batches.pop_back();
    }
    m_changed.notify_all();
}

bool TFolderLookahead::stop()
{
    std::vector<std::unique_ptr<TPreparedFolder>> closing;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_stopped)
            return false;
        m_stopped = true;
        m_changed.wait(lock, [&] {
            return std::all_of(m_batches.begin(), m_batches.end(), [](const auto& b) { return b->reading == 0; });
        });
        for (auto& batch : m_batches)
            closeUntaken(*batch, closing);
    }
    m_changed.notify_all();
    return true;
}

bool folderLookaheadAllowed(size_t openBudget)
{
    // Below this many descriptors the walk keeps the few it has for itself.
    constexpr size_t MinimumBudget = 32;
    return openBudget >= MinimumBudget && listingHelperAllowed() && std::thread::hardware_concurrency() > 1;
}

}  // namespace korvala
