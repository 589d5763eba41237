#pragma once
// Hidden Revealer engine: the criteria of the hidden-entry scan, the scan
// itself without threads (for the command line), and revealing entries.
//
// An entry is hidden when it carries the stored hidden bit, when its name
// starts with a dot, or when its folder's ".hidden" lists it. Revealing clears
// the stored bit and unlists the name; a dot name cannot be revealed without
// renaming, which this tool never does, so such an entry stays hidden.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "search/SearchCriteria.h"

namespace korvala {

// The scan's criteria: hidden set, system clear (entered and reported only
// with `includeSystem`), folders and files alike, below `folder` (a "/" is
// added when missing) at every depth.
TSearchCriteria HiddenScanCriteria(const std::string& folder, bool includeSystem);

// Runs the scan on the calling thread: `match` gets Location + Name of every
// hidden entry, the folder's own entries before those of its sub-folders.
// `aborted` is polled between entries.
void ScanHiddenEntries(const TSearchCriteria& criteria, const std::atomic<bool>& aborted,
    const std::function<void(const std::string& path)>& match);

// True when the last name of `path` starts with a dot: hidden by its name.
bool hiddenByName(const std::string& path);

enum class TRevealOutcome {
    roRevealed,     // no longer hidden
    roStillHidden,  // the stored bit and the ".hidden" line are gone, the dot name keeps it hidden
    roFailed,       // unchanged: its attributes could not be read or written
};

struct TRevealResult {
    TRevealOutcome outcome = TRevealOutcome::roFailed;
    std::error_code error;  // with roFailed
};

// Clears the hidden bit of one entry, leaving every other bit as it was, and
// removes its name from the folder's ".hidden" (keeping the other lines). An
// entry whose attribute word cannot be read is not written.
TRevealResult RevealEntry(const std::string& path);

enum class TRevealWhich { rwSelected, rwAll };

// Reveals every entry (rwAll), or those whose `selected` flag is set
// (rwSelected); one result per entry revealed, in list order.
std::vector<TRevealResult> RevealEntries(const std::vector<std::string>& paths, TRevealWhich which,
    const std::vector<bool>& selected = {});

}  // namespace korvala
