#include "search/TextFold.h"

#include "search/CharacterTables.h"

namespace korvala {

char32_t decodeUtf8At(std::string_view s, size_t& i)
{
    unsigned char b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    int len = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return 0xDC00 + b;
    }
    char32_t c = b & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        unsigned char cb = static_cast<unsigned char>(s[i + k]);
        if ((cb & 0xC0) != 0x80) {
            ++i;
            return 0xDC00 + b;
        }
        c = (c << 6) | (cb & 0x3F);
    }
    // Overlong forms and surrogates are not characters: keep the lead byte apart.
    if ((len == 2 && c < 0x80) || (len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
        (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return 0xDC00 + b;
    }
    i += len;
    return c;
}

bool isAsciiText(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::u32string foldedCodePoints(std::string_view s)
{
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        char32_t c = decodeUtf8At(s, i);
        out.push_back(c >= 0xDC80 && c <= 0xDCFF ? c : lowerCodePoint(c));
    }
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (isAsciiText(a) && isAsciiText(b)) {
        if (a.size() != b.size())
            return false;
        const auto& lower = characterTables().LowerCaseA;
        for (size_t i = 0; i < a.size(); ++i)
            if (lower[static_cast<unsigned char>(a[i])] != lower[static_cast<unsigned char>(b[i])])
                return false;
        return true;
    }
    return foldedCodePoints(a) == foldedCodePoints(b);
}

std::u16string utf8ToUtf16(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        char32_t c = decodeUtf8At(s, i);
        if (c >= 0xDC80 && c <= 0xDCFF)
            c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

}  // namespace korvala
