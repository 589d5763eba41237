#pragma once
// The three time stamps of files and folders as the DateTime Changer reads and
// writes them: UTC date-time values, local values through the DOS form, and
// single stamps at full precision.

#include <ctime>
#include <optional>
#include <string>
#include <system_error>

#include "platform/DateTime.h"
#include "tools/datetime/DosDateTime.h"

namespace korvala {

enum class FileTimeKind : int { fkCreated = 0, fkModified = 1, fkAccessed = 2 };

// The stored creation, last-write and last-access time, in UTC, to the
// millisecond (the finer part is cut off). Nothing when the path has no times
// (it does not exist or cannot be looked up): the page shows "-" for it and the
// runs pass it over.
std::optional<TDateTime> GetFileCreatedTime(const std::string& path);
std::optional<TDateTime> GetFileModifiedTime(const std::string& path);
std::optional<TDateTime> GetFileAccessedTime(const std::string& path);

// The local time for a UTC value, by the zone's rules for that value's date.
TDateTime UTCToLocalDateTime(TDateTime utc);

// Sets one stamp of path to a UTC value; the other two stay. The TDateTime form
// takes the value to the millisecond, the timespec form to the nanosecond.
// Throws KorvalaError("System Error.  Code: %d.\r\n%s") when the path cannot be
// opened or the stamp cannot be stored (ENOTSUP for a creation time on a file
// system that keeps none, EOVERFLOW when the file system cannot hold the value
// and would store another one; the previous value is then put back). A creation
// time kept in the attribute store has 100 ns steps. Any other kind sets nothing.
void SetFileDateTime(const std::string& path, FileTimeKind kind, TDateTime utc);
void SetFileDateTime(const std::string& path, FileTimeKind kind, const timespec& utc);

// A local value to the stored UTC form, through the DOS date-time form (two
// second steps, milliseconds dropped). Local times are turned into UTC by the
// zone's rules for the value's own date. Nothing for years outside 1980 to 2107.
std::optional<timespec> LocalDateTimeToFileTime(TDateTime local);
std::optional<timespec> LocalDateTimeToFileTime(const DateTimeParts& local);

// Sets all three stamps of a file or folder from local values, each through
// LocalDateTimeToFileTime. Never throws: the page passes over an item that
// fails. Returns why nothing was written: the path cannot be opened for reading
// and writing (missing, no rights, a file with the read-only attribute), a value
// has no DOS form (EOVERFLOW), or the file system refused or could not hold the
// values.
std::error_code SetAllFileDateTimes(const std::string& path, TDateTime created,
    TDateTime accessed, TDateTime modified);
std::error_code SetAllFileDateTimes(const std::string& path, const DateTimeParts& created,
    const DateTimeParts& accessed, const DateTimeParts& modified);

// The same for the stamps that are given; the others are neither converted nor
// written, so they keep their exact value (and a file system with no store for
// a creation time, or a stamp outside the DOS years, is no obstacle to writing
// the others). Nothing given: nothing is looked at or written.
std::error_code SetFileDateTimes(const std::string& path, const std::optional<DateTimeParts>& created,
    const std::optional<DateTimeParts>& accessed, const std::optional<DateTimeParts>& modified);

// The date and time fields of a date-time value (rounded to the millisecond).
DateTimeParts DateTimeToParts(TDateTime value);

// A UTC instant as a UTC date-time value, cut to the millisecond.
TDateTime FileTimeToUtcDateTime(const timespec& utc);

}  // namespace korvala
