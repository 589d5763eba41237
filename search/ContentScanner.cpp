#include "search/ContentScanner.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/File.h"
#include "platform/TextFold.h"
#include "search/AnchorScan.h"
#include "search/CharacterTables.h"

namespace korvala {
namespace {

// Larger blocks than the 61440 bytes the format is defined with: results do
// not depend on the block size (occurrences and neighbours are looked up
// across block ends), and fewer reads are faster.
size_t g_blockSize = 256 * 1024;

// Set per scan (one scan per thread at a time).
thread_local bool t_shortReadIsEnd = false;

// Longest UTF-8 neighbour character that is decoded for the whole-word test.
constexpr size_t Context = 8;

// Reads until `want` bytes are in or the file ends.
bool readFull(TFile& file, uint8_t* dst, size_t want, size_t& got, bool& eof)
{
    if (file.readFull(dst, want, got, t_shortReadIsEnd))
        return false;
    if (got < want)
        eof = true;
    return true;
}

// How common a byte is in text and data: the scan anchors on the rarest byte
// of the phrase so that fewer false candidates are checked.
int byteFrequency(uint8_t b)
{
    static const char* common = " etaoinsrhldcumfpgwybvk";
    if (b == 0 || b == ' ' || b == '\n' || b == '\r' || b == '\t')
        return 255;
    if (const char* at = std::strchr(common, b); at && b != 0)
        return 250 - static_cast<int>(at - common) * 4;
    if (b >= 'a' && b <= 'z')
        return 150;
    if (b >= '0' && b <= '9')
        return 130;
    if (b >= 'A' && b <= 'Z')
        return 110;
    if (b == '.' || b == ',' || b == '"' || b == '_' || b == '/' || b == '-' || b == '(' || b == ')')
        return 120;
    if (b >= 0x80)
        return 90;
    return 60;
}

// The whole-word test in UTF-8 text: the neighbouring character decoded into
// one UTF-16 code unit and looked up; anything else counts as a delimiter.
bool utf8CharIsDelimiter(const uint8_t* p, size_t n)
{
    if (n == 0)
        return true;
    std::string_view s(reinterpret_cast<const char*>(p), n);
    size_t i = 0;
    char32_t c = decodeUtf8At(s, i);
    if (i != n || (c >= 0xDC80 && c <= 0xDCFF) || c > 0xFFFF)
        return true;
    return characterTables().DelimiterW[c] != 0;
}

size_t utf8SequenceLength(uint8_t lead)
{
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

// Single-byte and UTF-8 text, scanned in place in the byte buffer.
ScanResult scanBytes(TFile& file, uint8_t* bufData, size_t cap, size_t n, bool eof, const std::string& phraseText,
    TContentSearchOptions options, bool utf8)
{
    const auto& tables = characterTables();
    const bool ci = !(options & csoCaseSensitive);
    const bool whole = (options & csoWholeWord) != 0;
    const uint8_t* fold = ci ? tables.LowerCaseA : tables.SameCaseA;
    const size_t m = phraseText.size();
    std::vector<uint8_t> P(m);
    for (size_t i = 0; i < m; ++i)
        P[i] = fold[static_cast<uint8_t>(phraseText[i])];

    // The anchors: the rarest byte of the phrase (both cases when folding),
    // and the rarest of those far from it, preferring one unlike it: bytes
    // far apart are less often both found in a near miss of the phrase.
    auto rarity = [&](size_t i) {
        const uint8_t b = P[i];
        int f = byteFrequency(b);
        if (ci && b >= 'a' && b <= 'z')
            f += byteFrequency(static_cast<uint8_t>(b - 32));
        return f;
    };
    size_t k = 0;
    for (size_t i = 1; i < m; ++i)
        if (rarity(i) < rarity(k))
            k = i;
    const size_t farthest = std::max(k, m - 1 - k);
    auto distance = [&](size_t i) { return i > k ? i - k : k - i; };
    size_t k2 = k;
    for (size_t i = 0; i < m; ++i) {
        if (i == k || 2 * distance(i) < farthest)
            continue;
        const bool unlike = P[i] != P[k];
        const bool bestUnlike = k2 != k && P[k2] != P[k];
        if (k2 == k || (unlike && !bestUnlike) || (unlike == bestUnlike && rarity(i) < rarity(k2)))
            k2 = i;
    }
    auto anchorAt = [&](size_t i) {
        const uint8_t lower = P[i];
        const uint8_t upper = (ci && lower >= 'a' && lower <= 'z') ? static_cast<uint8_t>(lower - 32) : lower;
        return TScanAnchor{i, lower, upper};
    };
    const TScanAnchor anchor1 = anchorAt(k), anchor2 = anchorAt(k2);

    bool atStart = true;  // bufData[0] is the first byte of the text
    size_t from = 0;
    for (;;) {
        if (!eof && n < cap) {
            size_t got = 0;
            if (!readFull(file, bufData + n, cap - n, got, eof))
                return ScanResult::Failed;
            n += got;
        }
        const uint8_t* b = bufData;
        size_t lim;
        if (eof)
            lim = n >= m ? n - m + 1 : 0;
        else
            lim = n >= m + Context ? n - m - Context + 1 : 0;

        size_t p = from;
        while (p < lim) {
            const size_t s = findAnchored(b, p, lim, anchor1, anchor2);
            if (s >= lim)
                break;
            p = s + 1;
            if (ci) {
                size_t i = 0;
                while (i < m && fold[b[s + i]] == P[i])
                    ++i;
                if (i != m)
                    continue;
            } else if (std::memcmp(b + s, P.data(), m) != 0) {
                continue;
            }
            if (utf8 && (b[s] & 0xC0) == 0x80)
                continue;
            if (whole) {
                const size_t e = s + m;
                bool before, after;
                if (s == 0 && atStart) {
                    before = true;
                } else if (!utf8) {
                    before = tables.DelimiterA[b[s - 1]] != 0;
                } else {
                    size_t j = s - 1;
                    size_t stop = s >= Context ? s - Context : 0;
                    while (j > stop && (b[j] & 0xC0) == 0x80)
                        --j;
                    before = utf8CharIsDelimiter(b + j, s - j);
                }
                if (e >= n) {
                    after = true;  // the end of the file (e == n only at the end)
                } else if (!utf8) {
                    after = tables.DelimiterA[b[e]] != 0;
                } else {
                    size_t len = std::min(utf8SequenceLength(b[e]), n - e);
                    after = utf8CharIsDelimiter(b + e, len);
                }
                if (!before || !after)
                    continue;
            }
            return ScanResult::Found;
        }
        if (eof)
            return ScanResult::NotFound;
        // Keep the undecided tail and some context before it for the next block.
        const size_t next = std::max(from, lim);
        const size_t keep = next >= Context ? next - Context : 0;
        if (keep > 0) {
            std::memmove(bufData, bufData + keep, n - keep);
            n -= keep;
            atStart = false;
        }
        from = next - keep;
    }
}

// UTF-16 text: code units (byte-swapped for big-endian), compared through the
// 16-bit tables.
ScanResult scanUtf16(TFile& file, uint8_t* rawData, size_t rawSize, size_t n, bool eof,
    const std::u16string& phraseText, TContentSearchOptions options, bool bigEndian)
{
    const auto& tables = characterTables();
    const bool ci = !(options & csoCaseSensitive);
    const bool whole = (options & csoWholeWord) != 0;
    const uint16_t* fold = ci ? tables.LowerCaseW : tables.SameCaseW;
    const size_t m = phraseText.size();
    std::vector<uint16_t> P(m);
    for (size_t i = 0; i < m; ++i)
        P[i] = fold[static_cast<uint16_t>(phraseText[i])];

    const size_t capUnits = std::max(rawSize / 2, 2 * m + 64);
    std::unique_ptr<uint16_t[]> u(new uint16_t[capUnits]);
    size_t un = 0;
    // Bytes of raw[0..n) not yet turned into units.
    size_t rawStart = 0;
    auto convert = [&]() {
        size_t pairs = std::min((n - rawStart) / 2, capUnits - un);
        const uint8_t* r = rawData + rawStart;
        for (size_t i = 0; i < pairs; ++i) {
            uint16_t lo = r[2 * i], hi = r[2 * i + 1];
            u[un + i] = bigEndian ? static_cast<uint16_t>(lo << 8 | hi) : static_cast<uint16_t>(hi << 8 | lo);
        }
        un += pairs;
        rawStart += pairs * 2;
        // A leftover odd byte waits for the next read (and is ignored at the end).
        if (rawStart < n) {
            std::memmove(rawData, rawData + rawStart, n - rawStart);
            n -= rawStart;
        } else {
            n = 0;
        }
        rawStart = 0;
    };
    convert();

    bool atStart = true;
    size_t from = 0;
    for (;;) {
        while (!eof && un < capUnits) {
            size_t room = (capUnits - un) * 2;
            size_t want = room > n ? std::min(rawSize - n, room - n) : 0;
            if (want == 0)
                break;
            size_t got = 0;
            if (!readFull(file, rawData + n, want, got, eof))
                return ScanResult::Failed;
            n += got;
            convert();
            if (got == 0)
                break;
        }
        size_t lim;
        if (eof)
            lim = un >= m ? un - m + 1 : 0;
        else
            lim = un >= m + 1 ? un - m : 0;
        const uint16_t p0 = P[0];
        for (size_t s = from; s < lim; ++s) {
            if (fold[u[s]] != p0)
                continue;
            size_t i = 1;
            while (i < m && fold[u[s + i]] == P[i])
                ++i;
            if (i != m)
                continue;
            if (whole) {
                bool before = (s == 0 && atStart) || tables.DelimiterW[u[s - 1]] != 0;
                bool after = s + m >= un || tables.DelimiterW[u[s + m]] != 0;
                if (!before || !after)
                    continue;
            }
            return ScanResult::Found;
        }
        if (eof)
            return ScanResult::NotFound;
        const size_t next = std::max(from, lim);
        const size_t keep = next >= 1 ? next - 1 : 0;
        if (keep > 0) {
            std::memmove(u.get(), u.get() + keep, (un - keep) * sizeof(uint16_t));
            un -= keep;
            atStart = false;
        }
        from = next - keep;
    }
}

}  // namespace

void setContentBlockSizeForTests(size_t bytes)
{
    g_blockSize = std::max<size_t>(bytes, 4);
}

ScanResult ContainsPhrase(TFile& file, const TStringVariants& phrase, TContentSearchOptions options, bool shortReadIsEnd)
{
    t_shortReadIsEnd = shortReadIsEnd;
    const size_t longest = std::max(phrase.Ansi.size(), phrase.Unicode.size() * 2);
    // One buffer per thread, kept between files and never cleared: allocating
    // and zeroing a block per file costs more than scanning a small file.
    struct Buffer {
        std::unique_ptr<uint8_t[]> data;
        size_t size = 0;
    };
    thread_local Buffer tls;
    const size_t cap = std::max(g_blockSize, 2 * longest + 64);
    if (tls.size != cap) {
        tls.data.reset(new uint8_t[cap]);
        tls.size = cap;
    }
    uint8_t* buf = tls.data.get();
    size_t n = 0;
    bool eof = false;
    // The first block: enough to see a byte-order mark.
    size_t want = std::min(cap, g_blockSize);
    if (!readFull(file, buf, std::max<size_t>(want, 3), n, eof))
        return ScanResult::Failed;

    if (n >= 2 && buf[0] == 0xFF && buf[1] == 0xFE) {
        std::memmove(buf, buf + 2, n - 2);
        return scanUtf16(file, buf, cap, n - 2, eof, phrase.Unicode, options, false);
    }
    if (n >= 2 && buf[0] == 0xFE && buf[1] == 0xFF) {
        std::memmove(buf, buf + 2, n - 2);
        return scanUtf16(file, buf, cap, n - 2, eof, phrase.Unicode, options, true);
    }
    if (n >= 3 && buf[0] == 0xEF && buf[1] == 0xBB && buf[2] == 0xBF) {
        std::memmove(buf, buf + 3, n - 3);
        return scanBytes(file, buf, cap, n - 3, eof, phrase.Utf8, options, true);
    }
    return scanBytes(file, buf, cap, n, eof, phrase.Ansi, options, false);
}

}  // namespace korvala
