// The DOS date-time words: the exact formula, the two-second step and the
// years it can hold.

#include <gtest/gtest.h>

#include "tools/datetime/DosDateTime.h"

namespace korvala {
namespace {

DateTimeParts parts(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return DateTimeParts{y, mo, d, h, mi, s, ms};
}

TEST(DosDateTime, WordsFollowTheFormula)
{
    struct Case {
        DateTimeParts in;
        uint16_t date, time;
    };
    const Case cases[] = {
        {parts(2020, 1, 15, 10, 0, 3, 750), 15 + 1 * 32 + 40 * 512, 1 + 0 * 32 + 10 * 2048},
        {parts(1980, 1, 1, 0, 0, 0), 33, 0},
        {parts(1980, 1, 1, 0, 0, 1, 999), 33, 0},
        {parts(2107, 12, 31, 23, 59, 59, 999), 31 + 12 * 32 + 127 * 512, 29 + 59 * 32 + 23 * 2048},
        {parts(2016, 2, 29, 12, 34, 56), 29 + 2 * 32 + 36 * 512, 28 + 34 * 32 + 12 * 2048},
    };
    for (const Case& c : cases) {
        const auto dos = ToDosDateTime(c.in);
        ASSERT_TRUE(dos) << c.in.year;
        EXPECT_EQ(dos->date, c.date) << c.in.year;
        EXPECT_EQ(dos->time, c.time) << c.in.year;
    }
}

TEST(DosDateTime, RoundTripDropsMillisecondsAndOddSeconds)
{
    for (int second = 0; second < 60; ++second) {
        const auto dos = ToDosDateTime(parts(2020, 1, 15, 10, 0, second, 750));
        ASSERT_TRUE(dos);
        const auto back = FromDosDateTime(*dos);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->second, second - second % 2) << second;
        EXPECT_EQ(back->millisecond, 0);
        EXPECT_EQ(back->year, 2020);
        EXPECT_EQ(back->month, 1);
        EXPECT_EQ(back->day, 15);
        EXPECT_EQ(back->hour, 10);
        EXPECT_EQ(back->minute, 0);
    }
}

TEST(DosDateTime, OnlyYears1980To2107HaveAForm)
{
    EXPECT_FALSE(ToDosDateTime(parts(1979, 12, 31, 23, 59, 59)));
    EXPECT_TRUE(ToDosDateTime(parts(1980, 1, 1, 0, 0, 0)));
    EXPECT_TRUE(ToDosDateTime(parts(2107, 12, 31, 23, 59, 59)));
    EXPECT_FALSE(ToDosDateTime(parts(2108, 1, 1, 0, 0, 0)));
    EXPECT_FALSE(ToDosDateTime(parts(2021, 2, 29, 0, 0, 0)));
}

TEST(DosDateTime, WordsWithFieldsOutOfRangeStandForNoTime)
{
    const DosDateTime bad[] = {
        {0, 0},                                // day 0, month 0
        {1 + 13 * 32, 0},                      // month 13
        {30 + 2 * 32 + 40 * 512, 0},           // 30 February
        {1 + 32, 24 * 2048},                   // hour 24
        {1 + 32, 60 * 32},                     // minute 60
        {1 + 32, 30},                          // second 60
    };
    for (const DosDateTime& d : bad)
        EXPECT_FALSE(FromDosDateTime(d)) << d.date << " " << d.time;
}

}  // namespace
}  // namespace korvala
