#pragma once
// The checksum verifier (one file against a typed hash code) and the file
// comparer (the same digest of two files).

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "hash/HashAlgorithm.h"

namespace korvala {

inline constexpr std::string_view VerifySameText = "File Checksum is SAME";
inline constexpr std::string_view VerifyDifferentText = "File Checksum is DIFFERENT";
inline constexpr std::string_view CompareFirstLabel = "1st File Checksum : ";
inline constexpr std::string_view CompareSecondLabel = "2nd File Checksum : ";
inline constexpr std::string_view CompareSameText = "Both File Checksum are SAME";
inline constexpr std::string_view CompareDifferentText = "Both File Checksum are DIFFERENT";

// The comparer's algorithm list (SHA-384 and SHA-512 are not offered there);
// a position in it maps to the algorithm by name.
inline constexpr std::array<HashAlgorithm, 10> CompareAlgorithms = {
    HashAlgorithm::haCRC32,     HashAlgorithm::haMD4,    HashAlgorithm::haMD5,       HashAlgorithm::haRIPEMD128,
    HashAlgorithm::haRIPEMD160, HashAlgorithm::haSHA1,   HashAlgorithm::haSHA256,    HashAlgorithm::haTiger128,
    HashAlgorithm::haTiger160,  HashAlgorithm::haTiger192,
};

enum class ChecksumVerdict { cvSame, cvDifferent };

// "File Checksum is SAME" or "File Checksum is DIFFERENT".
std::string_view verifyVerdictText(ChecksumVerdict verdict);
// "Both File Checksum are SAME" or "Both File Checksum are DIFFERENT".
std::string_view compareVerdictText(ChecksumVerdict verdict);

// Computes the digest of `path` and compares it with `expected`, ignoring
// ASCII letter case and nothing else: surrounding spaces or line breaks make
// it different. A file that cannot be opened or read throws KorvalaError with
// its open or read error, with CRC32 too (unlike the generator's report, which
// writes "00000000" for it): no verdict is given about a file that was not read.
ChecksumVerdict VerifyFileChecksum(const std::string& path, HashAlgorithm algorithm, const std::string& expected);

struct CompareResult {
    std::string firstDigest;
    std::string secondDigest;
    ChecksumVerdict verdict = ChecksumVerdict::cvDifferent;
};

// Computes the digest of both files and compares the texts exactly.
// `cancelRequested` is polled between the 1 MiB blocks of each file's read and
// once between the two digests; when it answers true, `acceptCancel` is called
// and nothing is returned (the rest of the files is not read). Errors throw
// KorvalaError as for VerifyFileChecksum.
std::optional<CompareResult> CompareFileChecksums(const std::string& path1, const std::string& path2,
                                                  HashAlgorithm algorithm,
                                                  const std::function<bool()>& cancelRequested = {},
                                                  const std::function<void()>& acceptCancel = {});

}  // namespace korvala
