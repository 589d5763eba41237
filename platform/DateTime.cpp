#include "platform/DateTime.h"

#include <cmath>

#include "platform/Calendar.h"
#include "platform/ErrorTexts.h"
#include "platform/KorvalaError.h"

// TDateTime keeps days since 1899-12-30 in its integral part and the time of day in
// its fraction. Before that day the value is negative and the fraction still counts
// forward from midnight: -1.25 is 1899-12-29 06:00. Values are resolved to the
// millisecond, as the calendar and clock fields are. Local time is in
// posix/DateTime.cpp; everything here is arithmetic.

namespace korvala {

namespace {

constexpr int64_t MS_PER_DAY = 86400000;
constexpr int64_t UNIX_EPOCH_DAY = 25569;  // 1970-01-01 as a TDateTime day

const char* const WEEKDAY_NAMES[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// A value as whole days and milliseconds into that day, rounded to the millisecond.
void splitValue(TDateTime value, int64_t& day, int64_t& msOfDay)
{
    // Far beyond the calendar's years (or not a number) there is nothing to resolve;
    // keep the arithmetic defined.
    constexpr double LIMIT = 1.0e8;
    if (!(value > -LIMIT))
        value = value != value ? 0.0 : -LIMIT;
    else if (value > LIMIT)
        value = LIMIT;
    const int64_t total = std::llround(value * static_cast<double>(MS_PER_DAY));
    day = total / MS_PER_DAY;  // towards zero: the sign belongs to the day
    msOfDay = total % MS_PER_DAY;
    if (msOfDay < 0)
        msOfDay = -msOfDay;
}

TDateTime joinValue(int64_t day, int64_t msOfDay)
{
    const double fraction = static_cast<double>(msOfDay) / static_cast<double>(MS_PER_DAY);
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

// Milliseconds since the Unix epoch of a timespec, the sub-millisecond part dropped.
int64_t unixMilliseconds(const timespec& ts)
{
    return static_cast<int64_t>(ts.tv_sec) * 1000 + static_cast<int64_t>(ts.tv_nsec) / 1000000;
}

TDateTime unixMillisecondsToDateTime(int64_t ms)
{
    const int64_t days = floorDiv(ms, MS_PER_DAY);
    return joinValue(days + UNIX_EPOCH_DAY, ms - days * MS_PER_DAY);
}

int64_t dateTimeToUnixMilliseconds(TDateTime value)
{
    int64_t day = 0, msOfDay = 0;
    splitValue(value, day, msOfDay);
    return (day - UNIX_EPOCH_DAY) * MS_PER_DAY + msOfDay;
}

timespec unixMillisecondsToTimespec(int64_t ms)
{
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(floorDiv(ms, 1000));
    ts.tv_nsec = static_cast<long>((ms - floorDiv(ms, 1000) * 1000) * 1000000);
    return ts;
}

std::string twoDigits(int v)
{
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

std::string padded(int v, size_t width)
{
    std::string s = std::to_string(v);
    while (s.size() < width)
        s.insert(s.begin(), '0');
    return s;
}

}  // namespace

std::error_code tryEncodeDate(int year, int month, int day, TDateTime& value)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return std::make_error_code(std::errc::invalid_argument);
    value = static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + UNIX_EPOCH_DAY);
    return {};
}

std::error_code tryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        return std::make_error_code(std::errc::invalid_argument);
    value = static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / static_cast<double>(MS_PER_DAY);
    return {};
}

TDateTime encodeDate(int year, int month, int day)
{
    TDateTime value = 0;
    if (tryEncodeDate(year, month, day, value))
        throw KorvalaError(kDateEncodeErrorText);
    return value;
}

TDateTime encodeTime(int hour, int minute, int second, int millisecond)
{
    TDateTime value = 0;
    if (tryEncodeTime(hour, minute, second, millisecond, value))
        throw KorvalaError(kTimeEncodeErrorText);
    return value;
}

void decodeDate(TDateTime value, int& year, int& month, int& day)
{
    int64_t days = 0, msOfDay = 0;
    splitValue(value, days, msOfDay);
    int64_t y = 0;
    unsigned m = 0, d = 0;
    civilFromDays(days - UNIX_EPOCH_DAY, y, m, d);
    year = static_cast<int>(y);
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

void decodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond)
{
    int64_t days = 0, msOfDay = 0;
    splitValue(value, days, msOfDay);
    millisecond = static_cast<int>(msOfDay % 1000);
    second = static_cast<int>(msOfDay / 1000 % 60);
    minute = static_cast<int>(msOfDay / 60000 % 60);
    hour = static_cast<int>(msOfDay / 3600000);
}

TDateTime timespecToUtcDateTime(const timespec& utc)
{
    return unixMillisecondsToDateTime(unixMilliseconds(utc));
}

timespec utcDateTimeToTimespec(TDateTime utc)
{
    return unixMillisecondsToTimespec(dateTimeToUnixMilliseconds(utc));
}

std::string formatDateTime(const std::string& format, TDateTime value)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    decodeDate(value, year, month, day);
    decodeTime(value, hour, minute, second, ms);
    int64_t days = 0, msOfDay = 0;
    splitValue(value, days, msOfDay);
    const int64_t weekday = (days % 7 + 7 + 6) % 7;  // day 0, 1899-12-30, was a Saturday

    std::string out;
    size_t i = 0;
    auto at = [&](const char* token) { return format.compare(i, std::char_traits<char>::length(token), token) == 0; };
    while (i < format.size()) {
        if (at("dddd")) {
            out += WEEKDAY_NAMES[weekday];
            i += 4;
        } else if (at("yyyy")) {
            out += padded(year, 4);
            i += 4;
        } else if (at("zzz")) {
            out += padded(ms, 3);
            i += 3;
        } else if (at("MM")) {
            out += twoDigits(month);
            i += 2;
        } else if (at("dd")) {
            out += twoDigits(day);
            i += 2;
        } else if (at("hh")) {
            out += twoDigits(hour);
            i += 2;
        } else if (at("mm")) {
            out += twoDigits(minute);
            i += 2;
        } else if (at("ss")) {
            out += twoDigits(second);
            i += 2;
        } else {
            out += format[i++];
        }
    }
    return out;
}

}  // namespace korvala
