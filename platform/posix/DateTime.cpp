// Local time on POSIX: the C library's zone rules (TZ, /etc/localtime).

#include "platform/DateTime.h"

#include <mutex>

#include "platform/Calendar.h"

namespace korvala {

namespace {

std::once_flag zoneLoaded;

void ensureZone()
{
    std::call_once(zoneLoaded, [] { ::tzset(); });
}

// Seconds east of UTC in force at a UTC instant.
long utcOffsetAt(time_t t)
{
    struct tm local{};
    if (!::localtime_r(&t, &local))
        return 0;
    return local.tm_gmtoff;
}

}  // namespace

// A local value is the UTC arithmetic on the instant moved by the zone's offset.
TDateTime timespecToLocalDateTime(const timespec& utc)
{
    ensureZone();
    timespec shifted = utc;
    shifted.tv_sec += static_cast<time_t>(utcOffsetAt(utc.tv_sec));
    return timespecToUtcDateTime(shifted);
}

timespec localDateTimeToTimespec(TDateTime local)
{
    ensureZone();
    const timespec asUtcValue = utcDateTimeToTimespec(local);
    const int64_t localSeconds = static_cast<int64_t>(asUtcValue.tv_sec);
    const int64_t millis = asUtcValue.tv_nsec / 1000000;

    // mktime applies the zone's rules for that date (daylight saving included); a
    // local time that falls into a gap or overlap resolves as the C library decides.
    struct tm fields{};
    const time_t asUtc = static_cast<time_t>(localSeconds);
    ::gmtime_r(&asUtc, &fields);
    fields.tm_isdst = -1;
    fields.tm_wday = -1;  // mktime fills it on success; -1 is also a valid result
    time_t seconds = ::mktime(&fields);
    if (fields.tm_wday == -1)  // outside what mktime handles: the offset of that instant
        seconds = static_cast<time_t>(localSeconds - utcOffsetAt(asUtc));
    timespec ts{};
    ts.tv_sec = seconds;
    ts.tv_nsec = static_cast<long>(millis * 1000000);
    return ts;
}

TDateTime nowLocal()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return timespecToLocalDateTime(now);
}

void reloadTimeZone()
{
    ensureZone();
    ::tzset();
}

int standardBiasMinutes()
{
    ensureZone();
    // Standard time is the smaller of the offsets in force in January and in July:
    // daylight saving always moves the clock forward from it.
    const time_t now = ::time(nullptr);
    struct tm today{};
    ::gmtime_r(&now, &today);
    const int64_t yearStart = daysFromCivil(today.tm_year + 1900, 1, 1) * 86400 + 12 * 3600;
    const int64_t midYear = daysFromCivil(today.tm_year + 1900, 7, 1) * 86400 + 12 * 3600;
    const long january = utcOffsetAt(static_cast<time_t>(yearStart));
    const long july = utcOffsetAt(static_cast<time_t>(midYear));
    const long standard = january < july ? january : july;
    return static_cast<int>(-standard / 60);
}

}  // namespace korvala
