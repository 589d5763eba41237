#include "update/Version.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace korvala {
namespace {

// A part as a 32-bit signed decimal integer (optional sign, digits only);
// anything else, an empty part or one out of range, is 0.
int32_t partValue(std::string_view part)
{
    if (!part.empty() && part.front() == '+')
        part.remove_prefix(1);
    if (part.empty() || part.front() == '+')
        return 0;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (error != std::errc() || end != part.data() + part.size())
        return 0;
    return value;
}

std::array<int32_t, 3> firstThreeParts(std::string_view text)
{
    std::array<int32_t, 3> parts {};
    for (int32_t& part : parts) {
        const size_t dot = text.find('.');
        part = partValue(text.substr(0, dot));
        if (dot == std::string_view::npos)
            break;  // the missing parts stay 0
        text.remove_prefix(dot + 1);
    }
    return parts;
}

}  // namespace

bool IsNewerVersion(std::string_view current, std::string_view latest)
{
    if (current.empty() || latest.empty())
        return false;
    return firstThreeParts(latest) > firstThreeParts(current);
}

}  // namespace korvala
