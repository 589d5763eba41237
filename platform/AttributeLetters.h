#pragma once
// The five-letter form of an attribute word that the attribute column of every
// list shows: S, R, H, A, D in this order, "_" for each one absent ("_R_A_" for
// a read-only archived file).

#include <cstdint>
#include <string>

namespace korvala {

std::string attributeLetters(uint32_t word);

}  // namespace korvala
