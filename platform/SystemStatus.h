#pragma once
// The machine's state shown in the status bar: memory load, battery charge, uptime.
// Errors: see platform/SystemError.h. The status bar shows the plain forms, whose
// values for "unknown" are the ones the bar has always shown.

#include <cstdint>
#include <string>
#include <system_error>

namespace korvala {

// 100 x (MemTotal - MemAvailable) / MemTotal, from /proc/meminfo; the error when it
// cannot be read (EINVAL when it does not hold both values).
std::error_code readMemoryLoad(uint32_t& percent);
// The same, 0 when unknown.
uint32_t memoryLoadPercent();

// The charge of the batteries in /sys/class/power_supply (the average when there are
// several); BATTERY_LIFE_UNKNOWN when there is none.
constexpr uint32_t BATTERY_LIFE_UNKNOWN = 255;
uint32_t batteryLifePercent();

// Milliseconds since boot, suspended time included (CLOCK_BOOTTIME).
std::error_code readUptime(uint64_t& milliseconds);
// The same, 0 when unknown.
uint64_t uptimeMilliseconds();

// "D Day(s) H Hour(s) M Minute(s) S Second(s)" of a millisecond count.
std::string formatUptime(uint64_t milliseconds);

}  // namespace korvala
