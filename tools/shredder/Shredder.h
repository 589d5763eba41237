#pragma once
// The File Shredder's engine: ShredFile overwrites a file three times with
// bytes of the program-wide generator, forcing each pass to disk, and deletes
// it; ShredList does that to a list of files from its last entry to its first.

#include <functional>
#include <string>
#include <vector>

namespace korvala {

inline constexpr int kShredPasses = 3;
inline constexpr size_t kShredBlockSize = 4096;

inline constexpr const char* kShredCompletedText = "File Shredding process Completed!";
inline constexpr const char* kShredAbortedText = "File Shredding process ABORTED!";

// Runs after each pass was written and forced to disk, before the next pass
// (or the deletion) begins; `pass` counts from 1. For tests, which read back
// what a pass wrote.
using ShredPassHook = std::function<void(int pass)>;

// Overwrites path in three passes and deletes it. Each pass fills the 4096-byte
// block anew from the generator and writes it from offset 0 over the file's
// whole length, again and again (the last copy cut to what remains); the length
// does not change; each pass ends with a flush of the data to disk. The
// deletion's result is not looked at: the contents are gone already.
//
// Throws KorvalaError "Cannot open file \"%s\". %s" when the file cannot be
// opened for reading and writing: it is missing, a link (never followed, so
// nothing outside the list is ever overwritten), not a regular file, or
// carries the read-only attribute (a stored bit or no write permission),
// which refuses it to every user, root included. Throws "Cannot write file
// \"%s\". %s" when a pass cannot be written or forced to disk; that file is
// then not deleted.
void ShredFile(const std::string& path, const ShredPassHook& afterPass = {});

// Whether the list entry is something ShredList shreds: an existing regular
// file, reached without following a link.
bool isShreddable(const std::string& path);

// Walks list from its last entry to its first: stops (accepting the
// cancellation) once one is requested, checked before each entry; passes
// over an entry that isShreddable turns down (it stays in the list); shreds
// the others and tells itemDone the position of each shredded entry. A
// KorvalaError of ShredFile ends the walk and goes to the caller. Returns
// false when the walk was cancelled.
bool ShredList(const std::vector<std::string>& list, const std::function<bool()>& cancelRequested,
    const std::function<void()>& acceptCancel, const std::function<void(size_t position)>& itemDone,
    const ShredPassHook& afterPass = {});

// The confirmation asked before a shred: the warning of the program, with one
// more line when a listed file lies on a copy-on-write or network file system,
// where overwriting in place may not reach the blocks that held the old
// contents.
std::string shredWarningText(const std::vector<std::string>& list);

}  // namespace korvala
