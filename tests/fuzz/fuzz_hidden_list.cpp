// The ".hidden" list's text: any contents read without a fault; names listed
// one by one into a list are read back, in order and once each; unlisting a
// name removes it and keeps every other line in its place.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "platform/HiddenList.h"

using namespace korvala;

namespace {

std::vector<std::string> lines(std::string_view text)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        out.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::vector<std::string> names(std::string_view text)
{
    std::vector<std::string> out;
    for (std::string_view n : hiddenListNames(text))
        out.emplace_back(n);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string original = in.ConsumeRandomLengthString(512);
    std::vector<std::string> added;
    while (in.remaining_bytes() > 0 && added.size() < 16) {
        std::string name = in.ConsumeRandomLengthString(24);
        std::replace(name.begin(), name.end(), '\n', '_');  // a name never holds a line feed
        added.push_back(name);
    }

    // Reading: the names are the non-empty lines, in order.
    std::vector<std::string> expected;
    for (const std::string& line : lines(original))
        if (!line.empty())
            expected.push_back(line);
    FUZZ_CHECK(names(original) == expected, "the names are the non-empty lines");
    FUZZ_CHECK(hiddenListIsEmpty(original) == expected.empty(), "empty exactly when no line names anything");

    // Writing: every name added is listed after the names already there, once.
    std::string list = original;
    for (const std::string& name : added) {
        const bool listed = std::find(expected.begin(), expected.end(), name) != expected.end();
        list = hiddenListWith(list, name);
        if (!name.empty() && !listed)
            expected.push_back(name);
        FUZZ_CHECK(name.empty() || hiddenListHas(list, name), "an added name is listed");
    }
    FUZZ_CHECK(names(list) == expected, "write then read gives the same names");
    FUZZ_CHECK(list.compare(0, original.size(), original) == 0, "the lines already there are kept");

    // Unlisting: the name's lines go, every other line stays in its place.
    if (!added.empty()) {
        const std::string& gone = added.front();
        const std::string without = hiddenListWithout(list, gone);
        FUZZ_CHECK(!hiddenListHas(without, gone), "an unlisted name is gone");
        std::vector<std::string> kept;
        for (const std::string& line : lines(list))
            if (line != gone)
                kept.push_back(line);
        FUZZ_CHECK(lines(without) == kept, "every other line is kept in its place");
    }
    return 0;
}
