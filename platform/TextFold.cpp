#include "platform/TextFold.h"

#include <algorithm>
#include <memory>

#include "platform/CaseFoldingTable.h"

namespace korvala {
namespace {

// The simple folding of a code point outside ASCII: the table's entry, or the
// code point itself when it has none.
char32_t foldFromTable(char32_t c)
{
    const TCaseFolding* first = kSimpleCaseFoldings;
    const TCaseFolding* last = kSimpleCaseFoldings + kSimpleCaseFoldingCount;
    const TCaseFolding* at = std::lower_bound(first, last, c, [](const TCaseFolding& f, char32_t v) { return f.from < v; });
    return at != last && at->from == c ? at->to : c;
}

std::unique_ptr<uint16_t[]> buildLowerCase16()
{
    auto t = std::make_unique<uint16_t[]>(65536);
    for (unsigned u = 0; u < 65536; ++u)
        t[u] = static_cast<uint16_t>(u);
    for (unsigned u = 0; u < 0x80; ++u)
        t[u] = static_cast<uint16_t>(asciiLower(static_cast<char>(u)));
    // Every folding of the 16-bit range lands in it (surrogates, which stand
    // for kept bytes, have none).
    for (size_t k = 0; k < kSimpleCaseFoldingCount; ++k)
        if (kSimpleCaseFoldings[k].from < 0x10000 && kSimpleCaseFoldings[k].to < 0x10000)
            t[kSimpleCaseFoldings[k].from] = static_cast<uint16_t>(kSimpleCaseFoldings[k].to);
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

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
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
    return foldFromTable(c);
}

std::u32string foldedCodePoints(std::string_view s)
{
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();)
        out.push_back(foldCodePoint(decodeUtf8At(s, i)));
    return out;
}

std::string foldedText(std::string_view s)
{
    std::string out;
    if (isAsciiText(s)) {
        out.assign(s);
        for (char& c : out)
            c = asciiLower(c);
        return out;
    }
    out.reserve(s.size());
    for (char32_t c : foldedCodePoints(s)) {
        if (c >= 0xDC80 && c <= 0xDCFF)
            out += static_cast<char>(c - 0xDC00);
        else
            appendUtf8(out, c);
    }
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
