#pragma once
// The three time stamps of a file or folder, in UTC, to the nanosecond. A symbolic
// link is followed: its stamps are those of the file it names, as opening it would.
// Errors: see platform/SystemError.h.

#include <ctime>
#include <optional>
#include <string>
#include <system_error>

namespace korvala {

struct FileTimes {
    timespec created{};
    timespec modified{};
    timespec accessed{};
};

// Reads all three stamps. Created comes from the attribute store when it keeps
// one, else the birth time, else the earlier of modification and change time.
std::error_code readFileTimes(const std::string& path, FileTimes& times);

// Writes the stamps that are given and keeps the others, all or nothing: a
// caller who may not set the times (not the owner: EPERM) gets the failure
// before anything is written, and a creation time that cannot be stored puts
// the other two back. Setting a creation time on a file system with no store
// for it fails with ENOTSUP unless the value equals the current one.
std::error_code writeFileTimes(const std::string& path, const std::optional<timespec>& created,
    const std::optional<timespec>& modified, const std::optional<timespec>& accessed);

}  // namespace korvala
