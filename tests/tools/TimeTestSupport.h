#pragma once
// Time-stamp helpers for the tools tests: reading and writing a path's three
// stamps directly, and a time zone switched for one test.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "TestSupport.h"
#include "platform/FileTimes.h"

namespace korvala::test {

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
