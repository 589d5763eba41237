// The desktop.ini reader and editor. Any bytes read and stored untouched come
// back byte for byte; a key written (section, key and value from the input)
// reads back as the reader cuts it, from the edited text and from its stored
// bytes; a write changes at most one line of the original and a remove drops
// at most one, every other line kept in its place.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "platform/TextFold.h"
#include "tools/foldericon/ProfileText.h"

using namespace korvala;

namespace {

bool blank(char c)
{
    return c == ' ' || c == '\t';
}

std::string trim(std::string s)
{
    while (!s.empty() && blank(s.back()))
        s.pop_back();
    size_t a = 0;
    while (a < s.size() && blank(s[a]))
        ++a;
    return s.substr(a);
}

std::string without(std::string s, const char* chars)
{
    s.erase(std::remove_if(s.begin(), s.end(), [&](char c) { return std::strchr(chars, c) && c != 0; }), s.end());
    return s;
}

// The value as the reader gives it: trimmed, one pair of quotes removed, at
// most 2047 bytes.
std::string cut(std::string value)
{
    value = trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() > 2047)
        value.resize(2047);
    return value;
}

bool validUtf8(const std::string& s)
{
    for (size_t i = 0; i < s.size();) {
        const char32_t c = decodeUtf8At(s, i);
        if (c >= 0xDC80 && c <= 0xDCFF)
            return false;
    }
    return true;
}

// The lines of a file, cut at "\n", without the "\r" at their ends: a last
// line without its line end gains one in an edit, which may be the "\n" after
// a "\r" it ends with.
std::vector<std::string> lineTexts(const std::string& bytes)
{
    std::vector<std::string> out;
    size_t from = 0;
    while (from < bytes.size()) {
        size_t nl = bytes.find('\n', from);
        if (nl == std::string::npos)
            nl = bytes.size();
        std::string line = bytes.substr(from, nl - from);
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        out.push_back(line);
        from = nl + 1;
    }
    return out;
}

// Text the editor reads as UTF-16: a byte order mark, then whole code units
// with every surrogate paired.
bool validUtf16(const std::string& bytes)
{
    if (bytes.size() < 2 || bytes.size() % 2 || bytes.compare(0, 2, "\xFF\xFE") != 0)
        return false;
    auto unit = [&](size_t i) { return static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8; };
    for (size_t i = 2; i < bytes.size(); i += 2) {
        const int u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 2 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF)
            i += 2;
        else if (u >= 0xD800 && u <= 0xDFFF)
            return false;
    }
    return true;
}

// How many lines of `before` and of `after` lie between their longest common
// head and tail.
std::pair<size_t, size_t> changedLines(const std::vector<std::string>& before, const std::vector<std::string>& after)
{
    size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return {before.size() - head - tail, after.size() - head - tail};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool removing = in.ConsumeIntegral<uint8_t>() % 4 == 0;
    // A section and key the editor can write: one line, a section without
    // "]", a key without "=" that does not read as a comment or a section.
    const std::string section = trim(without(in.ConsumeRandomLengthString(16), "\r\n]"));
    std::string key = trim(without(in.ConsumeRandomLengthString(16), "\r\n="));
    if (key.empty() || key[0] == ';' || key[0] == '[')
        key.insert(0, "k");
    const std::string value = without(in.ConsumeRandomLengthString(64), "\r\n");
    const std::string stored = in.ConsumeRemainingBytesAsString();
    // A file that starts as UTF-16 but is not (an odd size, a lone surrogate)
    // is edited as bytes; it may read as UTF-16 once edited, so it is not
    // read back from its bytes here.
    const bool markedUtf16 = stored.size() >= 2 && stored.compare(0, 2, "\xFF\xFE") == 0;
    const bool utf16 = validUtf16(stored);

    TProfileText text(stored);
    FUZZ_CHECK(text.bytes() == stored, "bytes read and stored untouched come back the same");
    const std::optional<std::string> old = text.read(section, key);
    FUZZ_CHECK(!old || old->size() <= 2047, "a value is at most 2047 bytes");

    if (removing) {
        text.remove(section, key);
        if (markedUtf16)
            return 0;
        const auto [gone, added] = changedLines(lineTexts(stored), lineTexts(text.bytes()));
        FUZZ_CHECK(added == 0 && gone == (old ? 1u : 0u), "a remove drops the key's line only");
        return 0;
    }
    text.write(section, key, value);
    FUZZ_CHECK(text.read(section, key) == cut(value), "a written value reads back");
    const std::string edited = text.bytes();
    if (utf16 ? validUtf8(section) && validUtf8(key) && validUtf8(value) : !markedUtf16)
        FUZZ_CHECK(TProfileText(edited).read(section, key) == cut(value), "a written value reads back from the file");
    if (!markedUtf16) {
        const auto [changed, added] = changedLines(lineTexts(stored), lineTexts(edited));
        FUZZ_CHECK(changed <= 1 && (old ? changed == added : changed == 0 && added >= 1 && added <= 2),
            "a write changes or adds the key's line only, and every other line is kept");
    }
    return 0;
}
