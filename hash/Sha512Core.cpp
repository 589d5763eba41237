// SHA-512 compression function (FIPS 180), shared by SHA-384 and SHA-512:
// a portable form, and forms that compute the message schedule of four (AVX2)
// or eight (AVX-512, woven into the rounds of the eight before) blocks at once
// in vector registers, chosen at run time.
// The portable switch of CpuDispatch selects the portable form.

#include "hash/CpuDispatch.h"
#include "hash/DigestCores.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace korvala::digest {

namespace {

const std::uint64_t kRoundConstants[80] = {
    0x428A2F98D728AE22ULL, 0x7137449123EF65CDULL, 0xB5C0FBCFEC4D3B2FULL, 0xE9B5DBA58189DBBCULL,
    0x3956C25BF348B538ULL, 0x59F111F1B605D019ULL, 0x923F82A4AF194F9BULL, 0xAB1C5ED5DA6D8118ULL,
    0xD807AA98A3030242ULL, 0x12835B0145706FBEULL, 0x243185BE4EE4B28CULL, 0x550C7DC3D5FFB4E2ULL,
    0x72BE5D74F27B896FULL, 0x80DEB1FE3B1696B1ULL, 0x9BDC06A725C71235ULL, 0xC19BF174CF692694ULL,
    0xE49B69C19EF14AD2ULL, 0xEFBE4786384F25E3ULL, 0x0FC19DC68B8CD5B5ULL, 0x240CA1CC77AC9C65ULL,
    0x2DE92C6F592B0275ULL, 0x4A7484AA6EA6E483ULL, 0x5CB0A9DCBD41FBD4ULL, 0x76F988DA831153B5ULL,
    0x983E5152EE66DFABULL, 0xA831C66D2DB43210ULL, 0xB00327C898FB213FULL, 0xBF597FC7BEEF0EE4ULL,
    0xC6E00BF33DA88FC2ULL, 0xD5A79147930AA725ULL, 0x06CA6351E003826FULL, 0x142929670A0E6E70ULL,
    0x27B70A8546D22FFCULL, 0x2E1B21385C26C926ULL, 0x4D2C6DFC5AC42AEDULL, 0x53380D139D95B3DFULL,
    0x650A73548BAF63DEULL, 0x766A0ABB3C77B2A8ULL, 0x81C2C92E47EDAEE6ULL, 0x92722C851482353BULL,
    0xA2BFE8A14CF10364ULL, 0xA81A664BBC423001ULL, 0xC24B8B70D0F89791ULL, 0xC76C51A30654BE30ULL,
    0xD192E819D6EF5218ULL, 0xD69906245565A910ULL, 0xF40E35855771202AULL, 0x106AA07032BBD1B8ULL,
    0x19A4C116B8D2D0C8ULL, 0x1E376C085141AB53ULL, 0x2748774CDF8EEB99ULL, 0x34B0BCB5E19B48A8ULL,
    0x391C0CB3C5C95A63ULL, 0x4ED8AA4AE3418ACBULL, 0x5B9CCA4F7763E373ULL, 0x682E6FF3D6B2B8A3ULL,
    0x748F82EE5DEFB2FCULL, 0x78A5636F43172F60ULL, 0x84C87814A1F0AB72ULL, 0x8CC702081A6439ECULL,
    0x90BEFFFA23631E28ULL, 0xA4506CEBDE82BDE9ULL, 0xBEF9A3F7B2C67915ULL, 0xC67178F2E372532BULL,
    0xCA273ECEEA26619CULL, 0xD186B8C721C0C207ULL, 0xEADA7DD6CDE0EB1EULL, 0xF57D4F7FEE6ED178ULL,
    0x06F067AA72176FBAULL, 0x0A637DC5A2C898A6ULL, 0x113F9804BEF90DAEULL, 0x1B710B35131C471BULL,
    0x28DB77F523047D84ULL, 0x32CAAB7B40C72493ULL, 0x3C9EBE0A15C9BEBCULL, 0x431D67C49C100D4CULL,
    0x4CC5D4BECB3E42B6ULL, 0x597F299CFC657E2AULL, 0x5FCB6FAB3AD6FAECULL, 0x6C44198C4A475817ULL,
};

// One round; the callers rename the eight working variables instead of moving
// them, `wk` is W[i] + K[i]. The round is bound by how many operations the
// integer units can start per cycle, so it is written with the fewest: Ch as
// the disjoint (e & f) + (~e & g) (one AND-NOT), Maj(a, b, c) as
// ((a ^ b) & (b ^ c)) ^ b, where b ^ c of one round is a ^ b of the round
// before, carried in `bc`.
#define KORVALA_SHA512_ROUND(a, b, c, d, e, f, g, h, wk)                                                 \
    do {                                                                                                  \
        std::uint64_t t1 = h + (wk) + (e & f) + (~e & g) + (rotr64(e, 14) ^ rotr64(e, 18) ^ rotr64(e, 41)); \
        const std::uint64_t ab = a ^ b;                                                                   \
        d += t1;                                                                                          \
        h = t1 + ((ab & bc) ^ b) + (rotr64(a, 28) ^ rotr64(a, 34) ^ rotr64(a, 39));                       \
        bc = ab;                                                                                          \
    } while (0)

// Eight rounds starting at round `i`: after them every variable is back in its
// own name.
#define KORVALA_SHA512_EIGHT(i, WK)                                                                       \
    do {                                                                                                  \
        KORVALA_SHA512_ROUND(a, b, c, d, e, f, g, h, WK((i) + 0));                                        \
        KORVALA_SHA512_ROUND(h, a, b, c, d, e, f, g, WK((i) + 1));                                        \
        KORVALA_SHA512_ROUND(g, h, a, b, c, d, e, f, WK((i) + 2));                                        \
        KORVALA_SHA512_ROUND(f, g, h, a, b, c, d, e, WK((i) + 3));                                        \
        KORVALA_SHA512_ROUND(e, f, g, h, a, b, c, d, WK((i) + 4));                                        \
        KORVALA_SHA512_ROUND(d, e, f, g, h, a, b, c, WK((i) + 5));                                        \
        KORVALA_SHA512_ROUND(c, d, e, f, g, h, a, b, WK((i) + 6));                                        \
        KORVALA_SHA512_ROUND(b, c, d, e, f, g, h, a, WK((i) + 7));                                        \
    } while (0)

// The 80 rounds of one block from W + K already computed (`wk[i * stride]`);
// `between(k)` runs after the k-th eight rounds (other work to interleave
// with them).
struct NothingBetween {
    void operator()(int) const {}
};
template <class Between = NothingBetween>
__attribute__((always_inline)) inline void roundsFromSchedule(std::uint64_t state[8], const std::uint64_t* wk,
                                                              std::size_t stride, Between&& between = {})
{
    std::uint64_t a = state[0], b = state[1], c = state[2], d = state[3];
    std::uint64_t e = state[4], f = state[5], g = state[6], h = state[7];
    std::uint64_t bc = b ^ c;
#define KORVALA_SHA512_WK_TABLE(i) wk[(i) * stride]
#pragma GCC unroll 10
    for (int i = 0; i < 80; i += 8) {
        KORVALA_SHA512_EIGHT(i, KORVALA_SHA512_WK_TABLE);
        between(i / 8);
    }
#undef KORVALA_SHA512_WK_TABLE
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
}

// Word i of the schedule (i >= 16), computed in the ring of the last 16.
inline std::uint64_t nextWord(std::uint64_t w[16], int i)
{
    const std::uint64_t w15 = w[(i + 1) & 15], w2 = w[(i + 14) & 15];
    const std::uint64_t s0 = rotr64(w15, 1) ^ rotr64(w15, 8) ^ (w15 >> 7);
    const std::uint64_t s1 = rotr64(w2, 19) ^ rotr64(w2, 61) ^ (w2 >> 6);
    return w[i & 15] += s0 + w[(i + 9) & 15] + s1;
}

// Portable form: the schedule is kept as a ring of 16 words, computed round by
// round, the rounds unrolled eight at a time.
__attribute__((always_inline)) inline void compressBlocks(std::uint64_t state[8], const std::uint8_t* data,
                                                          std::size_t blocks)
{
    for (; blocks != 0; --blocks, data += 128) {
        std::uint64_t w[16];
        for (int i = 0; i < 16; ++i)
            w[i] = loadBe64(data + 8 * i);
        std::uint64_t a = state[0], b = state[1], c = state[2], d = state[3];
        std::uint64_t e = state[4], f = state[5], g = state[6], h = state[7];
        std::uint64_t bc = b ^ c;
#define KORVALA_SHA512_WK_FIRST(i) (w[(i)] + kRoundConstants[(i)])
#define KORVALA_SHA512_WK_NEXT(i) (kRoundConstants[(i)] + nextWord(w, (i)))
        KORVALA_SHA512_EIGHT(0, KORVALA_SHA512_WK_FIRST);
        KORVALA_SHA512_EIGHT(8, KORVALA_SHA512_WK_FIRST);
#pragma GCC unroll 8
        for (int i = 16; i < 80; i += 16) {
            KORVALA_SHA512_EIGHT(i, KORVALA_SHA512_WK_NEXT);
            KORVALA_SHA512_EIGHT(i + 8, KORVALA_SHA512_WK_NEXT);
        }
#undef KORVALA_SHA512_WK_FIRST
#undef KORVALA_SHA512_WK_NEXT
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

void compressGeneric(std::uint64_t state[8], const std::uint8_t* data, std::size_t blocks)
{
    compressBlocks(state, data, blocks);
}

#if defined(__x86_64__)

#define KORVALA_SHA512_AVX2 __attribute__((target("avx2,bmi,bmi2")))

template <int N>
KORVALA_SHA512_AVX2 inline __m256i rotr64x4(__m256i x)
{
    return _mm256_or_si256(_mm256_srli_epi64(x, N), _mm256_slli_epi64(x, 64 - N));
}

#define KORVALA_SHA512_AVX512 __attribute__((target("avx2,bmi,bmi2,avx512f,avx512vl,avx512bw")))

KORVALA_SHA512_AVX2 inline __m256i xor3x4(__m256i a, __m256i b, __m256i c)
{
    return _mm256_xor_si256(_mm256_xor_si256(a, b), c);
}

// The same with AVX-512VL: one instruction per rotate and per three-way XOR.
template <int N>
KORVALA_SHA512_AVX512 inline __m256i rotr64x4Native(__m256i x)
{
    return _mm256_ror_epi64(x, N);
}
KORVALA_SHA512_AVX512 inline __m256i xor3x4Native(__m256i a, __m256i b, __m256i c)
{
    return _mm256_ternarylogic_epi64(a, b, c, 0x96);
}

// Stores W[i] + K[i] of the four blocks.
KORVALA_SHA512_AVX2 inline void emitScheduled(std::uint64_t* wk, int i, __m256i word)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(wk + 4 * i),
                        _mm256_add_epi64(word, _mm256_set1_epi64x(static_cast<long long>(kRoundConstants[i]))));
}

// Asks for the next `count` blocks while the current ones are hashed: the
// schedule reads several blocks at once, a pattern the hardware prefetcher
// does not follow far enough once the data lies beyond the L2 cache (a file's
// blocks always do), which cost a sixth of the speed.
KORVALA_SHA512_AVX2 inline void prefetchBlocks(const std::uint8_t* next, int count)
{
    for (int k = 0; k < 2 * count; ++k)
        _mm_prefetch(reinterpret_cast<const char*>(next + 64 * k), _MM_HINT_T0);
}

// Message schedule of four consecutive blocks at once, one block per 64-bit
// lane: wk[4 * i + j] = W[i] + K[i] of block j. The schedule is the part of
// the work that does not depend on the state, so it vectorises; the rounds
// then only add one word from memory. Defined twice, for AVX2 alone and with
// the AVX-512VL rotates.
#define KORVALA_SHA512_SCHEDULE_FOUR(NAME, TARGET, ROTR, XOR3)                                            \
    TARGET void NAME(const std::uint8_t* data, std::uint64_t* wk)                                         \
    {                                                                                                     \
        const __m256i byteSwap = _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8, 7, \
                                                  6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);     \
        __m256i w[16];                                                                                    \
        _Pragma("GCC unroll 4") for (int i = 0; i < 16; i += 4)                                           \
        {                                                                                                 \
            /* Words i..i+3 of each block, then a 4x4 transpose of 64-bit words. */                     \
            __m256i r[4];                                                                                 \
            for (int j = 0; j < 4; ++j)                                                                   \
                r[j] = _mm256_shuffle_epi8(                                                               \
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + j * 128 + 8 * i)), byteSwap); \
            const __m256i lo01 = _mm256_unpacklo_epi64(r[0], r[1]);                                       \
            const __m256i hi01 = _mm256_unpackhi_epi64(r[0], r[1]);                                       \
            const __m256i lo23 = _mm256_unpacklo_epi64(r[2], r[3]);                                       \
            const __m256i hi23 = _mm256_unpackhi_epi64(r[2], r[3]);                                       \
            w[i + 0] = _mm256_permute2x128_si256(lo01, lo23, 0x20);                                       \
            w[i + 1] = _mm256_permute2x128_si256(hi01, hi23, 0x20);                                       \
            w[i + 2] = _mm256_permute2x128_si256(lo01, lo23, 0x31);                                       \
            w[i + 3] = _mm256_permute2x128_si256(hi01, hi23, 0x31);                                       \
            for (int j = 0; j < 4; ++j)                                                                   \
                emitScheduled(wk, i + j, w[i + j]);                                                       \
        }                                                                                                 \
        _Pragma("GCC unroll 64") for (int i = 16; i < 80; ++i)                                            \
        {                                                                                                 \
            const __m256i w15 = w[(i + 1) & 15], w2 = w[(i + 14) & 15];                                   \
            const __m256i s0 = XOR3(ROTR<1>(w15), ROTR<8>(w15), _mm256_srli_epi64(w15, 7));               \
            const __m256i s1 = XOR3(ROTR<19>(w2), ROTR<61>(w2), _mm256_srli_epi64(w2, 6));                \
            const __m256i next =                                                                          \
                _mm256_add_epi64(_mm256_add_epi64(w[i & 15], s0), _mm256_add_epi64(w[(i + 9) & 15], s1)); \
            w[i & 15] = next;                                                                             \
            emitScheduled(wk, i, next);                                                                   \
        }                                                                                                 \
    }

