// Listing masks matched against names in memory: portable, no system calls.

#include "platform/DirectoryListing.h"

#include "platform/TextFold.h"

namespace korvala {
namespace {

// Iterative "*" / "?" matching with backtracking to the last star, over units
// that are already folded.
template <typename T>
bool globMatch(const T* t, size_t tn, const T* p, size_t pn)
{
    size_t ti = 0, pi = 0, starP = size_t(-1), starT = 0;
    while (ti < tn) {
        if (pi < pn && p[pi] == T('*')) {
            starP = pi++;
            starT = ti;
        } else if (pi < pn && (p[pi] == T('?') || p[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (starP != size_t(-1)) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < pn && p[pi] == T('*'))
        ++pi;
    return pi == pn;
}

// Masks are matched on every name of every listed folder: ASCII names and masks
// (nearly all) are folded into stack buffers; the rest go through the shared
// UTF-8 folding, the same the search criteria compare with.
bool foldedGlob(std::string_view name, std::string_view mask)
{
    if (isAsciiText(name) && isAsciiText(mask)) {
        char tb[256], pb[256];
        if (name.size() <= sizeof tb && mask.size() <= sizeof pb) {
            for (size_t i = 0; i < name.size(); ++i)
                tb[i] = asciiLower(name[i]);
            for (size_t i = 0; i < mask.size(); ++i)
                pb[i] = asciiLower(mask[i]);
            return globMatch(tb, name.size(), pb, mask.size());
        }
    }
    std::u32string t = foldedCodePoints(name), p = foldedCodePoints(mask);
    return globMatch(t.data(), t.size(), p.data(), p.size());
}

}  // namespace

bool listingMaskMatches(std::string_view name, std::string_view mask)
{
    if (mask == "*" || mask == "*.*")
        return true;
    if (!mask.empty() && mask.back() == '.') {
        // A trailing dot: the name has no extension and matches the rest.
        while (!mask.empty() && mask.back() == '.')
            mask.remove_suffix(1);
        if (name.find('.') != std::string_view::npos && mask.find('.') == std::string_view::npos)
            return false;
        return foldedGlob(name, mask);
    }
    if (foldedGlob(name, mask))
        return true;
    // "name.*" also lists a name without an extension.
    if (mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos)
        return foldedGlob(name, mask.substr(0, mask.size() - 2));
    return false;
}

std::vector<size_t> DirectoryListing::matchMasks(const std::vector<std::string>& masks) const
{
    std::vector<size_t> out;
    const size_t n = m_offsets.size();
    for (const std::string& mask : masks) {
        if (mask == "*" || mask == "*.*") {
            for (size_t i = 0; i < n; ++i)
                out.push_back(i);
            continue;
        }
        for (size_t i = 0; i < n; ++i)
            if (listingMaskMatches(name(i), mask))
                out.push_back(i);
    }
    return out;
}

}  // namespace korvala
