#pragma once
// The machine's state shown in the status bar: memory load, battery charge, uptime.

#include <cstdint>
#include <string>

namespace korvala {

// 100 x (MemTotal - MemAvailable) / MemTotal, from /proc/meminfo; 0 when unknown.
uint32_t memoryLoadPercent();

// The charge of the batteries in /sys/class/power_supply (the average when there are
// several); BATTERY_LIFE_UNKNOWN when there is none.
constexpr uint32_t BATTERY_LIFE_UNKNOWN = 255;
uint32_t batteryLifePercent();

// Milliseconds since boot, suspended time included (CLOCK_BOOTTIME).
uint64_t uptimeMilliseconds();

// "D Day(s) H Hour(s) M Minute(s) S Second(s)" of a millisecond count.
std::string formatUptime(uint64_t milliseconds);

}  // namespace korvala
