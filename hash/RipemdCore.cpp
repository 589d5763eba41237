// RIPEMD-128 and RIPEMD-160 compression functions, each compiled twice: the
// copy built for BMI2 (rotates into a new register without touching the
// flags or the source) is chosen at run time where the processor has it.

#include "hash/CpuDispatch.h"
#include "hash/DigestCores.h"

namespace korvala::digest {

namespace {

constexpr int kLeftWord[80] = {
    0, 1, 2,  3,  4,  5,  6,  7,  8, 9, 10, 11, 12, 13, 14, 15, 7,  4,  13, 1,  10, 6,  15, 3,  12, 0, 9,
    5, 2, 14, 11, 8,  3,  10, 14, 4, 9, 15, 8,  1,  2,  7,  0,  6,  13, 11, 5,  12, 1,  9,  11, 10, 0, 8,
    12, 4, 13, 3, 7,  15, 14, 5,  6, 2, 4,  0,  5,  9,  7,  12, 2,  10, 14, 1,  3,  8,  11, 6,  15, 13,
};
constexpr int kRightWord[80] = {
    5,  14, 7,  0, 9, 2,  11, 4, 13, 6,  15, 8,  1,  10, 3,  12, 6,  11, 3,  7, 0, 13, 5,  10, 14, 15, 8,
    12, 4,  9,  1, 2, 15, 5,  1, 3,  7,  14, 6,  9,  11, 8,  12, 2,  10, 0,  4, 13, 8, 6,  4,  1,  3,  11,
    15, 0,  5,  12, 2, 13, 9,  7, 10, 14, 12, 15, 10, 4,  1,  5,  8,  7,  6,  2, 13, 14, 0, 3,  9,  11,
};
constexpr int kLeftShift[80] = {
    11, 14, 15, 12, 5,  8,  7,  9,  11, 13, 14, 15, 6,  7,  9,  8,  7,  6,  8,  13, 11, 9,  7,  15, 7,  12, 15,
    9,  11, 7,  13, 12, 11, 13, 6,  7,  14, 9,  13, 15, 14, 8,  13, 6,  5,  12, 7,  5,  11, 12, 14, 15, 14, 15,
    9,  8,  9,  14, 5,  6,  8,  6,  5,  12, 9,  15, 5,  11, 6,  8,  13, 12, 5,  12, 13, 14, 11, 8,  5,  6,
};
constexpr int kRightShift[80] = {
    8,  9,  9,  11, 13, 15, 15, 5,  7,  7,  8,  11, 14, 14, 12, 6,  9,  13, 15, 7,  12, 8,  9,  11, 7,  7,  12,
    7,  6,  15, 13, 11, 9,  7,  15, 11, 8,  6,  6,  14, 12, 13, 5,  14, 13, 13, 7,  5,  15, 5,  8,  11, 14, 14,
    6,  14, 6,  9,  12, 9,  12, 5,  15, 8,  8,  5,  12, 9,  12, 5,  14, 6,  8,  13, 6,  5,  15, 13, 11, 11,
};

// The five boolean functions; round j of the left line uses f(j), the right
// line f(rounds - 1 - j).
template <int J>
__attribute__((always_inline)) inline std::uint32_t ripemdF(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    if constexpr (J == 0)
        return x ^ y ^ z;
    else if constexpr (J == 1)
        return z ^ (x & (y ^ z));
    else if constexpr (J == 2)
        return (x | ~y) ^ z;
    else if constexpr (J == 3)
        return y ^ (z & (x ^ y));
    else
        return x ^ (y | ~z);
}

// t + f(x, y, z) for round function J. The line's chain runs through x (the
// word computed one step before); y and z are older. For J == 3 the function
// is the bitwise select (x & z) | (y & ~z), whose two halves are disjoint, so
// it is added in two parts: the part without x first, off the chain, leaving
// one AND and one addition after x instead of three operations. The empty asm
// keeps the compiler from folding the two additions back together.
template <int J>
__attribute__((always_inline)) inline std::uint32_t addF(std::uint32_t t, std::uint32_t x, std::uint32_t y,
                                                         std::uint32_t z)
{
    if constexpr (J == 3) {
        t += y & ~z;
        __asm__("" : "+r"(t));
        return t + (x & z);
    } else {
        return t + ripemdF<J>(x, y, z);
    }
}

constexpr std::uint32_t kLeftConstant160[5] = {0x00000000u, 0x5A827999u, 0x6ED9EBA1u, 0x8F1BBCDCu, 0xA953FD4Eu};
constexpr std::uint32_t kRightConstant160[5] = {0x50A28BE6u, 0x5C4DD124u, 0x6D703EF3u, 0x7A6D76E9u, 0x00000000u};
constexpr std::uint32_t kLeftConstant128[4] = {0x00000000u, 0x5A827999u, 0x6ED9EBA1u, 0x8F1BBCDCu};
constexpr std::uint32_t kRightConstant128[4] = {0x50A28BE6u, 0x5C4DD124u, 0x6D703EF3u, 0x00000000u};

template <int Round>
__attribute__((always_inline)) inline void round160(std::uint32_t& al, std::uint32_t& bl, std::uint32_t& cl, std::uint32_t& dl, std::uint32_t& el,
                     std::uint32_t& ar, std::uint32_t& br, std::uint32_t& cr, std::uint32_t& dr, std::uint32_t& er,
                     const std::uint32_t* x)
{
#pragma GCC unroll 16
    for (int i = Round * 16; i < Round * 16 + 16; ++i) {
        std::uint32_t t = al + x[kLeftWord[i]] + kLeftConstant160[Round];
        t = rotl32(addF<Round>(t, bl, cl, dl), kLeftShift[i]) + el;
        al = el;
        el = dl;
        dl = rotl32(cl, 10);
        cl = bl;
        bl = t;
        t = ar + x[kRightWord[i]] + kRightConstant160[Round];
        t = rotl32(addF<4 - Round>(t, br, cr, dr), kRightShift[i]) + er;
        ar = er;
        er = dr;
        dr = rotl32(cr, 10);
        cr = br;
        br = t;
    }
}

template <int Round>
__attribute__((always_inline)) inline void round128(std::uint32_t& al, std::uint32_t& bl, std::uint32_t& cl, std::uint32_t& dl, std::uint32_t& ar,
                     std::uint32_t& br, std::uint32_t& cr, std::uint32_t& dr, const std::uint32_t* x)
{
#pragma GCC unroll 16
    for (int i = Round * 16; i < Round * 16 + 16; ++i) {
        std::uint32_t t = al + x[kLeftWord[i]] + kLeftConstant128[Round];
        t = rotl32(addF<Round>(t, bl, cl, dl), kLeftShift[i]);
        al = dl;
        dl = cl;
        cl = bl;
        bl = t;
        t = ar + x[kRightWord[i]] + kRightConstant128[Round];
        t = rotl32(addF<3 - Round>(t, br, cr, dr), kRightShift[i]);
        ar = dr;
        dr = cr;
        cr = br;
        br = t;
    }
}

__attribute__((always_inline)) inline void compress160(std::uint32_t state[5], const std::uint8_t* data,
                                                       std::size_t blocks)
{
    for (; blocks != 0; --blocks, data += 64) {
        std::uint32_t x[16];
        for (int i = 0; i < 16; ++i)
            x[i] = loadLe32(data + 4 * i);
        std::uint32_t al = state[0], bl = state[1], cl = state[2], dl = state[3], el = state[4];
        std::uint32_t ar = al, br = bl, cr = cl, dr = dl, er = el;
        round160<0>(al, bl, cl, dl, el, ar, br, cr, dr, er, x);
        round160<1>(al, bl, cl, dl, el, ar, br, cr, dr, er, x);
        round160<2>(al, bl, cl, dl, el, ar, br, cr, dr, er, x);
        round160<3>(al, bl, cl, dl, el, ar, br, cr, dr, er, x);
        round160<4>(al, bl, cl, dl, el, ar, br, cr, dr, er, x);
        const std::uint32_t t = state[1] + cl + dr;
        state[1] = state[2] + dl + er;
        state[2] = state[3] + el + ar;
        state[3] = state[4] + al + br;
        state[4] = state[0] + bl + cr;
        state[0] = t;
    }
}

__attribute__((always_inline)) inline void compress128(std::uint32_t state[4], const std::uint8_t* data,
                                                       std::size_t blocks)
{
    for (; blocks != 0; --blocks, data += 64) {
        std::uint32_t x[16];
        for (int i = 0; i < 16; ++i)
            x[i] = loadLe32(data + 4 * i);
        std::uint32_t al = state[0], bl = state[1], cl = state[2], dl = state[3];
        std::uint32_t ar = al, br = bl, cr = cl, dr = dl;
        round128<0>(al, bl, cl, dl, ar, br, cr, dr, x);
        round128<1>(al, bl, cl, dl, ar, br, cr, dr, x);
        round128<2>(al, bl, cl, dl, ar, br, cr, dr, x);
        round128<3>(al, bl, cl, dl, ar, br, cr, dr, x);
        const std::uint32_t t = state[1] + cl + dr;
        state[1] = state[2] + dl + ar;
        state[2] = state[3] + al + br;
        state[3] = state[0] + bl + cr;
        state[0] = t;
    }
}

void compress160Generic(std::uint32_t state[5], const std::uint8_t* data, std::size_t blocks)
{
    compress160(state, data, blocks);
}

void compress128Generic(std::uint32_t state[4], const std::uint8_t* data, std::size_t blocks)
{
    compress128(state, data, blocks);
}

#if defined(__x86_64__)
__attribute__((target("bmi,bmi2"))) void compress160Bmi2(std::uint32_t state[5], const std::uint8_t* data,
                                                         std::size_t blocks)
{
    compress160(state, data, blocks);
}

__attribute__((target("bmi,bmi2"))) void compress128Bmi2(std::uint32_t state[4], const std::uint8_t* data,
                                                         std::size_t blocks)
{
    compress128(state, data, blocks);
}

bool useBmi2()
{
    static const bool has = __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
    return has && !portableDigestsOnly();
}
#endif

}  // namespace

void ripemd160Compress(std::uint32_t state[5], const std::uint8_t* data, std::size_t blocks)
{
#if defined(__x86_64__)
    if (useBmi2()) {
        compress160Bmi2(state, data, blocks);
        return;
    }
#endif
    compress160Generic(state, data, blocks);
}

void ripemd128Compress(std::uint32_t state[4], const std::uint8_t* data, std::size_t blocks)
{
#if defined(__x86_64__)
    if (useBmi2()) {
        compress128Bmi2(state, data, blocks);
        return;
    }
#endif
    compress128Generic(state, data, blocks);
}

}  // namespace korvala::digest
