#pragma once
// The ".hidden" file of a folder: the names, one per line, that Linux file
// managers hide although they do not start with a dot. The attribute word reads
// a listed name as hidden, and setting or clearing hidden lists or unlists it.
// Errors: see platform/SystemError.h.
//
// Only a regular file of at most kHiddenListMaxSize bytes, reached without
// following a link, is a list. Anything else under the name (a link, a FIFO, a
// device, a folder, a huge file) is never followed, waited on or read in full:
// it lists no names, and it is never written over (listing a name there fails,
// unlisting one has nothing to remove).

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace korvala {

inline constexpr const char* kHiddenListName = ".hidden";
inline constexpr uint64_t kHiddenListMaxSize = 1 << 20;

// ---- The list's text (pure functions) ----

// True when a line of `contents` is exactly `name`.
bool hiddenListHas(std::string_view contents, std::string_view name);
// `contents` with `name` added as the last line (unchanged when listed already);
// a last line without its line end gets one first.
std::string hiddenListWith(std::string_view contents, std::string_view name);
// `contents` without the lines that are exactly `name`; every other line is
// kept as it was, in its place.
std::string hiddenListWithout(std::string_view contents, std::string_view name);
// The names `contents` lists: its non-empty lines, in order, as views into it.
std::vector<std::string_view> hiddenListNames(std::string_view contents);
// True when no line of `contents` names anything (empty lines only).
bool hiddenListIsEmpty(std::string_view contents);

// The folder holding `path` and the last name of it, as a ".hidden" line would
// hold it (trailing slashes ignored; "." for a name without a folder). False
// when the last name cannot be a line: the root, ".", "..", or a name with a
// line feed in it (`name` still holds the last name then, if there is one).
bool splitListedName(const std::string& path, std::string& folder, std::string& name);

// ---- The file (system calls in platform/posix/HiddenList.cpp) ----

// Reads the ".hidden" of the open folder `folderFd` (kWorkingFolder of
// platform/File.h for the working folder). ENOENT when there is none; ELOOP for
// a link, EISDIR for a folder, PlatformErrc::notRegularFile for a FIFO, socket
// or device, EFBIG for a file over kHiddenListMaxSize: none of them is read.
std::error_code readHiddenListAt(int folderFd, std::string& contents);
// The same for the ".hidden" of the folder at `folder`.
std::error_code readHiddenList(const std::string& folder, std::string& contents);
// True when `name` is listed in the ".hidden" of `folder`.
bool isListedHidden(const std::string& folder, const std::string& name);

// What changeHiddenList did, so that undoHiddenList can put it back.
struct THiddenListUndo {
    bool changed = false;   // the file was written or removed
    bool existed = false;   // there was a list before
    std::string previous;   // its contents
};

// Lists (`listed` true) or unlists `name` in the ".hidden" of `folder`. Writes
// nothing when the list already says so; otherwise the new list is written
// under a temporary name and renamed into place (so a crash never leaves a
// truncated list), keeping the mode and owner of the list it replaces, and a
// list left without names is removed. Listing into a ".hidden" that is not a
// list fails with the reason readHiddenList gives.
std::error_code changeHiddenList(const std::string& folder, const std::string& name, bool listed,
    THiddenListUndo& undo);
// Puts back the list a successful changeHiddenList replaced.
std::error_code undoHiddenList(const std::string& folder, const THiddenListUndo& undo);

}  // namespace korvala
