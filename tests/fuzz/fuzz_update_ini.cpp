// The update file's INI reader and the version comparison. Any text parses
// into entries that are what an entry is (trimmed names, no line ends); each
// entry is found by readString unless an earlier one of the same names wins;
// the entries written out as INI text parse back to the same entries. The
// version comparison is a strict order: never both ways, never a text newer
// than itself, and transitive.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>

#include "FuzzCheck.h"
#include "update/UpdateIni.h"
#include "update/Version.h"

using namespace korvala;

namespace {

bool trimmedName(const std::string& s)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return s.empty() || (!blank(s.front()) && !blank(s.back()));
}

bool oneLine(const std::string& s)
{
    return s.find_first_of("\r\n") == std::string::npos;
}

bool sameName(const std::string& a, const std::string& b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

bool sameEntries(const TIniFile& a, const TIniFile& b)
{
    if (a.entries().size() != b.entries().size())
        return false;
    for (size_t i = 0; i < a.entries().size(); ++i) {
        const TIniFile::TEntry &x = a.entries()[i], &y = b.entries()[i];
        if (x.section != y.section || x.key != y.key || x.value != y.value)
            return false;
    }
    return true;
}

void checkIni(std::string_view text)
{
    const TIniFile ini = TIniFile::parse(text);
    std::string written;
    for (size_t i = 0; i < ini.entries().size(); ++i) {
        const TIniFile::TEntry& e = ini.entries()[i];
        FUZZ_CHECK(!e.key.empty() && trimmedName(e.key) && trimmedName(e.section), "names are trimmed");
        FUZZ_CHECK(oneLine(e.section) && oneLine(e.key) && oneLine(e.value), "an entry is one line");
        FUZZ_CHECK(e.key.find('=') == std::string::npos && e.section.find(']') == std::string::npos,
            "a key holds no '=', a section no ']'");
        const std::string found = ini.readString(e.section, e.key, "a");
        FUZZ_CHECK(found == ini.readString(e.section, e.key, "b"), "every entry is found");
        // The first entry of the same names, ASCII case aside, gives the value.
        size_t first = 0;
        while (!(sameName(ini.entries()[first].section, e.section) && sameName(ini.entries()[first].key, e.key)))
            ++first;
        FUZZ_CHECK(found == ini.entries()[first].value, "the first entry of the names gives the value");
        written += (i % 2 ? "\r\n[" : "\n[") + e.section + "]\r" + e.key + " = \"" + e.value + "\"";
    }
    FUZZ_CHECK(sameEntries(TIniFile::parse(written), ini), "the entries written out parse back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string a = in.ConsumeRandomLengthString(32);
    const std::string b = in.ConsumeRandomLengthString(32);
    const std::string c = in.ConsumeRandomLengthString(32);
    FUZZ_CHECK(!IsNewerVersion(a, a), "no version is newer than itself");
    FUZZ_CHECK(!(IsNewerVersion(a, b) && IsNewerVersion(b, a)), "never newer both ways");
    if (IsNewerVersion(a, b) && IsNewerVersion(b, c))
        FUZZ_CHECK(IsNewerVersion(a, c), "newer is transitive");
    // Two texts neither newer than the other are equal in the order: a third
    // text compares with both alike.
    if (!a.empty() && !b.empty() && !IsNewerVersion(a, b) && !IsNewerVersion(b, a))
        FUZZ_CHECK(IsNewerVersion(a, c) == IsNewerVersion(b, c) && IsNewerVersion(c, a) == IsNewerVersion(c, b),
            "equal versions compare alike");
    checkIni(in.ConsumeRemainingBytesAsString());
    return 0;
}
