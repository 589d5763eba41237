#pragma once
// The orderings behind the big result grids' sorting: texts without regard
// to case (Unicode simple folding, bytes that are not UTF-8 as themselves)
// and numbers, each stable (equal keys keep their present order) and
// returning the permutation "new position i shows present position p[i]".

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <Qt>

namespace kit {

// The folded order of two texts (negative, zero, positive).
int compareFolded(const std::string& a, const std::string& b);

// The order of *texts[i]. Most comparisons are settled by 16-byte folded
// prefixes held side by side; only texts with equal prefixes are compared in
// full.
std::vector<uint32_t> orderByText(const std::vector<const std::string*>& texts, Qt::SortOrder order);

// Numeric keys sort faster as (key, position) pairs in one contiguous array.
template <typename Key>
std::vector<uint32_t> orderByNumbers(const std::vector<Key>& keys, Qt::SortOrder order)
{
    std::vector<std::pair<Key, uint32_t>> pairs(keys.size());
    for (uint32_t i = 0; i < keys.size(); ++i)
        pairs[i] = {keys[i], i};
    if (order == Qt::AscendingOrder)
        std::sort(pairs.begin(), pairs.end());
    else
        std::sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
            return b.first < a.first || (!(a.first < b.first) && a.second < b.second);
        });
    std::vector<uint32_t> index(keys.size());
    for (size_t i = 0; i < pairs.size(); ++i)
        index[i] = pairs[i].second;
    return index;
}

// Ranks a table of shared texts once (equal folded texts share a rank), so
// rows that refer to the table sort by a number.
std::vector<uint32_t> rankTexts(const std::vector<std::string>& table);

}  // namespace kit
