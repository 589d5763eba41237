// The two-byte candidate filter of the content scan against a plain loop, on
// buffers long enough for its vector steps and their tails.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "search/AnchorScan.h"

namespace korvala {
namespace {

size_t plainFind(const std::vector<uint8_t>& d, size_t from, size_t lim, TScanAnchor a, TScanAnchor b)
{
    auto isForm = [](uint8_t x, TScanAnchor t) { return x == t.first || x == t.second; };
    for (size_t s = from; s < lim; ++s)
        if (isForm(d[s + a.offset], a) && isForm(d[s + b.offset], b))
            return s;
    return lim;
}

TEST(AnchorScanTest, FindsTheFirstCandidateLikeAPlainLoop)
{
    std::mt19937 rng(2024);
    const uint8_t alphabet[] = {'a', 'A', 'b', 'B', 'z', 0x00, 0x80, 0xFF};
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> d(1 + rng() % 400);
        // Mostly one filler byte, so that candidates are rare and fall anywhere,
        // including the last place of a 32- or 64-byte step.
        const uint8_t filler = alphabet[rng() % 8];
        for (auto& x : d)
            x = rng() % 6 == 0 ? alphabet[rng() % 8] : filler;
        const size_t maxOffset = std::min<size_t>(d.size() - 1, rng() % 12);
        TScanAnchor a{rng() % (maxOffset + 1), alphabet[rng() % 8], alphabet[rng() % 8]};
        TScanAnchor b{rng() % (maxOffset + 1), alphabet[rng() % 8], alphabet[rng() % 8]};
        const size_t lim = d.size() - maxOffset;
        // Every start from the first, so each candidate is found in turn.
        for (size_t from = 0; from < lim;) {
            const size_t expected = plainFind(d, from, lim, a, b);
            ASSERT_EQ(findAnchored(d.data(), from, lim, a, b), expected)
                << "round " << round << " from " << from << " size " << d.size();
            from = expected + 1;
        }
    }
}

}  // namespace
}  // namespace korvala
