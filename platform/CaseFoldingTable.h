#pragma once
// The simple case foldings of Unicode (one code point to one), sorted by the
// code point folded; generated at build time from the character database's
// CaseFolding.txt (Debian's unicode-data package).

#include <cstddef>

namespace korvala {

struct TCaseFolding {
    char32_t from;
    char32_t to;
};

extern const TCaseFolding kSimpleCaseFoldings[];
extern const size_t kSimpleCaseFoldingCount;

}  // namespace korvala
