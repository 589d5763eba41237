#pragma once
// The candidate filter of the content scan: the first place where two chosen
// bytes of the phrase both appear at their offsets, each in either of two
// forms (its lower and upper case, or the same byte twice). Testing two bytes
// at once in vector registers leaves far fewer candidates to compare than one
// byte does, and costs the same whether or not case is ignored.

#include <cstddef>
#include <cstdint>

namespace korvala {

struct TScanAnchor {
    size_t offset = 0;  // position in the phrase
    uint8_t first = 0;  // the two forms the byte may take (equal when only one)
    uint8_t second = 0;
};

// The smallest s in [from, lim) with data[s + a.offset] and data[s + b.offset]
// each one of its anchor's forms, or `lim` when there is none. Every byte up to
// data[lim - 1 + max(a.offset, b.offset)] must be readable.
size_t findAnchored(const uint8_t* data, size_t from, size_t lim, TScanAnchor a, TScanAnchor b);

}  // namespace korvala
