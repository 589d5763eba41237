#include "hash/HashAlgorithm.h"

namespace korvala {

namespace {
char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

std::optional<HashAlgorithm> hashAlgorithmFromName(std::string_view name)
{
    for (int i = 0; i < HashAlgorithmCount; ++i) {
        std::string_view known = HashAlgorithmNames[static_cast<std::size_t>(i)];
        if (known.size() != name.size())
            continue;
        bool equal = true;
        for (std::size_t k = 0; k < name.size() && equal; ++k)
            equal = asciiLower(known[k]) == asciiLower(name[k]);
        if (equal)
            return static_cast<HashAlgorithm>(i);
    }
    return std::nullopt;
}

std::optional<HashAlgorithmSet> hashAlgorithmChoice(std::string_view name)
{
    HashAlgorithmSet set;
    if (name.size() == 3 && asciiLower(name[0]) == 'a' && asciiLower(name[1]) == 'l' && asciiLower(name[2]) == 'l') {
        set.set();
        return set;
    }
    const auto algorithm = hashAlgorithmFromName(name);
    if (!algorithm)
        return std::nullopt;
    set.set(static_cast<std::size_t>(*algorithm));
    return set;
}

}  // namespace korvala
