// SHA-1 and SHA-256 compression with the processor's SHA instructions. Only
// called when the run-time check found them (CpuDispatch).

#include "hash/DigestCores.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace korvala::digest {

extern const std::uint32_t Sha256RoundConstants[64];

#if defined(__x86_64__) || defined(__i386__)

#define KORVALA_SHA_TARGET __attribute__((target("sha,sse4.1,ssse3")))

KORVALA_SHA_TARGET void sha1CompressShaNi(std::uint32_t state[5], const std::uint8_t* data, std::size_t blocks)
{
    const __m128i byteSwap = _mm_set_epi64x(0x0001020304050607LL, 0x08090A0B0C0D0E0FLL);
    __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    __m128i e0 = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
    __m128i e1;

    for (; blocks != 0; --blocks, data += 64) {
        const __m128i abcdSave = abcd;
        const __m128i eSave = e0;
        __m128i w[4];

        // Twenty groups of four rounds; group g uses message group g % 4. Group
        // n >= 4 is msg2(msg1(W[n-4], W[n-3]) ^ W[n-2], W[n-1]), built in the
        // slot of W[n-4] during groups n-3 (msg1), n-2 (xor) and n-1 (msg2).
#define SHA1_GROUP(g)                                                                          \
    do {                                                                                       \
        __m128i& cur = ((g) % 2 == 0) ? e0 : e1;                                               \
        __m128i& next = ((g) % 2 == 0) ? e1 : e0;                                              \
        if ((g) < 4)                                                                           \
            w[(g)] = _mm_shuffle_epi8(                                                         \
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * (g))), byteSwap); \
        if ((g) == 0)                                                                          \
            cur = _mm_add_epi32(cur, w[0]);                                                    \
        else                                                                                   \
            cur = _mm_sha1nexte_epu32(cur, w[(g) % 4]);                                        \
        next = abcd;                                                                           \
        if ((g) >= 3 && (g) <= 18)                                                             \
            w[((g) + 1) % 4] = _mm_sha1msg2_epu32(w[((g) + 1) % 4], w[(g) % 4]);               \
        abcd = _mm_sha1rnds4_epu32(abcd, cur, (g) / 5);                                        \
        if ((g) >= 1 && (g) <= 16)                                                             \
            w[((g) + 3) % 4] = _mm_sha1msg1_epu32(w[((g) + 3) % 4], w[(g) % 4]);               \
        if ((g) >= 2 && (g) <= 17)                                                             \
            w[((g) + 2) % 4] = _mm_xor_si128(w[((g) + 2) % 4], w[(g) % 4]);                    \
    } while (0)

        SHA1_GROUP(0);
        SHA1_GROUP(1);
        SHA1_GROUP(2);
        SHA1_GROUP(3);
        SHA1_GROUP(4);
        SHA1_GROUP(5);
        SHA1_GROUP(6);
        SHA1_GROUP(7);
        SHA1_GROUP(8);
        SHA1_GROUP(9);
        SHA1_GROUP(10);
        SHA1_GROUP(11);
        SHA1_GROUP(12);
        SHA1_GROUP(13);
        SHA1_GROUP(14);
        SHA1_GROUP(15);
        SHA1_GROUP(16);
        SHA1_GROUP(17);
        SHA1_GROUP(18);
        SHA1_GROUP(19);
#undef SHA1_GROUP

        e0 = _mm_sha1nexte_epu32(e0, eSave);
        abcd = _mm_add_epi32(abcd, abcdSave);
    }

    abcd = _mm_shuffle_epi32(abcd, 0x1B);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), abcd);
    state[4] = static_cast<std::uint32_t>(_mm_extract_epi32(e0, 3));
}

KORVALA_SHA_TARGET void sha256CompressShaNi(std::uint32_t state[8], const std::uint8_t* data,
                                            std::size_t blocks)
{
    const __m128i byteSwap = _mm_set_epi64x(0x0C0D0E0F08090A0BLL, 0x0405060700010203LL);
    const std::uint32_t* k = Sha256RoundConstants;

    // The instructions keep the state as ABEF and CDGH.
    __m128i tmp = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0])), 0xB1);
    __m128i state1 = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4])), 0x1B);
    __m128i state0 = _mm_alignr_epi8(tmp, state1, 8);
    state1 = _mm_blend_epi16(state1, tmp, 0xF0);

    for (; blocks != 0; --blocks, data += 64) {
        const __m128i abefSave = state0;
        const __m128i cdghSave = state1;
        __m128i w[4];
        __m128i msg;

        // Sixteen groups of four rounds; group g uses message group g % 4.
#define SHA256_GROUP(g)                                                                        \
    do {                                                                                       \
        if ((g) < 4)                                                                           \
            w[(g)] = _mm_shuffle_epi8(                                                         \
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * (g))), byteSwap); \
        msg = _mm_add_epi32(w[(g) % 4], _mm_loadu_si128(reinterpret_cast<const __m128i*>(k + 4 * (g)))); \
        state1 = _mm_sha256rnds2_epu32(state1, state0, msg);                                   \
        if ((g) >= 3 && (g) <= 14) {                                                           \
            tmp = _mm_alignr_epi8(w[(g) % 4], w[((g) + 3) % 4], 4);                            \
            w[((g) + 1) % 4] = _mm_add_epi32(w[((g) + 1) % 4], tmp);                           \
            w[((g) + 1) % 4] = _mm_sha256msg2_epu32(w[((g) + 1) % 4], w[(g) % 4]);             \
        }                                                                                      \
        msg = _mm_shuffle_epi32(msg, 0x0E);                                                    \
        state0 = _mm_sha256rnds2_epu32(state0, state1, msg);                                   \
        if ((g) >= 1 && (g) <= 12)                                                             \
            w[((g) + 3) % 4] = _mm_sha256msg1_epu32(w[((g) + 3) % 4], w[(g) % 4]);             \
    } while (0)

        SHA256_GROUP(0);
        SHA256_GROUP(1);
        SHA256_GROUP(2);
        SHA256_GROUP(3);
        SHA256_GROUP(4);
        SHA256_GROUP(5);
        SHA256_GROUP(6);
        SHA256_GROUP(7);
        SHA256_GROUP(8);
        SHA256_GROUP(9);
        SHA256_GROUP(10);
        SHA256_GROUP(11);
        SHA256_GROUP(12);
        SHA256_GROUP(13);
        SHA256_GROUP(14);
        SHA256_GROUP(15);
#undef SHA256_GROUP

        state0 = _mm_add_epi32(state0, abefSave);
        state1 = _mm_add_epi32(state1, cdghSave);
    }

    tmp = _mm_shuffle_epi32(state0, 0x1B);     // FEBA
    state1 = _mm_shuffle_epi32(state1, 0xB1);  // DCHG
    state0 = _mm_blend_epi16(tmp, state1, 0xF0);  // DCBA
    state1 = _mm_alignr_epi8(state1, tmp, 8);     // HGFE
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), state0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), state1);
}

#else

void sha1CompressShaNi(std::uint32_t state[5], const std::uint8_t* data, std::size_t blocks)
{
    sha1CompressPortable(state, data, blocks);
}

void sha256CompressShaNi(std::uint32_t state[8], const std::uint8_t* data, std::size_t blocks)
{
    sha256CompressPortable(state, data, blocks);
}

#endif

}  // namespace korvala::digest
