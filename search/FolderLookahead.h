#pragma once
// The sub-folders a walk is about to enter, read ahead on a second thread.
//
// Reading a folder costs system calls that do not depend on one another: the
// listing itself and one attribute-store read per match. While the walk
// reports one folder, the helper reads the next few sub-folders of the folder
// on top of the walk's stack, and the walk, when it finds the folder it wants
// still being read, reads a later one itself instead of waiting. The walk still
// takes the folders one by one in its own order, so what it reports and in
// which order is unchanged; only a folder's names are read a moment earlier.
//
// Bounded: at most `Window` folders ahead of the walk in one folder, and at
// most `Held` read folders (each an open descriptor) waiting to be taken.
// The walk owns its folders' descriptors; a change to any of them is made
// under fdMutex(), which the helper holds while it opens a folder relative to
// its parent.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/DirectoryListing.h"

namespace korvala {

// A folder read ahead: its listing and the entries that matched the masks.
struct TPreparedFolder {
    DirectoryListing listing;
    std::vector<size_t> matched;
};

class TFolderLookahead {
public:
    // Reads the rest of a folder once its listing is open (masks, attribute
    // store); `level` is the folder's level in the walk. Runs on either thread.
    using Prepare = std::function<void(TPreparedFolder& folder, uint16_t level)>;

    static constexpr size_t Window = 8;
    static constexpr size_t Held = 16;

    explicit TFolderLookahead(Prepare prepare);
    ~TFolderLookahead();
    TFolderLookahead(const TFolderLookahead&) = delete;
    TFolderLookahead& operator=(const TFolderLookahead&) = delete;

    // One sub-folder the walk will enter: its index in the parent's listing
    // and its name.
    struct Child {
        size_t index;
        std::string name;
    };

    // `parent` (open, on top of the walk's stack, staying where it is until
    // leave) will have `children` entered in this order (their indices
    // increasing), at `level`.
    void offer(const DirectoryListing& parent, uint16_t level, std::vector<Child> children);

    // The walk enters child `index` of `parent`: true and the folder in `out`
    // when it was read ahead; false when the walk is to read it itself.
    bool take(const DirectoryListing& parent, size_t index, TPreparedFolder& out);

    // The walk is done with `parent`: what was read ahead of it and not taken
    // is closed.
    void leave(const DirectoryListing& parent);

    // No more reading ahead; what was read and not taken is closed. For a walk
    // short of descriptors. False when it had already stopped.
    bool stop();

    std::mutex& fdMutex() { return m_fdMutex; }

    // Tests: the walk waits for the helper to read each folder offered to it
    // instead of reading it itself, so that the helper's path is taken
    // whatever the timing.
    static void setPatientForTests(bool patient);

private:
    enum class State : uint8_t { Pending, Reading, Read, Taken };
    struct Item {
        Child child;
        State state = State::Pending;
        bool usable = false;  // read without running out of descriptors
        std::unique_ptr<TPreparedFolder> folder;
    };
    struct Batch {
        const DirectoryListing* parent = nullptr;
        uint16_t level = 0;
        std::vector<Item> items;
        size_t next = 0;      // the first item the walk has not taken
        size_t reading = 0;   // items being read, by either thread
    };

    // The next item the helper may read: in the top batch, within the window
    // and the held bound. Called with m_mutex held.
    Item* claimable(Batch& batch, size_t from);
    void read(const Batch& batch, Item& item);
    void loop();
    void closeUntaken(Batch& batch, std::vector<std::unique_ptr<TPreparedFolder>>& closing);

    Prepare m_prepare;
    std::mutex m_fdMutex;
    std::mutex m_mutex;  // guards everything below
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<Batch>> m_batches;
    size_t m_held = 0;
    bool m_stopped = false;
    bool m_quit = false;
    std::thread m_thread;
};

// Whether a walk may read ahead: a second thread is allowed (not
// KORVALA_SINGLE_THREAD=1), the machine has more than one processor, and the
// walk has descriptors to spare (`openBudget`).
bool folderLookaheadAllowed(size_t openBudget);

}  // namespace korvala
