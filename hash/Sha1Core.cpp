// SHA-1 compression function (FIPS 180), portable form and run-time dispatch.

#include "hash/CpuDispatch.h"
#include "hash/DigestCores.h"

namespace korvala::digest {

void sha1CompressPortable(std::uint32_t state[5], const std::uint8_t* data, std::size_t blocks)
{
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    for (; blocks != 0; --blocks, data += 64) {
        std::uint32_t w[16];
        for (int i = 0; i < 16; ++i)
            w[i] = loadBe32(data + 4 * i);
        const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d, e0 = e;

#define SHA1_W(i) (w[(i) & 15] = rotl32(w[((i) + 13) & 15] ^ w[((i) + 8) & 15] ^ w[((i) + 2) & 15] ^ w[(i) & 15], 1))
#define SHA1_ROUND(f, k, wi)                                  \
    do {                                                      \
        std::uint32_t t = rotl32(a, 5) + (f) + e + (k) + (wi); \
        e = d;                                                \
        d = c;                                                \
        c = rotl32(b, 30);                                    \
        b = a;                                                \
        a = t;                                                \
    } while (0)

#pragma GCC unroll 16
        for (int i = 0; i < 16; ++i)
            SHA1_ROUND(d ^ (b & (c ^ d)), 0x5A827999u, w[i]);
#pragma GCC unroll 4
        for (int i = 16; i < 20; ++i)
            SHA1_ROUND(d ^ (b & (c ^ d)), 0x5A827999u, SHA1_W(i));
#pragma GCC unroll 20
        for (int i = 20; i < 40; ++i)
            SHA1_ROUND(b ^ c ^ d, 0x6ED9EBA1u, SHA1_W(i));
#pragma GCC unroll 20
        for (int i = 40; i < 60; ++i)
            SHA1_ROUND((b & c) | (d & (b | c)), 0x8F1BBCDCu, SHA1_W(i));
#pragma GCC unroll 20
        for (int i = 60; i < 80; ++i)
            SHA1_ROUND(b ^ c ^ d, 0xCA62C1D6u, SHA1_W(i));
#undef SHA1_W
#undef SHA1_ROUND

        a += a0;
        b += b0;
        c += c0;
        d += d0;
        e += e0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
    state[4] = e;
}

void sha1Compress(std::uint32_t state[5], const std::uint8_t* data, std::size_t blocks)
{
    if (useShaInstructions())
        sha1CompressShaNi(state, data, blocks);
    else
        sha1CompressPortable(state, data, blocks);
}

}  // namespace korvala::digest
