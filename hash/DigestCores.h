#pragma once
// Compression functions of the digest families and the block buffering they
// share. Internal to the digest library.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace korvala::digest {

// Each function compresses `blocks` whole blocks starting at `data`.
void md4Compress(std::uint32_t state[4], const std::uint8_t* data, std::size_t blocks);
void md5Compress(std::uint32_t state[4], const std::uint8_t* data, std::size_t blocks);
void ripemd128Compress(std::uint32_t state[4], const std::uint8_t* data, std::size_t blocks);
void ripemd160Compress(std::uint32_t state[5], const std::uint8_t* data, std::size_t blocks);
void sha512Compress(std::uint64_t state[8], const std::uint8_t* data, std::size_t blocks);
// SHA-512's forms, for the tests that compare them: the highest the processor
// runs (0 portable, 1 AVX2 with BMI, 2 also AVX-512), and the compression by
// one form (a form above the processor's runs the highest it has).
int sha512Levels();
void sha512CompressAt(int level, std::uint64_t state[8], const std::uint8_t* data, std::size_t blocks);
void tigerCompress(std::uint64_t state[3], const std::uint8_t* data, std::size_t blocks);

// SHA-1 and SHA-256 pick the SHA instructions or the portable code at run time;
// the named variants are there for the tests that compare both.
void sha1Compress(std::uint32_t state[5], const std::uint8_t* data, std::size_t blocks);
void sha1CompressPortable(std::uint32_t state[5], const std::uint8_t* data, std::size_t blocks);
void sha1CompressShaNi(std::uint32_t state[5], const std::uint8_t* data, std::size_t blocks);
void sha256Compress(std::uint32_t state[8], const std::uint8_t* data, std::size_t blocks);
void sha256CompressPortable(std::uint32_t state[8], const std::uint8_t* data, std::size_t blocks);
void sha256CompressShaNi(std::uint32_t state[8], const std::uint8_t* data, std::size_t blocks);

// CRC-32 (reflected polynomial 0xEDB88320) register update, without the
// initial or final inversion; the choice of kernel follows CpuDispatch.
std::uint32_t crc32Update(std::uint32_t reg, const std::uint8_t* data, std::size_t size);
std::uint32_t crc32UpdatePortable(std::uint32_t reg, const std::uint8_t* data, std::size_t size);
std::uint32_t crc32UpdateClmul(std::uint32_t reg, const std::uint8_t* data, std::size_t size);
std::uint32_t crc32UpdateVpclmul(std::uint32_t reg, const std::uint8_t* data, std::size_t size);

extern const std::uint64_t TigerSBoxes[4 * 256];

inline std::uint32_t rotl32(std::uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}
inline std::uint32_t rotr32(std::uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}
inline std::uint64_t rotr64(std::uint64_t x, int n)
{
    return (x >> n) | (x << (64 - n));
}
inline std::uint32_t loadLe32(const std::uint8_t* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;  // little-endian host
}
inline std::uint64_t loadLe64(const std::uint8_t* p)
{
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
inline std::uint32_t loadBe32(const std::uint8_t* p)
{
    return __builtin_bswap32(loadLe32(p));
}
inline std::uint64_t loadBe64(const std::uint8_t* p)
{
    return __builtin_bswap64(loadLe64(p));
}
inline void storeLe64(std::uint8_t* p, std::uint64_t v)
{
    std::memcpy(p, &v, 8);
}
inline void storeBe64(std::uint8_t* p, std::uint64_t v)
{
    v = __builtin_bswap64(v);
    std::memcpy(p, &v, 8);
}

// Input buffering of a block-oriented digest: whole blocks go straight from
// the caller's memory to the compression function, the rest waits here.
template <std::size_t BlockSize>
struct BlockBuffer {
    std::uint8_t data[BlockSize];
    std::size_t fill = 0;
    std::uint64_t completedBytes = 0;

    template <class Compress>
    void update(const std::uint8_t* p, std::size_t n, Compress&& compress)
    {
        if (fill != 0) {
            std::size_t take = BlockSize - fill < n ? BlockSize - fill : n;
            std::memcpy(data + fill, p, take);
            fill += take;
            p += take;
            n -= take;
            if (fill < BlockSize)
                return;
            compress(data, 1);
            completedBytes += BlockSize;
            fill = 0;
        }
        if (n >= BlockSize) {
            std::size_t blocks = n / BlockSize;
            compress(p, blocks);
            completedBytes += blocks * BlockSize;
            p += blocks * BlockSize;
            n -= blocks * BlockSize;
        }
        if (n != 0) {
            std::memcpy(data, p, n);
            fill = n;
        }
    }

    std::uint64_t messageBits() const { return (completedBytes + fill) * 8; }

    // Appends `marker`, then zeros so that exactly `tailBytes` bytes remain free
    // at the end of the last block (compressing a full block on the way when
    // the marker leaves too little room). The caller writes the tail and
    // compresses the final block.
    template <class Compress>
    void padTo(std::uint8_t marker, std::size_t tailBytes, Compress&& compress)
    {
        data[fill++] = marker;
        if (fill > BlockSize - tailBytes) {
            std::memset(data + fill, 0, BlockSize - fill);
            compress(data, 1);
            fill = 0;
        }
        std::memset(data + fill, 0, BlockSize - tailBytes - fill);
        fill = BlockSize - tailBytes;
    }

    // The closing step of the digests with a 64-bit length field: `marker`,
    // zeros, the message length in bits (little- or big-endian) in the last
    // eight bytes, and the final compression.
    template <class Compress>
    void finishWithBitLength(std::uint8_t marker, bool bigEndianLength, Compress&& compress)
    {
        const std::uint64_t bits = messageBits();
        padTo(marker, 8, compress);
        if (bigEndianLength)
            storeBe64(data + BlockSize - 8, bits);
        else
            storeLe64(data + BlockSize - 8, bits);
        compress(data, 1);
    }
};

}  // namespace korvala::digest
