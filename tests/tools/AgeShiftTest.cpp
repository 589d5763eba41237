// "Set by Age" arithmetic: calendar months with the month's end, the order of
// the steps, exactness to the nanosecond and the calendar's bounds.

#include <gtest/gtest.h>

#include "TimeTestSupport.h"
#include "platform/KorvalaError.h"
#include "tools/datetime/AgeShift.h"

namespace korvala {
namespace {

using test::describe;
using test::makeTimespec;
using test::utcSeconds;

struct ShiftCase {
    const char* what;
    time_t from;
    DateTimeOffsets offsets;
    time_t expected;
};

DateTimeOffsets amounts(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    DateTimeOffsets o;
    o.years = y;
    o.months = mo;
    o.days = d;
    o.hours = h;
    o.minutes = mi;
    o.seconds = s;
    return o;
}

TEST(ShiftByAge, CalendarCases)
{
    const ShiftCase cases[] = {
        {"31 Jan + 1 month, common year", utcSeconds(2021, 1, 31, 10, 20, 30), amounts(0, 1, 0),
            utcSeconds(2021, 2, 28, 10, 20, 30)},
        {"31 Jan + 1 month, leap year", utcSeconds(2020, 1, 31, 23, 59, 59), amounts(0, 1, 0),
            utcSeconds(2020, 2, 29, 23, 59, 59)},
        {"29 Feb 2016 + 1 year", utcSeconds(2016, 2, 29, 8), amounts(1, 0, 0),
            utcSeconds(2017, 2, 28, 8)},
        {"29 Feb 2016 + 4 years", utcSeconds(2016, 2, 29, 8), amounts(4, 0, 0),
            utcSeconds(2020, 2, 29, 8)},
        {"29 Feb 2000 + 100 years (not leap)", utcSeconds(2000, 2, 29), amounts(100, 0, 0),
            utcSeconds(2100, 2, 28)},
        {"31 Mar - 1 month", utcSeconds(2019, 3, 31, 12), amounts(0, -1, 0),
            utcSeconds(2019, 2, 28, 12)},
        {"31 May - 1 month", utcSeconds(2019, 5, 31), amounts(0, -1, 0), utcSeconds(2019, 4, 30)},
        {"31 Dec + 2 months over the year", utcSeconds(2020, 12, 31), amounts(0, 2, 0),
            utcSeconds(2021, 2, 28)},
        {"15 Jan - 13 months", utcSeconds(2020, 1, 15, 6), amounts(0, -13, 0),
            utcSeconds(2018, 12, 15, 6)},
        {"years are months x 12", utcSeconds(2020, 5, 31), amounts(-2, 25, 0),
            utcSeconds(2020, 6, 30)},
        // Months are cut back at the month's end before the days are added.
        {"30 Jan + 1 month + 1 day", utcSeconds(2021, 1, 30), amounts(0, 1, 1),
            utcSeconds(2021, 3, 1)},
        {"days, hours, minutes, seconds", utcSeconds(2020, 12, 31, 23, 0, 0),
            amounts(0, 0, 1, 1, 1, -60), utcSeconds(2021, 1, 2)},
        {"negative seconds cross the year", utcSeconds(2021, 1, 1, 0, 0, 1),
            amounts(0, 0, 0, 0, 0, -2), utcSeconds(2020, 12, 31, 23, 59, 59)},
        {"Info box example", utcSeconds(2016, 8, 15, 12), amounts(-1, 2, 1, 1, 2, -5),
            utcSeconds(2015, 10, 16, 13, 1, 55)},
        {"before 1970", utcSeconds(1960, 3, 31, 4), amounts(0, -1, -1), utcSeconds(1960, 2, 28, 4)},
        {"largest amounts", utcSeconds(2000, 1, 1), amounts(250, 2500, 10000, 100000, 100000, 100000),
            utcSeconds(2458, 5, 1) + 10000 * 86400 + 100000 * 3600 + 100000 * 60 + 100000},
    };
    for (const ShiftCase& c : cases) {
        const timespec from = makeTimespec(c.from, 123456789);
        const timespec got = ShiftByAge(from, c.offsets);
        EXPECT_TRUE(test::sameTime(got, makeTimespec(c.expected, 123456789)))
            << c.what << ": got " << describe(got) << ", expected "
            << describe(makeTimespec(c.expected, 123456789));
    }
}

TEST(ShiftByAge, ZeroAmountsKeepTheValueToTheNanosecond)
{
    for (const timespec t : {makeTimespec(utcSeconds(2016, 2, 29, 23, 59, 59), 999999999),
             makeTimespec(0, 1), makeTimespec(-1, 500)}) {
        EXPECT_TRUE(test::sameTime(ShiftByAge(t, DateTimeOffsets{}), t)) << describe(t);
    }
}

TEST(ShiftByAge, LeavingYearsOneToNineThousandNineHundredNinetyNineIsADateEncodeError)
{
    struct Bound {
        time_t from;
        DateTimeOffsets offsets;
        bool throws;
    };
    const time_t lastDay = utcSeconds(9999, 12, 31, 23, 59, 59);
    const time_t firstDay = utcSeconds(1, 1, 1);
    const Bound bounds[] = {
        {lastDay, amounts(0, 1, 0), true},
        {lastDay, amounts(1, 0, 0), true},
        {lastDay, amounts(0, -1, 0), false},
        {utcSeconds(9998, 12, 31), amounts(1, 0, 0), false},
        {firstDay, amounts(0, -1, 0), true},
        {firstDay, amounts(-1, 0, 0), true},
        {firstDay, amounts(0, 11, 0), false},
        {lastDay, amounts(0, 0, 0, 0, 0, 1), true},  // past the last second by any step
        {firstDay, amounts(0, 0, -1), true},
        // The year step alone is checked: 9990 + 20 years fails even though
        // the months bring it back.
        {utcSeconds(9990, 1, 1), amounts(20, -240, 0), true},
    };
    for (const Bound& b : bounds) {
        const timespec from = makeTimespec(b.from, 0);
        if (b.throws) {
            try {
                ShiftByAge(from, b.offsets);
                ADD_FAILURE() << "no error from " << describe(from);
            } catch (const KorvalaError& e) {
                EXPECT_STREQ(e.what(), "Invalid argument to date encode");
            }
        } else {
            EXPECT_NO_THROW(ShiftByAge(from, b.offsets)) << describe(from);
        }
    }
}

TEST(Calendar, DayNumbersAgreeWithTheCLibrary)
{
    for (int year : {1, 1600, 1899, 1900, 1969, 1970, 2000, 2038, 2100, 9999}) {
        for (unsigned month : {1u, 2u, 3u, 12u}) {
            const int64_t days = daysFromCivil(year, month, 28);
            if (year >= 1900) {
                EXPECT_EQ(days * 86400, utcSeconds(year, static_cast<int>(month), 28)) << year;
            }
            int64_t y;
            unsigned m, d;
            civilFromDays(days, y, m, d);
            EXPECT_EQ(y, year);
            EXPECT_EQ(m, month);
            EXPECT_EQ(d, 28u);
        }
    }
}

}  // namespace
}  // namespace korvala
