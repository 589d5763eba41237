#pragma once
// Digests as the report writes them by default: hexadecimal in upper case.

#include <string>

namespace korvala::test {

inline std::string toUpper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace korvala::test
