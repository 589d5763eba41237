#include "tools/datetime/AgeShift.h"

#include <algorithm>

#include "platform/ErrorTexts.h"
#include "platform/KorvalaError.h"

namespace korvala {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

// The year of a UTC second count.
int64_t yearOf(int64_t seconds)
{
    int64_t year;
    unsigned month, day;
    civilFromDays(floorDiv(seconds, kSecondsPerDay), year, month, day);
    return year;
}

// Calendar months, the day cut back at the month's end, the time of day kept.
int64_t addMonths(int64_t seconds, int64_t months)
{
    const int64_t days = floorDiv(seconds, kSecondsPerDay);
    const int64_t timeOfDay = seconds - days * kSecondsPerDay;
    int64_t year;
    unsigned month, day;
    civilFromDays(days, year, month, day);
    const int64_t total = year * 12 + (month - 1) + months;
    const int64_t newYear = floorDiv(total, 12);
    const unsigned newMonth = static_cast<unsigned>(total - newYear * 12) + 1;
    if (newYear < 1 || newYear > 9999)
        throw KorvalaError(kDateEncodeErrorText);
    const unsigned lastDay = static_cast<unsigned>(daysInMonth(static_cast<int>(newYear), static_cast<int>(newMonth)));
    const unsigned newDay = std::min(day, lastDay);
    return daysFromCivil(newYear, newMonth, newDay) * kSecondsPerDay + timeOfDay;
}

}  // namespace

timespec ShiftByAge(const timespec& utc, const DateTimeOffsets& offsets)
{
    if (offsets.isZero())
        return utc;
    // Whole seconds move; the fraction of the second rides along untouched.
    int64_t seconds = utc.tv_sec;
    if (offsets.years != 0)
        seconds = addMonths(seconds, int64_t{offsets.years} * 12);
    if (offsets.months != 0)
        seconds = addMonths(seconds, offsets.months);
    seconds += int64_t{offsets.days} * kSecondsPerDay;
    seconds += int64_t{offsets.hours} * 3600;
    seconds += int64_t{offsets.minutes} * 60;
    seconds += offsets.seconds;
    const int64_t year = yearOf(seconds);
    if (year < 1 || year > 9999)
        throw KorvalaError(kDateEncodeErrorText);
    timespec result = utc;
    result.tv_sec = static_cast<time_t>(seconds);
    return result;
}

}  // namespace korvala
