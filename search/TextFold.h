#pragma once
// UTF-8 text as code points, and comparisons without regard to case (simple
// case folding, ASCII directly). Bytes that are not valid UTF-8 stand for
// themselves (as 0xDC00 + byte), so names in any encoding still compare.

#include <string>
#include <string_view>

namespace korvala {

// Decodes the character at s[i] and advances i past it.
char32_t decodeUtf8At(std::string_view s, size_t& i);

// The folded code points of a text.
std::u32string foldedCodePoints(std::string_view s);

// True when the two texts are equal without regard to case.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

bool isAsciiText(std::string_view s);

// UTF-8 -> UTF-16 (undecodable bytes become U+FFFD) and back.
std::u16string utf8ToUtf16(std::string_view s);

}  // namespace korvala
