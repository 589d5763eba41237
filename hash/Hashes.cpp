#include "hash/Hashes.h"

#include "hash/FileDigests.h"

namespace korvala {

namespace {

std::string digestOf(HashAlgorithm algorithm, const std::string& fileName)
{
    HashAlgorithmSet only;
    only.set(static_cast<std::size_t>(algorithm));
    return digestTextOrThrow(digestFile(fileName, only), algorithm, fileName);
}

}  // namespace

void MD4File(const std::string& fileName, std::uint32_t, std::string& digest)
{
    digest = digestOf(HashAlgorithm::haMD4, fileName);
}

void RIPEMD128File(const std::string& fileName, std::uint32_t, std::string& digest)
{
    digest = digestOf(HashAlgorithm::haRIPEMD128, fileName);
}

void RIPEMD160File(const std::string& fileName, std::uint32_t, std::string& digest)
{
    digest = digestOf(HashAlgorithm::haRIPEMD160, fileName);
}

void SHA1File(const std::string& fileName, std::uint32_t, std::string& digest)
{
    digest = digestOf(HashAlgorithm::haSHA1, fileName);
}

void SHA256File(const std::string& fileName, std::uint32_t, std::string& digest)
{
    digest = digestOf(HashAlgorithm::haSHA256, fileName);
}

void SHA384File(const std::string& fileName, std::uint32_t, std::string& digest)
{
    digest = digestOf(HashAlgorithm::haSHA384, fileName);
}

void SHA512File(const std::string& fileName, std::uint32_t, std::string& digest)
{
    digest = digestOf(HashAlgorithm::haSHA512, fileName);
}

void Tiger128File(const std::string& fileName, std::uint32_t, std::string& digest)
{
    digest = digestOf(HashAlgorithm::haTiger128, fileName);
}

void Tiger160File(const std::string& fileName, std::uint32_t, std::string& digest)
{
    digest = digestOf(HashAlgorithm::haTiger160, fileName);
}

void Tiger192File(const std::string& fileName, std::uint32_t, std::string& digest)
{
    digest = digestOf(HashAlgorithm::haTiger192, fileName);
}

std::string HashFileByAlgorithm(HashAlgorithm algorithm, const std::string& fileName)
{
    // Every algorithm, MD5 included, goes through the same reader; the MD5
    // error keeps the "TFileStreamW: " prefix of its stream.
    return digestOf(algorithm, fileName);
}

}  // namespace korvala
