#pragma once
// DateTime Changer engine: the per-item work of "Set by Specified DateTime" and
// "Set by Age". The page's work procedures call these once per list entry with
// the values of the pickers or spin edits read for that entry.

#include <optional>
#include <string>
#include <system_error>

#include "platform/DateTime.h"
#include "tools/datetime/AgeShift.h"

namespace korvala {

// One row of "Set by Specified DateTime": the date picker's day when ticked and
// the time picker's time of day (to the millisecond) when ticked. A part left
// out keeps the current local value's part.
struct NewTimeChoice {
    std::optional<TDateTime> date;
    std::optional<TDateTime> timeOfDay;
};

// Sets the stamps of a file or folder with a date or a time chosen to those
// local dates and times (through the two-second DOS form); a stamp with
// neither chosen keeps its exact value and is not written. Never throws:
// returns why the item kept its times (the reason its times cannot be read,
// the reasons of SetFileDateTimes).
std::error_code SetBySpecifiedDateTime(const std::string& path, const NewTimeChoice& created,
    const NewTimeChoice& modified, const NewTimeChoice& accessed);

// Moves the three stamps of a file or folder by the given amounts. A file gets
// the moved UTC values at full precision, one stamp after the other (created,
// modified, accessed; a stamp whose amounts are all zero is left as it is); a folder gets them through SetAllFileDateTimes (local
// time, two-second steps). Returns ENOENT, without writing, when the path has
// no times, and the reasons of SetAllFileDateTimes for a folder.
// Throws KorvalaError "Invalid argument to date encode" when an amount moves a
// stamp out of the years 1 to 9999 (nothing is written then), and for a file
// the system error of SetFileDateTime (the stamps set before it stay set).
std::error_code SetByAge(const std::string& path, const DateTimeOffsets& created,
    const DateTimeOffsets& modified, const DateTimeOffsets& accessed);

}  // namespace korvala
