#include "tools/datetime/AgeShift.h"

#include <algorithm>

#include "platform/KorvalaError.h"

namespace korvala {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
const char* const kDateEncodeError = "Invalid argument to date encode";

int64_t floorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

bool isLeap(int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned lastDayOfMonth(int64_t year, unsigned month)
{
    static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

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
        throw KorvalaError(kDateEncodeError);
    const unsigned newDay = std::min(day, lastDayOfMonth(newYear, newMonth));
    return daysFromCivil(newYear, newMonth, newDay) * kSecondsPerDay + timeOfDay;
}

}  // namespace

int64_t daysFromCivil(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const int64_t era = floorDiv(year, 400);
    const int64_t yoe = year - era * 400;
    const int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const int64_t era = floorDiv(days, 146097);
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
    year = yoe + era * 400 + (month <= 2);
}

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
        throw KorvalaError(kDateEncodeError);
    timespec result = utc;
    result.tv_sec = static_cast<time_t>(seconds);
    return result;
}

}  // namespace korvala
