// TDateTime: the calendar, the clock, conversions to UTC instants and local time.

#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/KorvalaError.h"

namespace korvala {
namespace {

// Sets TZ for one test and puts the previous zone back afterwards.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old, m_had = true;
        ::setenv("TZ", zone, 1);
        reloadTimeZone();
    }
    ~ZoneGuard()
    {
        if (m_had)
            ::setenv("TZ", m_old.c_str(), 1);
        else
            ::unsetenv("TZ");
        reloadTimeZone();
    }

private:
    std::string m_old;
    bool m_had = false;
};

TEST(DateTime, EncodesAndDecodesCalendarDates)
{
    struct Case {
        int y, m, d;
        double value;
    };
    const Case cases[] = {
        {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2}, {1900, 3, 1, 61}, {1970, 1, 1, 25569},
        {2000, 2, 29, 36585}, {2014, 7, 28, 41848}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
        {1899, 12, 29, -1}, {1600, 2, 29, -109512},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d));
        EXPECT_EQ(encodeDate(c.y, c.m, c.d), c.value);
        int y = 0, m = 0, d = 0;
        decodeDate(c.value, y, m, d);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
    }
}

TEST(DateTime, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_TRUE(isLeapYear(2016));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_FALSE(isLeapYear(2017));
    EXPECT_EQ(daysInMonth(2016, 2), 29);
    EXPECT_EQ(daysInMonth(2100, 2), 28);
    EXPECT_EQ(daysInMonth(2017, 4), 30);
    EXPECT_EQ(daysInMonth(2017, 12), 31);
    EXPECT_NO_THROW(encodeDate(2016, 2, 29));
}

TEST(DateTime, InvalidDatesAndTimesThrowTheProgramsText)
{
    const int badDates[][3] = {{0, 1, 1}, {10000, 1, 1}, {2017, 2, 29}, {2016, 13, 1}, {2016, 0, 1}, {2016, 4, 31}, {2016, 1, 0}};
    for (const auto& d : badDates) {
        try {
            encodeDate(d[0], d[1], d[2]);
            ADD_FAILURE() << d[0] << "-" << d[1] << "-" << d[2] << " was accepted";
        } catch (const KorvalaError& e) {
            EXPECT_STREQ(e.what(), "Invalid argument to date encode");
        }
    }
    const int badTimes[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};
    for (const auto& t : badTimes) {
        try {
            encodeTime(t[0], t[1], t[2], t[3]);
            ADD_FAILURE() << "time accepted";
        } catch (const KorvalaError& e) {
            EXPECT_STREQ(e.what(), "Invalid argument to time encode");
        }
    }
}

TEST(DateTime, TimeOfDayToTheMillisecond)
{
    EXPECT_EQ(encodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(encodeTime(6, 0, 0, 0), 0.25);
    const double value = encodeDate(2014, 7, 28) + encodeTime(11, 41, 3, 999);
    int h = 0, m = 0, s = 0, ms = 0;
    decodeTime(value, h, m, s, ms);
    EXPECT_EQ(h, 11);
    EXPECT_EQ(m, 41);
    EXPECT_EQ(s, 3);
    EXPECT_EQ(ms, 999);
    // The last millisecond of a day stays on that day.
    const double last = encodeDate(2016, 2, 29) + encodeTime(23, 59, 59, 999);
    int y = 0, mo = 0, d = 0;
    decodeDate(last, y, mo, d);
    decodeTime(last, h, m, s, ms);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(h * 3600000 + m * 60000 + s * 1000 + ms, 86399999);
    // Before 1899-12-30 the fraction still counts forward from midnight.
    decodeDate(-1.25, y, mo, d);
    decodeTime(-1.25, h, m, s, ms);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(h, 6);
}

TEST(DateTime, UtcInstantsConvertBothWays)
{
    struct Case {
        timespec ts;
        double value;
    };
    const Case cases[] = {
        {{0, 0}, 25569.0},
        {{86400 + 43200, 0}, 25570.5},
        {{1406547663, 0}, encodeDate(2014, 7, 28) + encodeTime(11, 41, 3, 0)},
        {{951782400, 250000000}, encodeDate(2000, 2, 29) + encodeTime(0, 0, 0, 250)},
        {{-2209161600LL + 6 * 3600 - 86400, 0}, -1.25},  // 1899-12-29 06:00
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ts.tv_sec);
        EXPECT_NEAR(timespecToUtcDateTime(c.ts), c.value, 1e-9);
        const timespec back = utcDateTimeToTimespec(c.value);
        EXPECT_EQ(back.tv_sec, c.ts.tv_sec);
        EXPECT_EQ(back.tv_nsec, c.ts.tv_nsec);
    }
    // Below the millisecond nothing is kept; a value is never rounded up into the next second.
    const timespec back = utcDateTimeToTimespec(timespecToUtcDateTime({1700000000, 999999999}));
    EXPECT_EQ(back.tv_sec, 1700000000);
    EXPECT_EQ(back.tv_nsec, 999000000);
}