KORVALA_SHA512_SCHEDULE_FOUR(scheduleFour, KORVALA_SHA512_AVX2, rotr64x4, xor3x4)
KORVALA_SHA512_SCHEDULE_FOUR(scheduleFourNative, KORVALA_SHA512_AVX512, rotr64x4Native, xor3x4Native)

// Four blocks at a time through the vector schedule, the rest (fewer than
// four) through the scalar schedule.
template <void (*Schedule)(const std::uint8_t*, std::uint64_t*)>
KORVALA_SHA512_AVX2 inline void compressFours(std::uint64_t state[8], const std::uint8_t* data, std::size_t blocks)
{
    alignas(32) std::uint64_t wk[80 * 4];
    for (; blocks >= 4; blocks -= 4, data += 4 * 128) {
        prefetchBlocks(data + 4 * 128, 4);
        Schedule(data, wk);
#pragma GCC unroll 1
        for (int j = 0; j < 4; ++j)
            roundsFromSchedule(state, wk + j, 4);
    }
    compressBlocks(state, data, blocks);
}

KORVALA_SHA512_AVX2 void compressAvx2(std::uint64_t state[8], const std::uint8_t* data, std::size_t blocks)
{
    compressFours<scheduleFour>(state, data, blocks);
}

// GCC 12 reports its own 512-bit intrinsics (which start from an undefined
// register) as possibly uninitialised; the warning says nothing about this code.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

