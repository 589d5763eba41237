#include "platform/TextFold.h"

#include <cwctype>
#include <memory>

#include <locale.h>

namespace korvala {
namespace {

locale_t unicodeLocale()
{
    static locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return loc;
}

std::unique_ptr<uint16_t[]> buildLowerCase16()
{
    auto t = std::make_unique<uint16_t[]>(65536);
    locale_t loc = unicodeLocale();
    for (unsigned u = 0; u < 65536; ++u) {
        bool surrogate = u >= 0xD800 && u <= 0xDFFF;
        if (u < 0x80) {
            t[u] = static_cast<uint16_t>(asciiLower(static_cast<char>(u)));
        } else if (surrogate || !loc) {
            t[u] = static_cast<uint16_t>(u);
        } else {
            wint_t lower = towlower_l(static_cast<wint_t>(u), loc);
            t[u] = lower <= 0xFFFF ? static_cast<uint16_t>(lower) : static_cast<uint16_t>(u);
        }
    }
    return t;
}

}  // namespace

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

const uint16_t* lowerCaseTable16()
{
    static const std::unique_ptr<uint16_t[]> table = buildLowerCase16();
    return table.get();
}

char32_t foldCodePoint(char32_t c)
{
    if (c < 0x80)
        return static_cast<char32_t>(asciiLower(static_cast<char>(c)));
    if (c < 0x10000)
        return lowerCaseTable16()[c];  // kept bytes are surrogates: table leaves them
    locale_t loc = unicodeLocale();
    return loc ? static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), loc)) : c;
}

std::u32string foldedCodePoints(std::string_view s)
{
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();)
        out.push_back(foldCodePoint(decodeUtf8At(s, i)));
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (isAsciiText(a) && isAsciiText(b)) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (asciiLower(a[i]) != asciiLower(b[i]))
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

// Built at start-up so that no listing or search thread ever builds it.
namespace {
[[maybe_unused]] const uint16_t* g_lowerCaseAtStart = lowerCaseTable16();
}

}  // namespace korvala
