#pragma once
// The twelve digest algorithms, in the order every algorithm list shows them.

#include <array>
#include <bitset>
#include <optional>
#include <string_view>

namespace korvala {

enum class HashAlgorithm : int {
    haCRC32 = 0,
    haMD4,
    haMD5,
    haRIPEMD128,
    haRIPEMD160,
    haSHA1,
    haSHA256,
    haSHA384,
    haSHA512,
    haTiger128,
    haTiger160,
    haTiger192,
};

inline constexpr int HashAlgorithmCount = 12;

// A choice of algorithms, indexed by the algorithm's position in the list.
using HashAlgorithmSet = std::bitset<HashAlgorithmCount>;

inline constexpr std::array<std::string_view, HashAlgorithmCount> HashAlgorithmNames = {
    "CRC32",   "MD4",     "MD5",     "RIPEMD-128", "RIPEMD-160", "SHA-1",
    "SHA-256", "SHA-384", "SHA-512", "Tiger-128",  "Tiger-160",  "Tiger-192",
};

// Number of hexadecimal digits in each algorithm's digest text.
inline constexpr std::array<int, HashAlgorithmCount> HashDigitCounts = {
    8, 32, 32, 32, 40, 40, 64, 96, 128, 32, 40, 48,
};

inline constexpr int algorithmIndex(HashAlgorithm algorithm)
{
    return static_cast<int>(algorithm);
}

inline constexpr std::string_view hashAlgorithmName(HashAlgorithm algorithm)
{
    return HashAlgorithmNames[static_cast<std::size_t>(algorithm)];
}

// The algorithm whose shown name equals `name`, ignoring ASCII letter case.
std::optional<HashAlgorithm> hashAlgorithmFromName(std::string_view name);

// A choice typed by a user: one algorithm name as above, or "all" (any case)
// for all twelve. Nothing for an unknown name.
std::optional<HashAlgorithmSet> hashAlgorithmChoice(std::string_view name);

}  // namespace korvala
