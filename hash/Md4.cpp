// MD4 compression function (RFC 1320).

#include "hash/DigestCores.h"

namespace korvala::digest {

namespace {

inline std::uint32_t md4F(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return z ^ (x & (y ^ z));
}
inline std::uint32_t md4G(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return (x & y) | (z & (x | y));
}
inline std::uint32_t md4H(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return x ^ y ^ z;
}

}  // namespace

// The word and constant are added before the function of b, c and d, so
// that only the last additions wait for the step before.
#define MD4_STEP(f, a, b, c, d, x, s) \
    a += (x);                         \
    a = rotl32(a + f(b, c, d), s)

void md4Compress(std::uint32_t state[4], const std::uint8_t* data, std::size_t blocks)
{
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (; blocks != 0; --blocks, data += 64) {
        std::uint32_t x[16];
        for (int i = 0; i < 16; ++i)
            x[i] = loadLe32(data + 4 * i);
        const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

        for (int i = 0; i < 16; i += 4) {
            MD4_STEP(md4F, a, b, c, d, x[i], 3);
            MD4_STEP(md4F, d, a, b, c, x[i + 1], 7);
            MD4_STEP(md4F, c, d, a, b, x[i + 2], 11);
            MD4_STEP(md4F, b, c, d, a, x[i + 3], 19);
        }
        for (int i = 0; i < 4; ++i) {
            MD4_STEP(md4G, a, b, c, d, x[i] + 0x5A827999u, 3);
            MD4_STEP(md4G, d, a, b, c, x[i + 4] + 0x5A827999u, 5);
            MD4_STEP(md4G, c, d, a, b, x[i + 8] + 0x5A827999u, 9);
            MD4_STEP(md4G, b, c, d, a, x[i + 12] + 0x5A827999u, 13);
        }
        static constexpr int order3[4] = {0, 2, 1, 3};
        for (int k = 0; k < 4; ++k) {
            const int i = order3[k];
            MD4_STEP(md4H, a, b, c, d, x[i] + 0x6ED9EBA1u, 3);
            MD4_STEP(md4H, d, a, b, c, x[i + 8] + 0x6ED9EBA1u, 9);
            MD4_STEP(md4H, c, d, a, b, x[i + 4] + 0x6ED9EBA1u, 11);
            MD4_STEP(md4H, b, c, d, a, x[i + 12] + 0x6ED9EBA1u, 15);
        }
        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

}  // namespace korvala::digest
