#pragma once
// The proleptic Gregorian calendar on day numbers counted from 1970-01-01: the
// one place where dates become day counts and back, for TDateTime values, the
// DateTime Changer's age arithmetic and the DOS date-time form alike.

#include <cstdint>

namespace korvala {

// a / b rounded towards minus infinity (b > 0).
int64_t floorDiv(int64_t a, int64_t b);

bool isLeapYear(int year);
// The days of `month` (1 to 12) in `year`; 0 for a month out of range.
int daysInMonth(int year, int month);

// The day number of a date (month 1 to 12, day 1 to 31), and back.
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day);
void civilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day);

}  // namespace korvala
