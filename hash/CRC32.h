#pragma once
// CRC-32 of a file and the CRC-style checksum of a short string.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvala {

// CRC-32 (ZIP, PNG) of the file's whole contents; 0 for a file that cannot be
// opened or read. Print it with HexDigits(8, value).
std::uint32_t CRC32File(const std::string& fileName);

// The same per-byte register step over the bytes of `text`, preset to
// 0xFFFFFFFF but without the final inversion; a register that ends at 0 gives 1.
std::uint32_t CRC32String(std::string_view text);

}  // namespace korvala
