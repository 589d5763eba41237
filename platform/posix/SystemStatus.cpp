#include "platform/SystemStatus.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include <dirent.h>

#include "platform/SystemError.h"

namespace korvala {

namespace {

constexpr const char* POWER_SUPPLY_DIR = "/sys/class/power_supply";

std::string firstLine(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

}  // namespace

std::error_code readMemoryLoad(uint32_t& percent)
{
    std::ifstream in("/proc/meminfo");
    if (!in)
        return systemError(errno ? errno : ENOENT);
    std::string line;
    unsigned long long total = 0, available = 0;
    bool haveTotal = false, haveAvailable = false;
    while (std::getline(in, line) && !(haveTotal && haveAvailable)) {
        std::istringstream fields(line);
        std::string key;
        unsigned long long kib = 0;
        if (!(fields >> key >> kib))
            continue;
        if (key == "MemTotal:") {
            total = kib;
            haveTotal = true;
        } else if (key == "MemAvailable:") {
            available = kib;
            haveAvailable = true;
        }
    }
    if (!haveTotal || !haveAvailable || total == 0 || available > total)
        return systemError(EINVAL);
    percent = static_cast<uint32_t>(100 * (total - available) / total);
    return {};
}

uint32_t memoryLoadPercent()
{
    uint32_t percent = 0;
    return readMemoryLoad(percent) ? 0 : percent;
}

uint32_t batteryLifePercent()
{
    DIR* dir = ::opendir(POWER_SUPPLY_DIR);
    if (!dir)
        return BATTERY_LIFE_UNKNOWN;
    unsigned sum = 0, count = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string base = std::string(POWER_SUPPLY_DIR) + "/" + entry->d_name;
        if (firstLine(base + "/type") != "Battery")
            continue;
        // Some supplies of type Battery (a mouse, a headset) are not the machine's.
        const std::string scope = firstLine(base + "/scope");
        if (scope == "Device")
            continue;
        const std::string capacity = firstLine(base + "/capacity");
        char* end = nullptr;
        const long value = std::strtol(capacity.c_str(), &end, 10);
        if (capacity.empty() || *end != '\0' || value < 0 || value > 100)
            continue;
        sum += static_cast<unsigned>(value);
        ++count;
    }
    ::closedir(dir);
    return count == 0 ? BATTERY_LIFE_UNKNOWN : sum / count;
}

std::error_code readUptime(uint64_t& milliseconds)
{
    timespec ts{};
    if (::clock_gettime(CLOCK_BOOTTIME, &ts) != 0)
        return systemError(errno);
    milliseconds = static_cast<uint64_t>(ts.tv_sec) * 1000 + static_cast<uint64_t>(ts.tv_nsec) / 1000000;
    return {};
}

uint64_t uptimeMilliseconds()
{
    uint64_t milliseconds = 0;
    return readUptime(milliseconds) ? 0 : milliseconds;
}

std::string formatUptime(uint64_t milliseconds)
{
    const uint64_t days = milliseconds / 86400000;
    const uint64_t hours = milliseconds % 86400000 / 3600000;
    const uint64_t minutes = milliseconds % 3600000 / 60000;
    const uint64_t seconds = milliseconds % 60000 / 1000;
    return std::to_string(days) + " Day(s) " + std::to_string(hours) + " Hour(s) " + std::to_string(minutes) +
        " Minute(s) " + std::to_string(seconds) + " Second(s)";
}

}  // namespace korvala
