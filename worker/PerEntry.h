#pragma once
// runPerEntry: the loop of a work procedure that visits the entries of a list
// owned by the window thread. The number of entries is read once, at the
// start, and bounds the run; each entry (with whatever options the page reads
// alongside it) is read on the window thread when its turn comes, so changes
// the user makes during the run apply to the entries not done yet. An entry
// that is gone by then ends the run with "List index out of bounds (%d)",
// raised in the work procedure. Between entries the run stops, accepting the
// cancellation, once it was asked to.

#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "worker/BackgroundWorker.h"

// The error raised for an entry that no longer exists at position.
[[noreturn]] void throwListIndexOutOfBounds(int position);

struct TPerEntryOptions {
    // Whether the loop checks for a cancellation between entries. Off for runs
    // whose processing checks it itself and must see it first.
    bool cancelBetweenEntries = true;
    // Runs on the window thread as each entry is about to be read, before the
    // bounds check: lets an observer act at a known point of a run.
    std::function<void(int position)> visiting;
};

// count() and read(position) run on the window thread (count at the start and
// again for each entry's bounds check); process(entry) runs on the work
// thread and may return false to end the run early. Returns false when the
// run ended early (cancelled or stopped by process).
template <typename Count, typename Read, typename Process>
bool runPerEntry(TBackgroundWorker& worker, Count count, Read read, Process process, TPerEntryOptions options = {})
{
    using Entry = std::invoke_result_t<Read&, int>;
    int total = 0;
    worker.Synchronize([&] { total = count(); });
    for (int position = 0; position < total; ++position) {
        if (options.cancelBetweenEntries && worker.CancellationPending()) {
            worker.AcceptCancellation();
            return false;
        }
        std::optional<Entry> entry;
        worker.Synchronize([&] {
            if (options.visiting)
                options.visiting(position);
            if (position >= count())
                throwListIndexOutOfBounds(position);
            entry.emplace(read(position));
        });
        if constexpr (std::is_same_v<std::invoke_result_t<Process&, Entry&>, bool>) {
            if (!process(*entry))
                return false;
        } else {
            process(*entry);
        }
    }
    return true;
}
