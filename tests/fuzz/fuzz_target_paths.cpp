// The target-folder syntax of a location line: the line is cut into items
// (SplitList, SplitFolderList) and each item's prefix read (ParseTargetPrefix,
// ParseTargetFolder). The prefix is checked against a reference reading of
// "N>", "MIN-MAX>", ">" and "<"; the pieces of a list against what a list is.

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <optional>
#include <string>

#include "FuzzCheck.h"
#include "platform/TextFold.h"
#include "search/TargetPaths.h"
#include "search/Wildcard.h"

namespace {

using namespace korvala;

bool blank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// A level: an optional sign and decimal digits, nothing else, within the
// range of int; kept as its low 16 bits.
std::optional<uint16_t> level(std::string_view text)
{
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

void checkPrefix(std::string_view item, bool subfolders, uint16_t minLevel, uint16_t maxLevel)
{
    bool sub = subfolders;
    uint16_t lo = minLevel, hi = maxLevel;
    const std::string_view rest = ParseTargetPrefix(item, sub, lo, hi);
    FUZZ_CHECK(rest.data() >= item.data() && rest.data() + rest.size() <= item.data() + item.size(),
        "the folder text is part of the item");

    bool wantSub = subfolders;
    uint16_t wantLo = minLevel, wantHi = maxLevel;
    std::string_view wantRest = item;
    if (const size_t gt = item.find('>'); gt != std::string_view::npos) {
        wantSub = true;
        wantRest = item.substr(gt + 1);
        const std::string_view prefix = trim(item.substr(0, gt));
        if (const size_t dash = prefix.find('-'); dash != std::string_view::npos) {
            wantLo = level(prefix.substr(0, dash)).value_or(wantLo);
            wantHi = level(prefix.substr(dash + 1)).value_or(wantHi);
        } else if (!prefix.empty()) {
            wantHi = level(prefix).value_or(wantHi);
            wantLo = 0;
        }
    } else if (const size_t lt = item.find('<'); lt != std::string_view::npos) {
        wantSub = false;
        wantRest = item.substr(lt + 1);
    }
    FUZZ_CHECK(rest == trim(wantRest), "the folder text is the trimmed text after the prefix");
    FUZZ_CHECK(sub == wantSub, "sub-folders as the prefix says");
    FUZZ_CHECK(lo == wantLo && hi == wantHi, "levels as the prefix says");

    const std::string folder = TargetFolderOf(rest);
    FUZZ_CHECK(!folder.empty() && folder.front() == '/' && folder.back() == '/',
        "a target folder is absolute and ends in /");
}

void checkList(std::string_view line, bool foldersByCase)
{
    const std::vector<std::string> pieces = foldersByCase ? SplitFolderList(line) : SplitList(line);
    for (size_t i = 0; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        FUZZ_CHECK(!piece.empty() && trim(piece) == piece, "a piece is trimmed and not empty");
        FUZZ_CHECK(piece.find(';') == std::string::npos && line.find(piece) != std::string_view::npos,
            "a piece is text of the line between two ';'");
        for (size_t j = 0; j < i; ++j)
            FUZZ_CHECK(foldersByCase ? pieces[j] != piece : !equalsIgnoreCase(pieces[j], piece),
                "no piece repeats an earlier one");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool subfolders = in.ConsumeBool();
    const uint16_t minLevel = in.ConsumeIntegral<uint16_t>();
    const uint16_t maxLevel = in.ConsumeIntegral<uint16_t>();
    const std::string line = in.ConsumeRemainingBytesAsString();
    checkList(line, false);
    checkList(line, true);
    checkPrefix(line, subfolders, minLevel, maxLevel);
    for (const std::string& item : SplitFolderList(line))
        checkPrefix(item, subfolders, minLevel, maxLevel);
    return 0;
}
