#include "hash/HexDigits.h"

namespace korvala {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";
}

std::string HexDigits(int count, std::uint64_t value)
{
    if (count < 1)
        count = 1;
    if (count > 16)
        count = 16;
    std::string text(static_cast<std::size_t>(count), '0');
    for (int i = count - 1; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return text;
}

void appendHexBytes(std::string& out, const std::uint8_t* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 0xF]);
    }
}

}  // namespace korvala
