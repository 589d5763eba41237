#pragma once
// Hexadecimal text of numbers as every digest and checksum prints it.

#include <cstdint>
#include <string>

namespace korvala {

// The lowest `count` (1 to 16) hexadecimal digits of `value`, most significant
// first, upper case; higher digits are dropped and missing ones are zeros.
std::string HexDigits(int count, std::uint64_t value);

// Appends every byte of `bytes` as two upper-case hexadecimal digits.
void appendHexBytes(std::string& out, const std::uint8_t* bytes, std::size_t count);

}  // namespace korvala