// One step of the schedule of eight blocks (word i of each), kept in `w`
// (the last sixteen words of the eight blocks) and stored as W[i] + K[i] in
// wk[8 * i + j].
KORVALA_SHA512_AVX512 inline void scheduleStepEight(__m512i w[16], const std::uint8_t* data, std::uint64_t* wk, int i)
{
    __m512i word;
    if (i < 16) {
        const __m512i blockOffsets = _mm512_setr_epi64(0, 128, 256, 384, 512, 640, 768, 896);
        const __m512i byteSwap = _mm512_broadcast_i32x4(
            _mm_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8));
        word = _mm512_shuffle_epi8(_mm512_i64gather_epi64(blockOffsets, data + 8 * i, 1), byteSwap);
    } else {
        const __m512i w15 = w[(i + 1) & 15], w2 = w[(i + 14) & 15];
        const __m512i s0 = _mm512_ternarylogic_epi64(_mm512_ror_epi64(w15, 1), _mm512_ror_epi64(w15, 8),
                                                     _mm512_srli_epi64(w15, 7), 0x96);
        const __m512i s1 = _mm512_ternarylogic_epi64(_mm512_ror_epi64(w2, 19), _mm512_ror_epi64(w2, 61),
                                                     _mm512_srli_epi64(w2, 6), 0x96);
        word = _mm512_add_epi64(_mm512_add_epi64(w[i & 15], s0), _mm512_add_epi64(w[(i + 9) & 15], s1));
    }
    w[i & 15] = word;
    _mm512_storeu_si512(wk + 8 * i, _mm512_add_epi64(word, _mm512_set1_epi64(static_cast<long long>(kRoundConstants[i]))));
}

