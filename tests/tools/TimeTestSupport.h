#pragma once
// Time-stamp helpers for the tools tests: time stamps as plain values,
// reading and writing a path's three stamps directly, and a time zone switched
// for one test.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/FileTimes.h"

namespace korvala::test {

inline timespec makeTimespec(time_t seconds, long nanoseconds)
{
    timespec t{};
    t.tv_sec = seconds;
    t.tv_nsec = nanoseconds;
    return t;
}

// Seconds since the epoch of a UTC calendar time.
inline time_t utcSeconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return timegm(&tm);
}

inline bool sameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

inline std::string describe(const timespec& t)
{
    std::tm tm{};
    const time_t s = t.tv_sec;
    gmtime_r(&s, &tm);
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%09ld UTC", tm.tm_year + 1900,
        tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<long>(t.tv_nsec));
    return text;
}

inline FileTimes timesOf(const std::string& path)
{
    FileTimes t;
    const std::error_code ec = readFileTimes(path, t);
    EXPECT_FALSE(ec) << path << ": " << ec.message();
    return t;
}

inline void setTimes(const std::string& path, const timespec& created, const timespec& modified,
    const timespec& accessed)
{
    const std::error_code ec = writeFileTimes(path, created, modified, accessed);
    ASSERT_FALSE(ec) << path << ": " << ec.message();
}

// Compares all three stamps to the nanosecond, naming the one that differs.
inline void expectTimes(const std::string& path, const timespec& created, const timespec& modified,
    const timespec& accessed)
{
    const FileTimes t = timesOf(path);
    EXPECT_TRUE(sameTime(t.created, created))
        << path << " created " << describe(t.created) << ", expected " << describe(created);
    EXPECT_TRUE(sameTime(t.modified, modified))
        << path << " modified " << describe(t.modified) << ", expected " << describe(modified);
    EXPECT_TRUE(sameTime(t.accessed, accessed))
        << path << " accessed " << describe(t.accessed) << ", expected " << describe(accessed);
}

// Sets TZ for the lifetime of the object and puts the old value back.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard()
    {
        if (m_old)
            setenv("TZ", m_old->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> m_old;
};

}  // namespace korvala::test
