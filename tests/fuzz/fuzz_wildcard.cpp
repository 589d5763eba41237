// The wildcard matcher against a slow reference: a memoised recursion over the
// folded code points that states the matching rules one by one.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "platform/TextFold.h"
#include "search/Wildcard.h"

namespace {

using korvala::foldedCodePoints;

bool isWild(char32_t c)
{
    return c == U'*' || c == U'?';
}

struct Reference {
    const std::u32string& t;
    const std::u32string& p;
    std::vector<signed char> memo;  // -1 unknown, else the answer for (i, j)

    Reference(const std::u32string& text, const std::u32string& pattern)
        : t(text), p(pattern), memo((text.size() + 1) * (pattern.size() + 1), -1)
    {
    }

    bool match(size_t i, size_t j)
    {
        signed char& known = memo[i * (p.size() + 1) + j];
        if (known < 0)
            known = compute(i, j) ? 1 : 0;
        return known != 0;
    }

    bool compute(size_t i, size_t j)
    {
        if (j == p.size())
            return i == t.size();
        // Once the text is used up, what is left of the pattern matches only
        // when it is all "*" and "?" (a "?" there may match nothing).
        if (i == t.size()) {
            for (size_t k = j; k < p.size(); ++k)
                if (!isWild(p[k]))
                    return false;
            return true;
        }
        if (p[j] == U'*') {
            // Every "*" and "?" right after a "*" is part of its run.
            size_t q = j;
            while (q < p.size() && isWild(p[q]))
                ++q;
            for (size_t k = i; k <= t.size(); ++k)
                if (match(k, q))
                    return true;
            return false;
        }
        if (p[j] == U'?' || p[j] == t[i])
            return match(i + 1, j + 1);
        return false;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string pattern = in.ConsumeRandomLengthString(64);
    const std::string text = in.ConsumeRemainingBytesAsString().substr(0, 256);
    const std::u32string t = foldedCodePoints(text), p = foldedCodePoints(pattern);
    Reference reference(t, p);
    const bool expected = reference.match(0, 0);
    FUZZ_CHECK(korvala::WildcardMatch(text, pattern) == expected, "WildcardMatch agrees with the reference");
    return 0;
}
