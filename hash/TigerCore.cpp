// Tiger compression function (1996 definition: three passes, multipliers 5,
// 7 and 9, key schedule between the passes).

#include "hash/DigestCores.h"

namespace korvala::digest {

namespace {

const std::uint64_t* const t1 = TigerSBoxes;
const std::uint64_t* const t2 = TigerSBoxes + 256;
const std::uint64_t* const t3 = TigerSBoxes + 512;
const std::uint64_t* const t4 = TigerSBoxes + 768;

#define TIGER_ROUND(a, b, c, x, mul)                                                                    \
    c ^= x;                                                                                             \
    a -= t1[static_cast<std::uint8_t>(c)] ^ t2[static_cast<std::uint8_t>(c >> 16)]                      \
         ^ t3[static_cast<std::uint8_t>(c >> 32)] ^ t4[static_cast<std::uint8_t>(c >> 48)];             \
    b += t4[static_cast<std::uint8_t>(c >> 8)] ^ t3[static_cast<std::uint8_t>(c >> 24)]                 \
         ^ t2[static_cast<std::uint8_t>(c >> 40)] ^ t1[static_cast<std::uint8_t>(c >> 56)];             \
    b *= mul;

#define TIGER_PASS(a, b, c, mul)       \
    TIGER_ROUND(a, b, c, x0, mul)      \
    TIGER_ROUND(b, c, a, x1, mul)      \
    TIGER_ROUND(c, a, b, x2, mul)      \
    TIGER_ROUND(a, b, c, x3, mul)      \
    TIGER_ROUND(b, c, a, x4, mul)      \
    TIGER_ROUND(c, a, b, x5, mul)      \
    TIGER_ROUND(a, b, c, x6, mul)      \
    TIGER_ROUND(b, c, a, x7, mul)

#define TIGER_KEY_SCHEDULE                 \
    x0 -= x7 ^ 0xA5A5A5A5A5A5A5A5ULL;      \
    x1 ^= x0;                              \
    x2 += x1;                              \
    x3 -= x2 ^ ((~x1) << 19);              \
    x4 ^= x3;                              \
    x5 += x4;                              \
    x6 -= x5 ^ ((~x4) >> 23);              \
    x7 ^= x6;                              \
    x0 += x7;                              \
    x1 -= x0 ^ ((~x7) << 19);              \
    x2 ^= x1;                              \
    x3 += x2;                              \
    x4 -= x3 ^ ((~x2) >> 23);              \
    x5 ^= x4;                              \
    x6 += x5;                              \
    x7 -= x6 ^ 0x0123456789ABCDEFULL;

}  // namespace

void tigerCompress(std::uint64_t state[3], const std::uint8_t* data, std::size_t blocks)
{
    std::uint64_t a = state[0], b = state[1], c = state[2];
    for (; blocks != 0; --blocks, data += 64) {
        std::uint64_t x0 = loadLe64(data), x1 = loadLe64(data + 8), x2 = loadLe64(data + 16),
                      x3 = loadLe64(data + 24), x4 = loadLe64(data + 32), x5 = loadLe64(data + 40),
                      x6 = loadLe64(data + 48), x7 = loadLe64(data + 56);
        const std::uint64_t a0 = a, b0 = b, c0 = c;
        TIGER_PASS(a, b, c, 5)
        TIGER_KEY_SCHEDULE
        TIGER_PASS(c, a, b, 7)
        TIGER_KEY_SCHEDULE
        TIGER_PASS(b, c, a, 9)
        a ^= a0;
        b -= b0;
        c += c0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
}

}  // namespace korvala::digest
