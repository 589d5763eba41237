#include "search/AnchorScan.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace korvala {
namespace {

bool isForm(uint8_t byte, const TScanAnchor& a)
{
    return byte == a.first || byte == a.second;
}

size_t findAnchoredPortable(const uint8_t* data, size_t from, size_t lim, TScanAnchor a, TScanAnchor b)
{
    for (size_t s = from; s < lim; ++s)
        if (isForm(data[s + a.offset], a) && isForm(data[s + b.offset], b))
            return s;
    return lim;
}

#if defined(__x86_64__)

// 64 starts per step in two 32-byte halves; a candidate ends the loop and the
// lowest set bit gives its start.
__attribute__((target("avx2,bmi"))) size_t findAnchoredAvx2(
    const uint8_t* data, size_t from, size_t lim, TScanAnchor a, TScanAnchor b)
{
    const __m256i a1 = _mm256_set1_epi8(static_cast<char>(a.first));
    const __m256i a2 = _mm256_set1_epi8(static_cast<char>(a.second));
    const __m256i b1 = _mm256_set1_epi8(static_cast<char>(b.first));
    const __m256i b2 = _mm256_set1_epi8(static_cast<char>(b.second));
    auto hits = [&](size_t s) __attribute__((target("avx2"))) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + s + a.offset));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + s + b.offset));
        const __m256i inA = _mm256_or_si256(_mm256_cmpeq_epi8(x, a1), _mm256_cmpeq_epi8(x, a2));
        const __m256i inB = _mm256_or_si256(_mm256_cmpeq_epi8(y, b1), _mm256_cmpeq_epi8(y, b2));
        return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(inA, inB)));
    };
    size_t s = from;
    for (; s + 64 <= lim; s += 64) {
        const uint64_t low = hits(s), high = hits(s + 32);
        if (const uint64_t both = low | (high << 32))
            return s + static_cast<size_t>(__builtin_ctzll(both));
    }
    for (; s + 32 <= lim; s += 32)
        if (const uint32_t m = hits(s))
            return s + static_cast<size_t>(__builtin_ctz(m));
    return findAnchoredPortable(data, s, lim, a, b);
}

#endif

}  // namespace

size_t findAnchored(const uint8_t* data, size_t from, size_t lim, TScanAnchor a, TScanAnchor b)
{
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi");
    if (avx2)
        return findAnchoredAvx2(data, from, lim, a, b);
#endif
    return findAnchoredPortable(data, from, lim, a, b);
}

}  // namespace korvala
