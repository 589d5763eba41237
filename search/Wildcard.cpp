#include "search/Wildcard.h"

#include "search/CharacterTables.h"
#include "platform/TextFold.h"

namespace korvala {
namespace {

// The result of matching the rest of a text: Abort means that no match can
// come from handing this rest less text, so a "*" before it stops trying
// later places too. Without it a pattern with many "*" takes time that grows
// exponentially with their number.
enum class Matched { Yes, No, Abort };

// The matching itself, over folded units. Step by step: the literal head of the
// pattern, then at a "*" every following "*" and "?" is skipped and each place
// of the next pattern character in the text is tried in turn.
template <typename T>
Matched matchUnits(const T* t, size_t tn, const T* p, size_t pn)
{
    size_t ti = 0, pi = 0;
    while (ti < tn && pi < pn && p[pi] != T('*')) {
        if (p[pi] != T('?') && p[pi] != t[ti])
            return Matched::No;
        ++ti;
        ++pi;
    }
    if (ti < tn && !(pi < pn && p[pi] == T('*')))
        return Matched::No;
    while (pi < pn && (p[pi] == T('*') || p[pi] == T('?')))
        ++pi;
    if (pi == pn)
        return Matched::Yes;
    // The text is used up and the pattern wants more: a shorter text cannot do.
    if (ti == tn)
        return Matched::Abort;
    const T c = p[pi];
    for (size_t k = ti; k < tn; ++k)
        if (t[k] == c) {
            const Matched rest = matchUnits(t + k + 1, tn - k - 1, p + pi + 1, pn - pi - 1);
            if (rest != Matched::No)
                return rest;
        }
    // This "*" tried every place; a "*" before it, placed later, would leave it
    // only some of the same places.
    return Matched::Abort;
}

template <typename T>
bool matches(const std::basic_string<T>& t, const std::basic_string<T>& p)
{
    return matchUnits(t.data(), t.size(), p.data(), p.size()) == Matched::Yes;
}

}  // namespace

bool WildcardMatch(std::string_view text, std::string_view pattern)
{
    if (isAsciiText(text) && isAsciiText(pattern)) {
        const auto& lower = characterTables().LowerCaseA;
        std::string t(text), p(pattern);
        for (char& c : t)
            c = static_cast<char>(lower[static_cast<unsigned char>(c)]);
        for (char& c : p)
            c = static_cast<char>(lower[static_cast<unsigned char>(c)]);
        return matches(t, p);
    }
    return matches(foldedCodePoints(text), foldedCodePoints(pattern));
}

std::string_view trimText(std::string_view text)
{
    size_t a = 0, b = text.size();
    while (a < b && static_cast<unsigned char>(text[a]) <= ' ')
        ++a;
    while (b > a && static_cast<unsigned char>(text[b - 1]) <= ' ')
        --b;
    return text.substr(a, b - a);
}

namespace {

template <typename Equal>
std::vector<std::string> splitWith(std::string_view text, Equal equal)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view piece = trimText(text.substr(start, end - start));
        if (!piece.empty()) {
            bool seen = false;
            for (const std::string& earlier : out)
                if (equal(earlier, piece)) {
                    seen = true;
                    break;
                }
            if (!seen)
                out.emplace_back(piece);
        }
        start = end + 1;
    }
    return out;
}

}  // namespace

std::vector<std::string> SplitList(std::string_view text)
{
    return splitWith(text, [](std::string_view a, std::string_view b) { return equalsIgnoreCase(a, b); });
}

std::vector<std::string> SplitFolderList(std::string_view text)
{
    return splitWith(text, [](std::string_view a, std::string_view b) { return a == b; });
}

}  // namespace korvala
