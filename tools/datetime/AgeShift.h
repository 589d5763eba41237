#pragma once
// "Set by Age" arithmetic: moves a UTC time stamp by signed amounts of years,
// months, days, hours, minutes and seconds, exactly (to the nanosecond).

#include <cstdint>
#include <ctime>

#include "platform/Calendar.h"

namespace korvala {

// The six amounts of one row, in the order they are applied.
struct DateTimeOffsets {
    int years = 0;
    int months = 0;
    int days = 0;
    int hours = 0;
    int minutes = 0;
    int seconds = 0;

    bool isZero() const
    {
        return years == 0 && months == 0 && days == 0 && hours == 0 && minutes == 0 &&
            seconds == 0;
    }
};

// Applies the amounts in the order years (as months x 12), months, days, hours,
// minutes, seconds. A month step keeps the time of day and cuts the day back to
// the last day of the target month when that month is shorter. Throws
// KorvalaError("Invalid argument to date encode") when a year or month step, or
// the final value, leaves the years 1 to 9999. Zero amounts change nothing, so a
// row of zeros returns the value untouched.
timespec ShiftByAge(const timespec& utc, const DateTimeOffsets& offsets);

}  // namespace korvala
