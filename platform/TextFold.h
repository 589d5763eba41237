#pragma once
// UTF-8 text as code points, and comparisons without regard to case (simple
// case folding, ASCII directly). Bytes that are not valid UTF-8 (overlong forms,
// surrogates, stray or truncated sequences) stand for themselves as 0xDC00 + byte,
// so names in any encoding still compare byte for byte. Folder masks and the
// search criteria both go through here, so they agree on every name.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvala {

// Decodes the character at s[i] and advances i past it.
char32_t decodeUtf8At(std::string_view s, size_t& i);
// Appends the UTF-8 form of code point c (c below 0x110000).
void appendUtf8(std::string& out, char32_t c);

// ASCII letters to lower case, every other byte unchanged.
constexpr char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool isAsciiText(std::string_view s);

// Unicode simple case folding of one code point (CaseFolding.txt, statuses C
// and S): one code point always folds to one, so "ß" stays "ß", while "ς" and
// "σ", "ſ" and "s", "µ" and "μ" fold alike. A kept byte (0xDC80..0xDCFF)
// folds to itself.
char32_t foldCodePoint(char32_t c);

// The folding of the 16-bit range as a table of 65536 entries, built once on
// first use (thread-safe) and never changed.
const uint16_t* lowerCaseTable16();

// The folded code points of a text.
std::u32string foldedCodePoints(std::string_view s);

// The text folded to its case-free form, as UTF-8 (undecodable bytes come back
// as themselves): two texts equal without regard to case give the same bytes,
// and byte order is code point order.
std::string foldedText(std::string_view s);

// True when the two texts are equal without regard to case.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// UTF-8 -> UTF-16 (undecodable bytes become U+FFFD).
std::u16string utf8ToUtf16(std::string_view s);

}  // namespace korvala