// Eight blocks at a time: the schedule of the next eight (in 512-bit
// registers, word i of the eight blocks gathered into one, so no transpose)
// is computed while the rounds of these run, so that the vector and the
// scalar units work at once: its sixteen loads first, in one go, then its 64
// computed words, eight during each block.
KORVALA_SHA512_AVX512 void compressAvx512(std::uint64_t state[8], const std::uint8_t* data, std::size_t blocks)
{
    if (blocks >= 8) {
        alignas(64) std::uint64_t wk[2][80 * 8];
        __m512i w[16];
        for (int i = 0; i < 80; ++i)
            scheduleStepEight(w, data, wk[0], i);
        int cur = 0;
        for (; blocks >= 8; blocks -= 8, data += 8 * 128, cur ^= 1) {
            if (blocks >= 16) {
                prefetchBlocks(data + 16 * 128, 8);
                for (int i = 0; i < 16; ++i)
                    scheduleStepEight(w, data + 8 * 128, wk[cur ^ 1], i);
                const std::uint8_t* next = data + 8 * 128;
                std::uint64_t* nextWk = wk[cur ^ 1];
#pragma GCC unroll 1
                for (int j = 0; j < 8; ++j)
                    roundsFromSchedule(state, wk[cur] + j, 8, [&](int k) KORVALA_SHA512_AVX512 {
                        if (k < 8)
                            scheduleStepEight(w, next, nextWk, 16 + 8 * j + k);
                    });
            } else {
#pragma GCC unroll 1
                for (int j = 0; j < 8; ++j)
                    roundsFromSchedule(state, wk[cur] + j, 8);
            }
        }
    }
    compressFours<scheduleFourNative>(state, data, blocks);
}

#pragma GCC diagnostic pop

#endif

}  // namespace

int sha512Levels()
{
#if defined(__x86_64__)
    // 0: portable, 1: AVX2, BMI1 and BMI2, 2: also AVX-512 (F, VL, BW).
    static const int level =
        !(__builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2")) ? 0
        : (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
           __builtin_cpu_supports("avx512bw"))
            ? 2
            : 1;
    return level;
#else
    return 0;
#endif
}

void sha512CompressAt(int level, std::uint64_t state[8], const std::uint8_t* data, std::size_t blocks)
{
    level = level < sha512Levels() ? level : sha512Levels();
#if defined(__x86_64__)
    if (level == 2) {
        compressAvx512(state, data, blocks);
        return;
    }
    if (level == 1) {
        compressAvx2(state, data, blocks);
        return;
    }
#endif
    compressGeneric(state, data, blocks);
}

void sha512Compress(std::uint64_t state[8], const std::uint8_t* data, std::size_t blocks)
{
    sha512CompressAt(portableDigestsOnly() ? 0 : sha512Levels(), state, data, blocks);
}

}  // namespace korvala::digest
