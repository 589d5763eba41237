#include "app/kit/RowOrder.h"

#include "platform/TextFold.h"

namespace kit {
namespace {

// A byte string whose plain byte order is the order of the text without regard
// to case.
std::string foldKey(const std::string& text)
{
    return korvala::foldedText(text);
}

// The first 16 bytes of a text's fold key as two numbers that order as those
// bytes do (missing bytes count as 0, so a shorter prefix comes first).
struct TextPrefix {
    uint64_t high = 0;
    uint64_t low = 0;
    uint32_t row = 0;  // present grid row
};

TextPrefix prefixOf(const std::string& text, uint32_t row)
{
    unsigned char bytes[16] = {};
    if (korvala::isAsciiText(text)) {
        const size_t n = std::min<size_t>(text.size(), 16);
        for (size_t i = 0; i < n; ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            bytes[i] = (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
        }
    } else {
        const std::string key = foldKey(text);
        const size_t n = std::min<size_t>(key.size(), 16);
        for (size_t i = 0; i < n; ++i)
            bytes[i] = static_cast<unsigned char>(key[i]);
    }
    TextPrefix p;
    for (int i = 0; i < 8; ++i) {
        p.high = (p.high << 8) | bytes[i];
        p.low = (p.low << 8) | bytes[8 + i];
    }
    p.row = row;
    return p;
}

}  // namespace

int compareFolded(const std::string& a, const std::string& b)
{
    if (korvala::isAsciiText(a) && korvala::isAsciiText(b)) {
        const size_t n = std::min(a.size(), b.size());
        for (size_t i = 0; i < n; ++i) {
            unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
            if (x >= 'A' && x <= 'Z')
                x = static_cast<unsigned char>(x - 'A' + 'a');
            if (y >= 'A' && y <= 'Z')
                y = static_cast<unsigned char>(y - 'A' + 'a');
            if (x != y)
                return x < y ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    return foldKey(a).compare(foldKey(b));
}

std::vector<uint32_t> orderByText(const std::vector<const std::string*>& texts, Qt::SortOrder order)
{
    std::vector<TextPrefix> keys(texts.size());
    for (uint32_t i = 0; i < texts.size(); ++i)
        keys[i] = prefixOf(*texts[i], i);
    const bool ascending = order == Qt::AscendingOrder;
    std::sort(keys.begin(), keys.end(), [&](const TextPrefix& a, const TextPrefix& b) {
        int c = 0;
        if (a.high != b.high)
            c = a.high < b.high ? -1 : 1;
        else if (a.low != b.low)
            c = a.low < b.low ? -1 : 1;
        else
            c = compareFolded(*texts[a.row], *texts[b.row]);
        if (c != 0)
            return ascending ? c < 0 : c > 0;
        return a.row < b.row;
    });
    std::vector<uint32_t> index(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        index[i] = keys[i].row;
    return index;
}

std::vector<uint32_t> rankTexts(const std::vector<std::string>& table)
{
    std::vector<const std::string*> texts(table.size());
    for (size_t i = 0; i < table.size(); ++i)
        texts[i] = &table[i];
    const std::vector<uint32_t> order = orderByText(texts, Qt::AscendingOrder);
    std::vector<uint32_t> rank(table.size());
    uint32_t current = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && compareFolded(table[order[i]], table[order[i - 1]]) != 0)
            ++current;
        rank[order[i]] = current;
    }
    return rank;
}

}  // namespace kit
