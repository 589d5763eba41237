#include "search/CharacterTables.h"

#include "platform/TextFold.h"

#include <cwctype>
#include <memory>

#include <locale.h>

namespace korvala {
namespace {

locale_t unicodeLocale()
{
    static locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return loc;
}

std::unique_ptr<CharacterTables> buildTables()
{
    auto t = std::make_unique<CharacterTables>();
    for (unsigned b = 0; b < 256; ++b) {
        t->SameCaseA[b] = static_cast<uint8_t>(b);
        t->LowerCaseA[b] = static_cast<uint8_t>(asciiLower(static_cast<char>(b)));
        bool alnum = (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b >= 0x80;
        t->DelimiterA[b] = alnum ? 0 : 1;
    }
    t->LowerCaseW = lowerCaseTable16();
    locale_t loc = unicodeLocale();
    for (unsigned u = 0; u < 65536; ++u) {
        t->SameCaseW[u] = static_cast<uint16_t>(u);
        bool surrogate = u >= 0xD800 && u <= 0xDFFF;
        if (u < 0x80) {
            bool alnum = (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
            t->DelimiterW[u] = alnum ? 0 : 1;
        } else if (surrogate || !loc) {
            t->DelimiterW[u] = 1;
        } else {
            t->DelimiterW[u] = iswalnum_l(static_cast<wint_t>(u), loc) ? 0 : 1;
        }
    }
    t->DelimiterA[0] = 1;
    t->DelimiterW[0] = 1;
    return t;
}

}  // namespace

const CharacterTables& characterTables()
{
    static const std::unique_ptr<CharacterTables> tables = buildTables();
    return *tables;
}

// Built at start-up so that no search thread ever builds them.
namespace {
[[maybe_unused]] const CharacterTables& g_tablesAtStart = characterTables();
}

}  // namespace korvala
