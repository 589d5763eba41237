#include "JsonLines.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace korvala::cli {

bool isValidUtf8(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        // The bounds of the second byte exclude overlong forms (E0, F0),
        // surrogates (ED) and code points above U+10FFFF (F4).
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;  // a continuation byte, C0, C1 or F5 to FF
        }
        if (end - p < length || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i < length; ++i)
            if (p[i] < 0x80 || p[i] > 0xBF)
                return false;
        p += length;
    }
    return true;
}

std::string base64(std::string_view bytes)
{
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t n = uint32_t(uint8_t(bytes[i])) << 16 | uint32_t(uint8_t(bytes[i + 1])) << 8 |
            uint32_t(uint8_t(bytes[i + 2]));
        out += kDigits[n >> 18];
        out += kDigits[(n >> 12) & 63];
        out += kDigits[(n >> 6) & 63];
        out += kDigits[n & 63];
    }
    const size_t rest = bytes.size() - i;
    if (rest > 0) {
        uint32_t n = uint32_t(uint8_t(bytes[i])) << 16;
        if (rest == 2)
            n |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        out += kDigits[n >> 18];
        out += kDigits[(n >> 12) & 63];
        out += rest == 2 ? kDigits[(n >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string isoLocalTime(const timespec& utc)
{
    std::tm local{};
    const time_t seconds = utc.tv_sec;
    if (!localtime_r(&seconds, &local))
        return {};
    const long offset = local.tm_gmtoff / 60;
    const long absolute = std::labs(offset);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", local.tm_year + 1900,
        local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+',
        absolute / 60, absolute % 60);
    return text;
}

void putBytes(nlohmann::ordered_json& object, const std::string& key, std::string_view bytes)
{
    if (isValidUtf8(bytes))
        object[key] = std::string(bytes);
    else
        object[key + "_b64"] = base64(bytes);
}

void TJsonLines::write(const nlohmann::ordered_json& object)
{
    // Non-ASCII text stays as it is; control characters, quotes and
    // backslashes are escaped, so a line end in a name never ends the line.
    m_out << object.dump(-1, ' ', false);
    m_out.endLine();
}

}  // namespace korvala::cli
