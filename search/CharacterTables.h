#pragma once
// The lookup tables of the content search: case folding and the letter-or-digit
// test for single bytes and for UTF-16 code units. Built once, before any search,
// and only read afterwards (safe from every thread).
//
// The single-byte tables follow UTF-8: ASCII letters fold, bytes 0x80 and above
// are letters that fold to themselves (so a byte of a multi-byte character is
// never a word delimiter). The UTF-16 tables follow Unicode (the C.UTF-8 locale);
// the UTF-16 folding is the one names are compared with (platform/TextFold.h).

#include <cstdint>

namespace korvala {

struct CharacterTables {
    uint8_t SameCaseA[256];
    uint8_t LowerCaseA[256];
    uint8_t DelimiterA[256];
    uint16_t SameCaseW[65536];
    const uint16_t* LowerCaseW;  // 65536 entries, shared with lowerCaseTable16()
    uint8_t DelimiterW[65536];
};

// The tables, built on first use (thread-safe) and never changed.
const CharacterTables& characterTables();

}  // namespace korvala
