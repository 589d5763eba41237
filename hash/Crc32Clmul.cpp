// CRC-32 by folding with carry-less multiplication: four 128-bit lanes are
// folded 64 bytes at a time, then into one lane, whose 16 bytes are finished
// with the table code. Only called when the run-time check found PCLMULQDQ.

#include "hash/DigestCores.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace korvala::digest {

#if defined(__x86_64__) || defined(__i386__)

namespace {

// Folding constants for the reflected polynomial: a lane folded forward by D
// bits is multiplied by x^(D+32) mod P (low half) and x^(D-32) mod P (high
// half), bit-reflected and shifted by one: D = 512 for four 128-bit lanes,
// D = 128 for one, D = 2048 for four 512-bit registers.
#define KORVALA_CLMUL_TARGET __attribute__((target("pclmul,sse4.1")))

KORVALA_CLMUL_TARGET inline __m128i fold(__m128i lane, __m128i constants, __m128i next)
{
    const __m128i lo = _mm_clmulepi64_si128(lane, constants, 0x00);
    const __m128i hi = _mm_clmulepi64_si128(lane, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(lo, hi), next);
}

KORVALA_CLMUL_TARGET inline __m128i load(const std::uint8_t* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

}  // namespace

KORVALA_CLMUL_TARGET std::uint32_t crc32UpdateClmul(std::uint32_t reg, const std::uint8_t* p, std::size_t n)
{
    if (n < 64)
        return crc32UpdatePortable(reg, p, n);

    const __m128i k1k2 = _mm_set_epi64x(0x01C6E41596LL, 0x0154442BD4LL);
    const __m128i k3k4 = _mm_set_epi64x(0x00CCAA009ELL, 0x01751997D0LL);

    __m128i x0 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(static_cast<int>(reg)));
    __m128i x1 = load(p + 16);
    __m128i x2 = load(p + 32);
    __m128i x3 = load(p + 48);
    p += 64;
    n -= 64;

    while (n >= 64) {
        x0 = fold(x0, k1k2, load(p));
        x1 = fold(x1, k1k2, load(p + 16));
        x2 = fold(x2, k1k2, load(p + 32));
        x3 = fold(x3, k1k2, load(p + 48));
        p += 64;
        n -= 64;
    }

    x0 = fold(x0, k3k4, x1);
    x0 = fold(x0, k3k4, x2);
    x0 = fold(x0, k3k4, x3);
    while (n >= 16) {
        x0 = fold(x0, k3k4, load(p));
        p += 16;
        n -= 16;
    }

    alignas(16) std::uint8_t lane[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(lane), x0);
    reg = crc32UpdatePortable(0, lane, 16);
    return crc32UpdatePortable(reg, p, n);
}

// The same folding with 512-bit registers: four registers of four lanes each
// fold 256 bytes per step (distance 2048 bits), are folded into one, whose
// lanes go to the 128-bit code above.
#define KORVALA_VPCLMUL_TARGET __attribute__((target("avx512f,avx512vl,vpclmulqdq,pclmul,sse4.1")))

namespace {

KORVALA_VPCLMUL_TARGET inline __m512i fold512(__m512i lanes, __m512i constants, __m512i next)
{
    const __m512i lo = _mm512_clmulepi64_epi128(lanes, constants, 0x00);
    const __m512i hi = _mm512_clmulepi64_epi128(lanes, constants, 0x11);
    return _mm512_ternarylogic_epi64(lo, hi, next, 0x96);  // lo ^ hi ^ next
}

KORVALA_VPCLMUL_TARGET inline __m512i load512(const std::uint8_t* p)
{
    return _mm512_loadu_si512(p);
}

}  // namespace

KORVALA_VPCLMUL_TARGET std::uint32_t crc32UpdateVpclmul(std::uint32_t reg, const std::uint8_t* p, std::size_t n)
{
    if (n < 512)
        return crc32UpdateClmul(reg, p, n);

    alignas(64) static const std::uint64_t k2048Lanes[8] = {0x011542778A, 0x01322D1430, 0x011542778A, 0x01322D1430,
                                                             0x011542778A, 0x01322D1430, 0x011542778A, 0x01322D1430};
    alignas(64) static const std::uint64_t k512Lanes[8] = {0x0154442BD4, 0x01C6E41596, 0x0154442BD4, 0x01C6E41596,
                                                            0x0154442BD4, 0x01C6E41596, 0x0154442BD4, 0x01C6E41596};
    const __m512i k2048 = _mm512_load_si512(k2048Lanes);
    const __m512i k512 = _mm512_load_si512(k512Lanes);
    const __m128i k3k4 = _mm_set_epi64x(0x00CCAA009ELL, 0x01751997D0LL);

    __m512i x0 = _mm512_xor_si512(load512(p), _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(reg))));
    __m512i x1 = load512(p + 64);
    __m512i x2 = load512(p + 128);
    __m512i x3 = load512(p + 192);
    p += 256;
    n -= 256;
    while (n >= 256) {
        x0 = fold512(x0, k2048, load512(p));
        x1 = fold512(x1, k2048, load512(p + 64));
        x2 = fold512(x2, k2048, load512(p + 128));
        x3 = fold512(x3, k2048, load512(p + 192));
        p += 256;
        n -= 256;
    }
    x0 = fold512(x0, k512, x1);
    x0 = fold512(x0, k512, x2);
    x0 = fold512(x0, k512, x3);
    while (n >= 64) {
        x0 = fold512(x0, k512, load512(p));
        p += 64;
        n -= 64;
    }

    alignas(64) __m128i lanes[4];
    _mm512_store_si512(lanes, x0);
    __m128i x = lanes[0];
    x = fold(x, k3k4, lanes[1]);
    x = fold(x, k3k4, lanes[2]);
    x = fold(x, k3k4, lanes[3]);
    while (n >= 16) {
        x = fold(x, k3k4, load(p));
        p += 16;
        n -= 16;
    }
    alignas(16) std::uint8_t lane[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(lane), x);
    reg = crc32UpdatePortable(0, lane, 16);
    return crc32UpdatePortable(reg, p, n);
}

#else

std::uint32_t crc32UpdateClmul(std::uint32_t reg, const std::uint8_t* p, std::size_t n)
{
    return crc32UpdatePortable(reg, p, n);
}

std::uint32_t crc32UpdateVpclmul(std::uint32_t reg, const std::uint8_t* p, std::size_t n)
{
    return crc32UpdatePortable(reg, p, n);
}

#endif

}  // namespace korvala::digest
