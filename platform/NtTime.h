#pragma once
// NT time stamps (100-nanosecond units since 1601-01-01 UTC), as the attribute stores
// of SMB and NTFS keep creation times.

#include <cstdint>
#include <ctime>

namespace korvala {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t NTTIME_UNIX_EPOCH_SECONDS = 11644473600LL;

// (unix seconds + 11644473600) x 10^7 + nanoseconds / 100. Instants before 1601
// have no NT form and give 0 (which the stores read as "no time").
inline uint64_t timespecToNtTime(const timespec& ts)
{
    const int64_t seconds = static_cast<int64_t>(ts.tv_sec) + NTTIME_UNIX_EPOCH_SECONDS;
    if (seconds < 0)
        return 0;
    return static_cast<uint64_t>(seconds) * 10000000ULL + static_cast<uint64_t>(ts.tv_nsec) / 100;
}

inline timespec ntTimeToTimespec(uint64_t nt)
{
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(static_cast<int64_t>(nt / 10000000ULL) - NTTIME_UNIX_EPOCH_SECONDS);
    ts.tv_nsec = static_cast<long>((nt % 10000000ULL) * 100);
    return ts;
}

}  // namespace korvala
