#include "platform/AttributeLetters.h"

#include "platform/FileAttributes.h"

namespace korvala {

std::string attributeLetters(uint32_t word)
{
    struct Letter {
        uint32_t bit;
        char letter;
    };
    static constexpr Letter LETTERS[5] = {
        {FILE_ATTRIBUTE_SYSTEM, 'S'},
        {FILE_ATTRIBUTE_READONLY, 'R'},
        {FILE_ATTRIBUTE_HIDDEN, 'H'},
        {FILE_ATTRIBUTE_ARCHIVE, 'A'},
        {FILE_ATTRIBUTE_DIRECTORY, 'D'},
    };
    std::string text(5, '_');
    for (size_t i = 0; i < 5; ++i)
        if (word & LETTERS[i].bit)
            text[i] = LETTERS[i].letter;
    return text;
}

}  // namespace korvala
