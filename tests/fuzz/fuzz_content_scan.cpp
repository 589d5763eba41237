// The content scanner against a naive search: the phrase, the options and the
// file's bytes come from the input; the scan runs in one block and again in
// small blocks chosen by the input (occurrences and word neighbours across
// block ends), and both answers must be the naive search's.

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "platform/File.h"
#include "platform/TextFold.h"
#include "search/CharacterTables.h"
#include "search/ContentCriteria.h"
#include "search/ContentScanner.h"

namespace {

using namespace korvala;

bool isContinuation(uint8_t b)
{
    return (b & 0xC0) == 0x80;
}

// A word neighbour in UTF-8 text: a delimiter unless the bytes are exactly one
// character of the 16-bit range that is a letter or digit.
bool utf8Delimiter(const std::string& s)
{
    if (s.empty())
        return true;
    size_t i = 0;
    const char32_t c = decodeUtf8At(s, i);
    if (i != s.size() || (c >= 0xDC80 && c <= 0xDCFF) || c > 0xFFFF)
        return true;
    return characterTables().DelimiterW[c] != 0;
}

size_t utf8Length(uint8_t lead)
{
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

bool naiveBytes(const std::string& text, const std::string& phrase, unsigned options, bool utf8)
{
    const auto& tables = characterTables();
    const uint8_t* fold = (options & csoCaseSensitive) ? tables.SameCaseA : tables.LowerCaseA;
    auto at = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const size_t n = text.size(), m = phrase.size();
    for (size_t s = 0; s + m <= n; ++s) {
        bool same = true;
        for (size_t i = 0; i < m && same; ++i)
            same = fold[at(s + i)] == fold[static_cast<uint8_t>(phrase[i])];
        if (!same || (utf8 && isContinuation(at(s))))
            continue;
        if (options & csoWholeWord) {
            bool before = true, after = true;
            if (s > 0 && !utf8) {
                before = tables.DelimiterA[at(s - 1)] != 0;
            } else if (s > 0) {
                // The character ending at s - 1: at most 8 bytes back to its lead byte.
                size_t j = s - 1;
                while (j > 0 && s - j < 8 && isContinuation(at(j)))
                    --j;
                before = utf8Delimiter(text.substr(j, s - j));
            }
            const size_t e = s + m;
            if (e < n && !utf8)
                after = tables.DelimiterA[at(e)] != 0;
            else if (e < n)
                after = utf8Delimiter(text.substr(e, utf8Length(at(e))));
            if (!before || !after)
                continue;
        }
        return true;
    }
    return false;
}

bool naiveUtf16(const std::string& bytes, const std::u16string& phrase, unsigned options, bool bigEndian)
{
    const auto& tables = characterTables();
    const uint16_t* fold = (options & csoCaseSensitive) ? tables.SameCaseW : tables.LowerCaseW;
    std::vector<uint16_t> u;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const uint16_t a = static_cast<uint8_t>(bytes[i]), b = static_cast<uint8_t>(bytes[i + 1]);
        u.push_back(bigEndian ? static_cast<uint16_t>(a << 8 | b) : static_cast<uint16_t>(b << 8 | a));
    }
    const size_t n = u.size(), m = phrase.size();
    for (size_t s = 0; s + m <= n; ++s) {
        bool same = true;
        for (size_t i = 0; i < m && same; ++i)
            same = fold[u[s + i]] == fold[static_cast<uint16_t>(phrase[i])];
        if (!same)
            continue;
        if (options & csoWholeWord) {
            const bool before = s == 0 || tables.DelimiterW[u[s - 1]] != 0;
            const bool after = s + m == n || tables.DelimiterW[u[s + m]] != 0;
            if (!before || !after)
                continue;
        }
        return true;
    }
    return false;
}

bool naive(const std::string& data, const TStringVariants& phrase, unsigned options)
{
    if (data.size() >= 2 && data.compare(0, 2, "\xFF\xFE") == 0)
        return naiveUtf16(data.substr(2), phrase.Unicode, options, false);
    if (data.size() >= 2 && data.compare(0, 2, "\xFE\xFF") == 0)
        return naiveUtf16(data.substr(2), phrase.Unicode, options, true);
    if (data.size() >= 3 && data.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return naiveBytes(data.substr(3), phrase.Utf8, options, true);
    return naiveBytes(data, phrase.Ansi, options, false);
}

// The scanned file: one file in the temporary folder, rewritten per input.
const std::string& scratchFile()
{
    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/korvala-fuzz-scan-XXXXXX";
        const int fd = ::mkstemp(name.data());
        FUZZ_CHECK(fd >= 0, "a scratch file can be made");
        ::close(fd);
        std::atexit([] { ::unlink(scratchFile().c_str()); });
        return name;
    }();
    return path;
}

ScanResult scan(const TStringVariants& phrase, unsigned options)
{
    TFile file;
    FUZZ_CHECK(!file.open(scratchFile(), TOpenOptions::contentRead()), "the scratch file opens");
    return ContainsPhrase(file, phrase, options);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const unsigned options = in.ConsumeIntegral<uint8_t>() & (csoCaseSensitive | csoWholeWord);
    const size_t block = in.ConsumeIntegralInRange<size_t>(4, 80);
    TContentCriteria criteria;
    criteria.setPhrase(in.ConsumeRandomLengthString(24));
    const std::string text = in.ConsumeRemainingBytesAsString();
    // An empty phrase matches without a scan (TContentCriteria::MatchesAt).
    if (criteria.isEmpty())
        return 0;
    {
        TFile out;
        TOpenOptions write;
        write.access = TFileAccess::Write;
        write.truncate = true;
        FUZZ_CHECK(!out.open(scratchFile(), write), "the scratch file can be written");
        FUZZ_CHECK(!out.writeAll(text.data(), text.size()), "the scratch file is written");
    }
    const bool expected = naive(text, criteria.Variants(), options);
    const ScanResult whole = scan(criteria.Variants(), options);
    FUZZ_CHECK(whole == (expected ? ScanResult::Found : ScanResult::NotFound), "one-block scan agrees with naive search");
    setContentBlockSizeForTests(block);
    const ScanResult blocks = scan(criteria.Variants(), options);
    setContentBlockSizeForTests(256 * 1024);
    FUZZ_CHECK(blocks == whole, "scan in small blocks agrees with one block");
    return 0;
}
