#pragma once
// TDateTime (days since 1899-12-30 00:00, time of day as the fraction) and its
// conversions to and from UTC instants and local time (the C library's zone rules).
// Values resolve to the millisecond; below it a timespec's fraction is dropped.
// Before 1899-12-30 a value is negative and its fraction still counts forward from
// midnight (-1.25 is 1899-12-29 06:00).

#include <cstdint>
#include <ctime>
#include <string>
#include <system_error>

#include "platform/Calendar.h"

namespace korvala {

using TDateTime = double;

// Calendar encoding. The try forms return EINVAL for a date outside years
// 1..9999, an invalid month or day, or an invalid time of day. encodeDate and
// encodeTime are the program's own encoding on top, for the pages and commands:
// they throw KorvalaError(kDateEncodeErrorText) and (kTimeEncodeErrorText) of
// platform/ErrorTexts.h instead. Everything else here neither fails nor throws.
// Errors: see platform/SystemError.h.
std::error_code tryEncodeDate(int year, int month, int day, TDateTime& value);
std::error_code tryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);
TDateTime encodeDate(int year, int month, int day);
TDateTime encodeTime(int hour, int minute, int second, int millisecond);
void decodeDate(TDateTime value, int& year, int& month, int& day);
void decodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// UTC instant <-> TDateTime in UTC and in local time.
TDateTime timespecToUtcDateTime(const timespec& utc);
timespec utcDateTimeToTimespec(TDateTime utc);
TDateTime timespecToLocalDateTime(const timespec& utc);
timespec localDateTimeToTimespec(TDateTime local);

// The current local date and time.
TDateTime nowLocal();

// Reads the zone rules again (after TZ or the system's zone changed); the
// conversions read them once, on first use.
void reloadTimeZone();

// The zone's standard offset in minutes, as west of UTC is positive (the bias),
// without daylight saving.
int standardBiasMinutes();

// Formats with the tokens dddd (weekday name), yyyy, MM, dd, hh (24 h), mm, ss and
// zzz (milliseconds); any other character is copied.
std::string formatDateTime(const std::string& format, TDateTime value);

}  // namespace korvala
