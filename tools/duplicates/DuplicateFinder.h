#pragma once
// Duplicate Finder engine: groups the files of a list that have the same
// content (CRC-32 after a first cut by size) or the same name (without regard
// to case), and sends chosen duplicates to the trash only when another copy of
// their content is confirmed to stay.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace korvala {

enum class TDuplicateMode { dmContent, dmName };

// One row of the result grid. Name and Location are not stored: both come from
// the list entry the row was made from (pathIndex), so a million rows cost no
// second copy of their paths.
struct TDuplicateRow {
    uint32_t id = 0;          // the group: position of the group's first key
    uint32_t crc32 = 0;       // "CRC32": the content checksum, in both modes
    uint32_t key = 0;         // the mode's key (content or name checksum)
    uint64_t size = 0;        // bytes, when the row was made
    TDateTime modified = 0;   // local time
    uint32_t pathIndex = 0;   // position of the file in the scanned list
};

// What FindDuplicates hands its caller while it runs (all optional, all on the
// calling thread).
struct TDuplicateScanHooks {
    // Asked once per candidate before it is looked at; true ends the scan
    // with no rows.
    std::function<bool()> cancelRequested;
    // The progress maximum (candidates after the first cut + 2), then each
    // step of the progress position.
    std::function<void(int maximum)> progressMaximum;
    std::function<void()> progressStep;
};

struct TDuplicateScan {
    std::vector<TDuplicateRow> rows;  // grid order: by ID, list order within an ID
    bool cancelled = false;
};

// The scan of the Duplicate Finder over `paths` (in list order):
//  - first cut: content mode keeps the files whose size two or more entries
//    share; name mode keeps the existing files whose lower-cased name two or
//    more existing files share; nothing else is ever opened;
//  - only regular files (links followed) are keyed and shown: a missing
//    entry, a FIFO, socket or device gets no row;
//  - each remaining file is read once for its CRC-32 ("00000000"
//    when it cannot be read) and keyed by it (content mode) or by the
//    checksum of its lower-cased name (name mode); its ID is the position of
//    the first equal key;
//  - second cut: rows whose key (content) or name (name mode) is not shared
//    are dropped; then the rows are sorted by ID, equal IDs in list order.
// Never throws for a file; a cancel request ends it with `cancelled` set.
TDuplicateScan FindDuplicates(
    const std::vector<std::string>& paths, TDuplicateMode mode, const TDuplicateScanHooks& hooks = {});

// The texts of a row's cells.
std::string duplicateFileName(const std::string& path);      // after the last "/"
std::string duplicateLocation(const std::string& path);      // up to it, ending in "/"
std::string duplicateCrcText(const TDuplicateRow& row);       // 8 upper-case hex digits
int64_t duplicateSizeKilobytes(uint64_t size);                // size / 1024, halves up
std::string duplicateDateText(const TDuplicateRow& row);      // short date [+ long time]
// The ID cell's colour as 0x00BBGGRR: the key's first six hex digits give
// blue, green and red in that order.
uint32_t duplicateGroupColour(const TDuplicateRow& row);

// Recycle Bin -----------------------------------------------------------------

// Sends `path` to the trash: false when it is not an existing file (a folder
// does not count) or could not be moved there; a file that cannot be trashed
// is never deleted instead.
bool SendToRecycleBin(const std::string& path);

enum class TRemoveOutcome {
    roTrashed,        // moved to the trash
    roMissing,        // the file is gone already; nothing done
    roNoTwin,         // kept: no other file of its group is confirmed to hold its content
    roNotTrashable,   // kept: the trash would not take it
};

// Removes one duplicate, unless that could lose data: before `path` goes to the
// trash, one of `groupMates` (the other files of its group) must be a different
// file (another device or inode, so not a link to it or a second hard link)
// that exists now and holds exactly its bytes, compared byte for byte (CRC-32
// can collide, and files change after a scan). So the last copy of a content
// is never trashed. `twin`, when given, receives the confirmed copy.
TRemoveOutcome RemoveDuplicate(
    const std::string& path, const std::vector<std::string>& groupMates, std::string* twin = nullptr);

// True when the two files (followed through links) exist, are regular files
// and have the same bytes; a read error counts as different.
bool sameFileContents(const std::string& a, const std::string& b);

// The message after a removal that kept files, empty when none was kept.
std::string duplicatesKeptMessage(int noTwin, int notTrashable);

}  // namespace korvala
