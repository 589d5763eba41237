// The calendar on day numbers, over every day of the years 1 to 9999, and the
// TDateTime encoding built on it.

#include "platform/Calendar.h"

#include <gtest/gtest.h>

#include "platform/DateTime.h"

namespace korvala {
namespace {

TEST(Calendar, EveryDayOfTheYearsOneToNineThousandNineHundredNinetyNine)
{
    int64_t expected = daysFromCivil(1, 1, 1);
    int failures = 0;
    for (int year = 1; year <= 9999 && failures < 5; ++year) {
        int daysInYear = 0;
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= daysInMonth(year, month); ++day, ++expected, ++daysInYear) {
                // Consecutive dates are consecutive day numbers, and each comes back.
                const int64_t days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
                int64_t y = 0;
                unsigned m = 0, d = 0;
                civilFromDays(days, y, m, d);
                if (days != expected || y != year || m != unsigned(month) || d != unsigned(day)) {
                    ADD_FAILURE() << year << "-" << month << "-" << day << " is day " << days;
                    ++failures;
                }
            }
        }
        EXPECT_EQ(daysInYear, isLeapYear(year) ? 366 : 365) << year;
    }
    EXPECT_EQ(daysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(daysFromCivil(1899, 12, 30), -25569);  // day 0 of TDateTime
    EXPECT_EQ(daysInMonth(2024, 13), 0);
}

TEST(Calendar, FloorDivisionRoundsDown)
{
    EXPECT_EQ(floorDiv(7, 2), 3);
    EXPECT_EQ(floorDiv(-7, 2), -4);
    EXPECT_EQ(floorDiv(-8, 2), -4);
    EXPECT_EQ(floorDiv(0, 5), 0);
}

TEST(Calendar, DateTimeValuesCountTheSameDays)
{
    for (int year : {1, 100, 1899, 1900, 2000, 2024, 9999}) {
        const TDateTime v = encodeDate(year, 3, 1);
        EXPECT_EQ(static_cast<int64_t>(v), daysFromCivil(year, 3, 1) + 25569) << year;
    }
}

// The code-returning encodings refuse what does not exist without throwing and
// leave the value alone.
TEST(Calendar, TryEncodingsRefuseWithACode)
{
    struct DateCase {
        int year, month, day;
        bool valid;
    };
    const DateCase dates[] = {{2024, 2, 29, true}, {2023, 2, 29, false}, {0, 1, 1, false}, {10000, 1, 1, false},
        {9999, 12, 31, true}, {2024, 13, 1, false}, {2024, 4, 31, false}, {2024, 1, 0, false}};
    for (const DateCase& c : dates) {
        TDateTime v = -7;
        const std::error_code ec = tryEncodeDate(c.year, c.month, c.day, v);
        EXPECT_EQ(!ec, c.valid) << c.year << "-" << c.month << "-" << c.day;
        if (ec) {
            EXPECT_EQ(ec, std::errc::invalid_argument);
            EXPECT_EQ(v, -7);
        }
    }
    TDateTime t = -7;
    EXPECT_FALSE(tryEncodeTime(23, 59, 59, 999, t));
    EXPECT_EQ(tryEncodeTime(24, 0, 0, 0, t), std::errc::invalid_argument);
    EXPECT_EQ(tryEncodeTime(0, 0, 0, 1000, t), std::errc::invalid_argument);
}

}  // namespace
}  // namespace korvala
