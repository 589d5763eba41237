#pragma once
// Sharing a folder on the network: Samba users' shares (the way Linux desktops
// share folders), made and removed with `net usershare`.

#include <string>

namespace korvala {

struct TShareOutcome {
    bool done = false;
    // What `net` printed, or why it was not run; empty when done. Followed,
    // for the usual causes, by one line saying what to do.
    std::string message;
};

// Shares `folder` as `name` with `comment`, full control for everyone, guests
// not admitted. An empty folder raises "DSiShareFolder: empty folder", then an
// empty name "DSiShareFolder: empty share name". A name already in use (by a
// user's share or one of the configuration, in any case) is refused rather
// than replaced, and so are a name, folder or comment with a line break or
// another control character, which Samba would store in a broken share file.
TShareOutcome DSiShareFolder(const std::string& folder, const std::string& name, const std::string& comment);

// The input check before sharing: true when `folder` is not empty and is not
// an existing folder ("Resource location doesn't exist!").
bool missingResourceLocation(const std::string& folder);

// Removes the user's share `name`. A share of the configuration is not the
// user's to remove: refused with a message saying so.
TShareOutcome DSiUnshareFolder(const std::string& name);

// The address of `entry` in the run-time loaded `library`, or nullptr; each
// answer is kept for the life of the process.
void* GetLibraryProc(const std::string& library, const std::string& entry);

}  // namespace korvala
