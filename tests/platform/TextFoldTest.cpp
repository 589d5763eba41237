// The one UTF-8 decoder and case folding that folder masks and the search
// criteria share: malformed bytes must stay apart (never decode to a character
// another name could equal), and folding is simple (one code point to one).

#include "platform/TextFold.h"

#include "platform/DirectoryListing.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvala {
namespace {

std::u32string decodeAll(std::string_view s)
{
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        size_t before = i;
        out.push_back(decodeUtf8At(s, i));
        EXPECT_GT(i, before);  // always advances
    }
    return out;
}

TEST(TextFoldTest, DecodesValidTextAndKeepsMalformedBytesApart)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::u32string expected;
    };
    const std::vector<Case> cases = {
        {"ascii", "a.TXT", U"a.TXT"},
        {"two bytes", "\xC3\xA4", {0xE4}},
        {"three bytes", "\xE2\x82\xAC", {0x20AC}},
        {"four bytes", "\xF0\x9F\x98\x80", {0x1F600}},
        {"highest code point", "\xF4\x8F\xBF\xBF", {0x10FFFF}},
        {"overlong slash", "\xC0\xAF", {0xDCC0, 0xDCAF}},
        {"overlong three-byte", "\xE0\x80\xAF", {0xDCE0, 0xDC80, 0xDCAF}},
        {"overlong four-byte", "\xF0\x82\x82\xAC", {0xDCF0, 0xDC82, 0xDC82, 0xDCAC}},
        {"surrogate", "\xED\xA0\x80", {0xDCED, 0xDCA0, 0xDC80}},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", {0xDCF4, 0xDC90, 0xDC80, 0xDC80}},
        {"truncated at end", "a\xE2\x82", {U'a', 0xDCE2, 0xDC82}},
        {"truncated before ascii", "\xC3z", {0xDCC3, U'z'}},
        {"stray continuation", "\x80x", {0xDC80, U'x'}},
        {"invalid lead byte", "\xFF\xFE", {0xDCFF, 0xDCFE}},
        {"latin-1 name", "caf\xE9", {U'c', U'a', U'f', 0xDCE9}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodeAll(c.bytes), c.expected) << c.what;
}

TEST(TextFoldTest, FoldsSimplyAndComparesWithoutRegardToCase)
{
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    const std::vector<Case> cases = {
        {"README.TXT", "readme.txt", true},
        {"abc", "abd", false},
        {"abc", "abcd", false},
        {"[@]", "[`]", false},                    // neighbours of the ASCII letters
        {"ÄÖÜÉÑ", "äöüéñ", true},                 // Latin-1
        {"ΣΟΦΊΑ", "σοφία", true},                 // Greek
        {"МОСКВА", "москва", true},               // Cyrillic
        {"straße", "STRASSE", false},             // simple folding: no expansion
        {"ß", "ß", true},
        {"\xC0\xAF", "/", false},                 // overlong form is not the slash
        {"caf\xC9", "caf\xE9", false},            // kept bytes are not folded
        {"caf\xE9", "CAF\xE9", true},
        // Letters whose lower-case forms differ but which fold alike.
        {"ΟΔΟΣ", "οδος", true},                   // final sigma
        {"οδοσ", "οδος", true},
        {"ſtraße", "STRAßE", true},               // long s
        {"µm", "μM", true},                       // micro sign and mu
        {"\u212A", "k", true},                    // Kelvin sign
        {"ǅ", "ǆ", true},                         // title case
    };
    for (const Case& c : cases)
        EXPECT_EQ(equalsIgnoreCase(c.a, c.b), c.equal) << c.a << " / " << c.b;

    EXPECT_EQ(foldCodePoint(U'Q'), U'q');
    EXPECT_EQ(foldCodePoint(0xDF), char32_t(0xDF));      // sharp s stays itself
    EXPECT_EQ(foldCodePoint(0x1E9E), char32_t(0xDF));    // capital sharp s to small
    EXPECT_EQ(foldCodePoint(0x10400), char32_t(0x10428)); // beyond the 16-bit range
    EXPECT_EQ(foldCodePoint(0xDCC9), char32_t(0xDCC9));  // a kept byte
    EXPECT_EQ(foldedCodePoints("Ä\xFF"), (std::u32string{0xE4, 0xDCFF}));
}

TEST(TextFoldTest, ConvertsToUtf16WithReplacementForMalformedBytes)
{
    EXPECT_EQ(utf8ToUtf16("a\xC3\xA4\xF0\x9F\x98\x80"), (std::u16string{u'a', 0xE4, 0xD83D, 0xDE00}));
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), (std::u16string{0xFFFD, 0xFFFD}));
}

// Folder masks decode and fold names exactly as the search criteria do: a
// malformed name never matches a mask of the character it imitates.
TEST(TextFoldTest, ListingMasksAgreeWithTheSharedFolding)
{
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"\xC1\x81", "a", false},                 // overlong "A"
        {"\xC1\x81", "?", false},                 // two kept bytes, not one character
        {"\xC1\x81", "??", true},
        {"\xED\xA0\x80.txt", "???.TXT", true},   // surrogate: three kept bytes
        {"\xED\xA0\x80.txt", "?.txt", false},
        {"Ärger.TXT", "ä*.txt", true},
        {"ΣΟΦΊΑ.doc", "σοφία.*", true},
        {"straße", "STRASSE", false},
        {"ΟΔΟΣ.txt", "οδος.*", true},
        {"ſoft", "so*", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(listingMaskMatches(c.name, c.mask), c.matches) << c.name << " / " << c.mask;
        if (std::string_view(c.mask).find_first_of("*?") == std::string_view::npos) {
            EXPECT_EQ(listingMaskMatches(c.name, c.mask), equalsIgnoreCase(c.name, c.mask)) << c.name;
        }
    }
}

}  // namespace
}  // namespace korvala
