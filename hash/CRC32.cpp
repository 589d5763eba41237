#include "hash/CRC32.h"

#include "hash/DigestCores.h"
#include "hash/FileDigests.h"

namespace korvala {

std::uint32_t CRC32File(const std::string& fileName)
{
    HashAlgorithmSet only;
    only.set(static_cast<std::size_t>(HashAlgorithm::haCRC32));
    const FileDigestResult result = digestFile(fileName, only);
    if (!result.ok())
        return 0;
    return static_cast<std::uint32_t>(std::stoul(result.digests[0], nullptr, 16));
}

std::uint32_t CRC32String(std::string_view text)
{
    const std::uint32_t reg =
        digest::crc32Update(0xFFFFFFFFu, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return reg == 0 ? 1u : reg;
}

}  // namespace korvala
