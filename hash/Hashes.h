#pragma once
// The digest library: the twelve algorithms over a file's contents, each
// giving upper-case hexadecimal text.

#include <cstdint>
#include <string>

#include "hash/CRC32.h"
#include "hash/HashAlgorithm.h"
#include "hash/HexDigits.h"
#include "hash/MD5.h"

namespace korvala {

// Each sets `digest` to the digest text of the file's whole contents. An
// unopenable file throws KorvalaError "Cannot open file \"%s\". %s" (full path,
// system message); a read failing later throws "Cannot read file \"%s\". %s".
// `bufferSize` is the piece size callers traditionally pass (1024); the digest
// does not depend on it, and the file is read in large blocks whatever it is.
void MD4File(const std::string& fileName, std::uint32_t bufferSize, std::string& digest);
void RIPEMD128File(const std::string& fileName, std::uint32_t bufferSize, std::string& digest);
void RIPEMD160File(const std::string& fileName, std::uint32_t bufferSize, std::string& digest);
void SHA1File(const std::string& fileName, std::uint32_t bufferSize, std::string& digest);
void SHA256File(const std::string& fileName, std::uint32_t bufferSize, std::string& digest);
void SHA384File(const std::string& fileName, std::uint32_t bufferSize, std::string& digest);
void SHA512File(const std::string& fileName, std::uint32_t bufferSize, std::string& digest);
void Tiger128File(const std::string& fileName, std::uint32_t bufferSize, std::string& digest);
void Tiger160File(const std::string& fileName, std::uint32_t bufferSize, std::string& digest);
void Tiger192File(const std::string& fileName, std::uint32_t bufferSize, std::string& digest);

// The digest text of `fileName` for one algorithm: CRC32 as HexDigits(8,
// CRC32File) ("00000000" for an unreadable file), MD5 through MD5File (its
// errors begin "TFileStreamW: "), the others through their file functions.
std::string HashFileByAlgorithm(HashAlgorithm algorithm, const std::string& fileName);

}  // namespace korvala
