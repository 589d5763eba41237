// The content test on real files: encodings, block ends, whole words, negation,
// unreadable files, and a randomised comparison with a direct reading of the rules.

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "TempTree.h"
#include "search/FindFileW.h"
#include "platform/File.h"
#include "platform/TextFold.h"

namespace korvala {
namespace {

using test::TTempTree;

class ContentTest : public ::testing::Test {
protected:
    void TearDown() override { setContentBlockSizeForTests(256 * 1024); }

    bool contains(const std::string& bytes, const std::string& phrase, TContentSearchOptions options = 0)
    {
        tree.file("f", bytes);
        TContentCriteria c;
        c.setPhrase(phrase);
        c.setOptions(options);
        return c.Matches(tree.path("f"));
    }
    TTempTree tree;
};

std::string utf16(const std::u16string& s, bool bigEndian, bool bom = true)
{
    std::string out;
    if (bom)
        out += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : s) {
        char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        if (bigEndian) {
            out += hi;
            out += lo;
        } else {
            out += lo;
            out += hi;
        }
    }
    return out;
}

TEST_F(ContentTest, BasicOccurrencesAndCase)
{
    EXPECT_TRUE(contains("xxaaabyy", "aab"));  // starts inside a partial match
    EXPECT_TRUE(contains("Hello World", "WORLD"));
    EXPECT_FALSE(contains("Hello World", "WORLD", csoCaseSensitive));
    EXPECT_TRUE(contains("Hello World", "World", csoCaseSensitive));
    EXPECT_FALSE(contains("", "a"));
    EXPECT_FALSE(contains("ab", "abc"));
}

TEST_F(ContentTest, WholeWord)
{
    EXPECT_TRUE(contains("cat.", "cat", csoWholeWord));
    EXPECT_TRUE(contains("cat", "cat", csoWholeWord));          // start and end of file
    EXPECT_TRUE(contains("the cat", "cat", csoWholeWord));
    EXPECT_FALSE(contains("cats", "cat", csoWholeWord));
    EXPECT_FALSE(contains("tomcat", "cat", csoWholeWord));
    EXPECT_TRUE(contains("cats cat", "cat", csoWholeWord));     // a later one counts
    EXPECT_FALSE(contains("\xC3\xA9" "cat", "cat", csoWholeWord));  // UTF-8 bytes are letters
    // UTF-8 text: the neighbour is the whole character; é is a letter, « is not.
    EXPECT_FALSE(contains("\xEF\xBB\xBF" "\xC3\xA9" "cat", "cat", csoWholeWord));
    EXPECT_TRUE(contains("\xEF\xBB\xBF" "\xC2\xAB" "cat" "\xC2\xBB", "cat", csoWholeWord));
}

TEST_F(ContentTest, ByteOrderMarks)
{
    EXPECT_TRUE(contains(utf16(u"say H\u00e9llo there", false), "h\u00c9LLO"));
    EXPECT_TRUE(contains(utf16(u"say H\u00e9llo there", true), "h\u00c9LLO"));
    EXPECT_FALSE(contains(utf16(u"say Hello", true), "Hello", csoCaseSensitive | csoNegate));
    EXPECT_TRUE(contains(utf16(u"a cat.", true), "cat", csoWholeWord));
    EXPECT_FALSE(contains(utf16(u"a cats", false), "cat", csoWholeWord));
    // A UTF-16 file without its mark is single-byte text: the letters are apart.
    EXPECT_FALSE(contains(utf16(u"Hello", false, false), "Hello"));
    // The mark is never part of the text (ASCII phrase "\xFF" cannot hit it).
    EXPECT_FALSE(contains("\xEF\xBB\xBF" "abc", "\xEF\xBB"));
    EXPECT_TRUE(contains("\xEF\xBB" "abc", "\xEF\xBB"));  // no full mark: single-byte
    // UTF-8 with a mark: no match starting inside a multi-byte character.
    EXPECT_FALSE(contains("\xEF\xBB\xBF" "\xE2\x82\xAC", "\x82\xAC"));
    EXPECT_TRUE(contains("\xE2\x82\xAC", "\x82\xAC"));  // single-byte text: anywhere
    // A last odd byte of a UTF-16 file is ignored.
    EXPECT_FALSE(contains(utf16(u"ab", false) + "c", "abc"));
}

TEST_F(ContentTest, AcrossTheBlockBoundary)
{
    const size_t block = 61440;
    for (size_t blockSize : {size_t(61440), size_t(256 * 1024)}) {
        setContentBlockSizeForTests(blockSize);
        std::string body(block - 3, 'x');
        EXPECT_TRUE(contains(body + "needle" + std::string(100, 'x'), "needle")) << blockSize;
        // Whole word ending exactly at the block end: its right neighbour lies in
        // the next block.
        std::string before(block - 7, 'y');
        before += ' ';
        EXPECT_FALSE(contains(before + "needle" + "s rest", "needle", csoWholeWord)) << blockSize;
        EXPECT_TRUE(contains(before + "needle" + ". rest", "needle", csoWholeWord)) << blockSize;
        // Left neighbour in the previous block.
        EXPECT_FALSE(contains(std::string(block, 'z') + "needle ", "needle", csoWholeWord)) << blockSize;
        EXPECT_TRUE(contains(std::string(block - 1, 'z') + " needle", "needle", csoWholeWord)) << blockSize;
        // UTF-16: the unit after the phrase starts the next block.
        std::u16string u(block / 2 - 1 - 7, u'q');
        u += u" needle";
        EXPECT_TRUE(contains(utf16(u + u". x", false), "needle", csoWholeWord)) << blockSize;
        EXPECT_FALSE(contains(utf16(u + u"d x", false), "needle", csoWholeWord)) << blockSize;
    }
}

TEST_F(ContentTest, NegateEmptyPhraseAndUnreadableFiles)
{
    EXPECT_TRUE(contains("abc", "zzz", csoNegate));
    EXPECT_FALSE(contains("abc", "b", csoNegate));
    TContentCriteria c;
    EXPECT_TRUE(c.Matches("/nonexistent/file"));  // empty phrase: never opened
    c.setOptions(csoNegate);
    EXPECT_TRUE(c.Matches("/nonexistent/file"));
    c.setPhrase("x");
    // A file that cannot be opened fails, under csoNegate too (a dangling link
    // cannot be opened by anyone, root included).
    ASSERT_EQ(::symlink("/nonexistent/target", tree.path("dangling").c_str()), 0);
    EXPECT_FALSE(c.Matches(tree.path("dangling")));
    EXPECT_FALSE(c.Matches(tree.root()));  // a folder has no content to read
    ASSERT_EQ(::mkfifo(tree.path("fifo").c_str(), 0644), 0);
    EXPECT_FALSE(c.Matches(tree.path("fifo")));  // and a pipe is not waited on
}

// The rules read directly: every start position, every unit compared, the
// neighbours looked up, over the whole file in memory.
bool referenceContains(const std::string& file, const std::string& phrase, TContentSearchOptions o)
{
    const auto& t = characterTables();
    const bool ci = !(o & csoCaseSensitive), whole = (o & csoWholeWord) != 0;
    const unsigned char* b = reinterpret_cast<const unsigned char*>(file.data());
    size_t n = file.size();
    bool found = false;
    if (n >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
        bool be = b[0] == 0xFE;
        std::vector<uint16_t> u;
        for (size_t i = 2; i + 1 < n; i += 2)
            u.push_back(be ? uint16_t(b[i] << 8 | b[i + 1]) : uint16_t(b[i + 1] << 8 | b[i]));
        std::u16string p = utf8ToUtf16(phrase);
        const uint16_t* f = ci ? t.LowerCaseW : t.SameCaseW;
        for (size_t s = 0; !found && s + p.size() <= u.size(); ++s) {
            size_t i = 0;
            while (i < p.size() && f[u[s + i]] == f[uint16_t(p[i])])
                ++i;
            if (i < p.size())
                continue;
            if (whole && !((s == 0 || t.DelimiterW[u[s - 1]]) &&
                             (s + p.size() == u.size() || t.DelimiterW[u[s + p.size()]])))
                continue;
            found = true;
        }
    } else {
        bool utf8 = n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF;
        std::string text = utf8 ? file.substr(3) : file;
        const unsigned char* x = reinterpret_cast<const unsigned char*>(text.data());
        const uint8_t* f = ci ? t.LowerCaseA : t.SameCaseA;
        auto delimAt = [&](size_t from, size_t to) {  // the character in [from, to)
            std::string_view s(text.data() + from, to - from);
            size_t i = 0;
            char32_t c = decodeUtf8At(s, i);
            if (i != s.size() || (c >= 0xDC80 && c <= 0xDCFF) || c > 0xFFFF)
                return true;
            return t.DelimiterW[c] != 0;
        };
        for (size_t s = 0; !found && s + phrase.size() <= text.size(); ++s) {
            size_t i = 0;
            while (i < phrase.size() && f[x[s + i]] == f[uint8_t(phrase[i])])
                ++i;
            if (i < phrase.size() || (utf8 && (x[s] & 0xC0) == 0x80))
                continue;
            if (whole) {
                size_t e = s + phrase.size();
                bool before, after;
                if (!utf8) {
                    before = s == 0 || t.DelimiterA[x[s - 1]];
                    after = e == text.size() || t.DelimiterA[x[e]];
                } else {
                    size_t j = s;
                    if (s > 0) {
                        j = s - 1;
                        size_t stop = s >= 8 ? s - 8 : 0;
                        while (j > stop && (x[j] & 0xC0) == 0x80)
                            --j;
                    }
                    before = s == 0 || delimAt(j, s);
                    size_t len = x[e] < 0x80 ? 1 : (x[e] & 0xE0) == 0xC0 ? 2 : (x[e] & 0xF0) == 0xE0 ? 3
                        : (x[e] & 0xF8) == 0xF0 ? 4 : 1;
                    after = e == text.size() || delimAt(e, std::min(e + len, text.size()));
                }
                if (!before || !after)
                    continue;
            }
            found = true;
        }
    }
    return (o & csoNegate) ? !found : found;
}

// The scanner on a file in memory (rewriting one disk file 1500 times is slow
// here); opening files is covered by the tests above.
bool containsInMemoryFile(const std::string& bytes, const std::string& phrase, TContentSearchOptions o)
{
    int fd = ::memfd_create("content", MFD_CLOEXEC);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    ::lseek(fd, 0, SEEK_SET);
    TStringVariants v;
    v.Ansi = v.Utf8 = phrase;
    v.Unicode = utf8ToUtf16(phrase);
    TFile file = TFile::adopt(fd);
    ScanResult r = ContainsPhrase(file, v, o);
    EXPECT_NE(r, ScanResult::Failed);
    const bool found = r == ScanResult::Found;
    return (o & csoNegate) ? !found : found;
}

TEST_F(ContentTest, RandomFilesAgreeWithTheRulesAtAnyBlockSize)
{
    std::mt19937 rng(12345);
    const std::vector<std::string> alphabet = {"a", "b", "A", "B", " ", ".", "\xC3\xA9", "\xC3\x89", "\xE2\x82\xAC",
        "\x80", "\n", "ab", "ba"};
    const std::vector<std::string> prefixes = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    int checked = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string body;
        size_t len = rng() % 300;
        while (body.size() < len)
            body += alphabet[rng() % alphabet.size()];
        std::string phrase;
        size_t plen = 1 + rng() % 4;
        while (phrase.size() < plen)
            phrase += alphabet[rng() % 6];  // ASCII pieces
        TContentSearchOptions o = rng() % 8;
        std::string file = prefixes[rng() % prefixes.size()] + body;
        setContentBlockSizeForTests(4 + rng() % 70);
        bool expected = referenceContains(file, phrase, o);
        ASSERT_EQ(containsInMemoryFile(file, phrase, o), expected)
            << "round " << round << " phrase '" << phrase << "' options " << o << " size " << file.size();
        ++checked;
    }
    EXPECT_EQ(checked, 4000);
}

}  // namespace
}  // namespace korvala
