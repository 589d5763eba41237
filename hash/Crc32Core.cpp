// CRC-32 (the ZIP and PNG checksum, reflected polynomial 0xEDB88320):
// slicing-by-16 tables for any processor, and the run-time dispatch to the
// carry-less multiply kernel.

#include "hash/CpuDispatch.h"
#include "hash/DigestCores.h"

#include <array>

namespace korvala::digest {

namespace {

using SliceTables = std::array<std::array<std::uint32_t, 256>, 16>;

constexpr SliceTables makeTables()
{
    SliceTables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t r = i;
        for (int k = 0; k < 8; ++k)
            r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
        t[0][i] = r;
    }
    for (std::size_t s = 1; s < 16; ++s)
        for (std::size_t i = 0; i < 256; ++i)
            t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
    return t;
}

constexpr SliceTables kTables = makeTables();

}  // namespace

std::uint32_t crc32UpdatePortable(std::uint32_t reg, const std::uint8_t* p, std::size_t n)
{
    const auto& t = kTables;
    while (n >= 16) {
        const std::uint32_t w0 = loadLe32(p) ^ reg;
        const std::uint32_t w1 = loadLe32(p + 4);
        const std::uint32_t w2 = loadLe32(p + 8);
        const std::uint32_t w3 = loadLe32(p + 12);
        reg = t[15][w0 & 0xFF] ^ t[14][(w0 >> 8) & 0xFF] ^ t[13][(w0 >> 16) & 0xFF] ^ t[12][w0 >> 24]
              ^ t[11][w1 & 0xFF] ^ t[10][(w1 >> 8) & 0xFF] ^ t[9][(w1 >> 16) & 0xFF] ^ t[8][w1 >> 24]
              ^ t[7][w2 & 0xFF] ^ t[6][(w2 >> 8) & 0xFF] ^ t[5][(w2 >> 16) & 0xFF] ^ t[4][w2 >> 24]
              ^ t[3][w3 & 0xFF] ^ t[2][(w3 >> 8) & 0xFF] ^ t[1][(w3 >> 16) & 0xFF] ^ t[0][w3 >> 24];
        p += 16;
        n -= 16;
    }
    while (n-- != 0)
        reg = t[0][(reg ^ *p++) & 0xFF] ^ (reg >> 8);
    return reg;
}

std::uint32_t crc32Update(std::uint32_t reg, const std::uint8_t* data, std::size_t size)
{
    if (size >= 64 && useCarrylessMultiply()) {
        if (size >= 512 && useWideCarrylessMultiply())
            return crc32UpdateVpclmul(reg, data, size);
        return crc32UpdateClmul(reg, data, size);
    }
    return crc32UpdatePortable(reg, data, size);
}

}  // namespace korvala::digest