TEST(DateTime, LocalTimeFollowsTheZoneRulesOfThatDate)
{
    ZoneGuard zone("EST5EDT,M3.2.0,M11.1.0");
    const timespec winter{1420113600, 0};  // 2015-01-01 12:00 UTC
    const timespec summer{1435752000, 0};  // 2015-07-01 12:00 UTC
    EXPECT_NEAR(timespecToLocalDateTime(winter), encodeDate(2015, 1, 1) + encodeTime(7, 0, 0, 0), 1e-9);
    EXPECT_NEAR(timespecToLocalDateTime(summer), encodeDate(2015, 7, 1) + encodeTime(8, 0, 0, 0), 1e-9);
    for (const timespec& ts : {winter, summer, timespec{1700000000, 123000000}}) {
        const timespec back = localDateTimeToTimespec(timespecToLocalDateTime(ts));
        EXPECT_EQ(back.tv_sec, ts.tv_sec);
        EXPECT_EQ(back.tv_nsec, ts.tv_nsec);
    }
    EXPECT_EQ(standardBiasMinutes(), 300);
}

TEST(DateTime, StandardBiasIgnoresDaylightSaving)
{
    struct Case {
        const char* zone;
        int bias;
    };
    const Case cases[] = {{"UTC0", 0}, {"CET-1CEST,M3.5.0,M10.5.0/3", -60}, {"IST-5:30", -330},
        {"AEST-10AEDT,M10.1.0,M4.1.0/3", -600}, {"PST8PDT,M3.2.0,M11.1.0", 480}};
    for (const auto& c : cases) {
        ZoneGuard zone(c.zone);
        EXPECT_EQ(standardBiasMinutes(), c.bias) << c.zone;
    }
}

TEST(DateTime, NowIsTheLocalClock)
{
    ZoneGuard zone("UTC0");
    const double now = nowLocal();
    const double expected = timespecToUtcDateTime({::time(nullptr), 0});
    EXPECT_NEAR(now, expected, 5.0 / 86400);
}

TEST(DateTime, FormatsWithTheTokens)
{
    const double value = encodeDate(2014, 7, 28) + encodeTime(11, 41, 3, 7);
    EXPECT_EQ(formatDateTime("dddd, MM/dd/yyyy, hh:mm:ss", value), "Monday, 07/28/2014, 11:41:03");
    EXPECT_EQ(formatDateTime("yyyy-MM-dd hh:mm:ss.zzz", value), "2014-07-28 11:41:03.007");
    EXPECT_EQ(formatDateTime("dddd", encodeDate(1899, 12, 30)), "Saturday");
    EXPECT_EQ(formatDateTime("dddd", encodeDate(1899, 12, 29)), "Friday");
    EXPECT_EQ(formatDateTime("dddd", encodeDate(2016, 2, 29)), "Monday");
    EXPECT_EQ(formatDateTime("dddd", encodeDate(2000, 1, 2)), "Sunday");
    EXPECT_EQ(formatDateTime("yyyy/MM/dd", encodeDate(33, 3, 3)), "0033/03/03");
    EXPECT_EQ(formatDateTime("at hh h!", encodeTime(9, 5, 0, 0)), "at 09 h!");
}

}  // namespace
}  // namespace korvala
