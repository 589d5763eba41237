// korvala-cli seek: the Seeker's search without a window. The options stand for
// the Seeker page's controls and start in the page's initial state; the search
// runs through the same criteria mapping and engine as the page.

#include <algorithm>
#include <cctype>
#include <iostream>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CommandSupport.h"
#include "JsonLines.h"
#include "LineOutput.h"
#include "StrayValues.h"
#include "platform/DateTime.h"
#include "platform/DirectoryListing.h"
#include "platform/FileAttributes.h"
#include "platform/KorvalaError.h"
#include "platform/TextFold.h"
#include "search/AttributesCriteria.h"
#include "search/SearchWalker.h"
#include "search/SeekerCriteria.h"
#include "search/SeekerRow.h"

namespace korvala::cli {
namespace {

struct SeekOptions {
    std::string name = "*.*";
    std::string contains;
    bool caseSensitive = false;
    bool wholeWord = false;
    bool exclude = false;
    bool noSubfolders = false;
    std::vector<std::string> attrs;
    std::string minSize, maxSize;
    std::vector<std::string> createdBefore, createdAfter, modifiedBefore, modifiedAfter, accessedBefore,
        accessedAfter;
    bool rows = false;
    bool null = false;
    bool json = false;
    std::vector<std::string> locations;
};

// "N", "NB", "NKB", "NMB" or "NGB" (letter case ignored). The criteria hold
// the bound in bytes as a signed 64-bit count: N times the unit must fit it,
// since a larger bound would wrap round (to a negative one that every file
// passes) instead of matching nothing.
void parseSize(const std::string& option, const std::string& text, int64_t& count, SeekerSizeUnit& unit)
{
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0)
        throw CLI::ValidationError(option, "not a size: " + text);
    std::string suffix = text.substr(digits);
    for (char& c : suffix)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (suffix.empty() || suffix == "B")
        unit = SeekerSizeUnit::Bytes;
    else if (suffix == "KB")
        unit = SeekerSizeUnit::KB;
    else if (suffix == "MB")
        unit = SeekerSizeUnit::MB;
    else if (suffix == "GB")
        unit = SeekerSizeUnit::GB;
    else
        throw CLI::ValidationError(option, "unknown size unit: " + text);

    constexpr int64_t kMaxBytes = std::numeric_limits<int64_t>::max();
    const int64_t largest = kMaxBytes / seekerUnitBytes(unit);
    int64_t value = 0;
    for (size_t i = 0; i < digits; ++i) {
        const int digit = text[i] - '0';
        if (value > (largest - digit) / 10)
            throw CLI::ValidationError(option, "too large a size: " + text + " (at most " +
                std::to_string(kMaxBytes) + " bytes)");
        value = value * 10 + digit;
    }
    count = value;
}

bool allDigits(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// DATE (YYYY-MM-DD), TIME (hh:mm or hh:mm:ss) or DATE,TIME.
void parseBound(const std::string& text, SeekerTimeBound& bound)
{
    auto bad = [&] { return CLI::ValidationError("date", "not a date or time: " + text); };
    std::string datePart, timePart;
    size_t comma = text.find(',');
    if (comma != std::string::npos) {
        datePart = text.substr(0, comma);
        timePart = text.substr(comma + 1);
    } else if (text.find(':') != std::string::npos) {
        timePart = text;
    } else {
        datePart = text;
    }
    try {
        if (!datePart.empty()) {
            if (datePart.size() != 10 || datePart[4] != '-' || datePart[7] != '-')
                throw bad();
            std::string y = datePart.substr(0, 4), m = datePart.substr(5, 2), d = datePart.substr(8, 2);
            if (!allDigits(y) || !allDigits(m) || !allDigits(d))
                throw bad();
            bound.dateChecked = true;
            bound.date = encodeDate(std::stoi(y), std::stoi(m), std::stoi(d));
        }
        if (!timePart.empty()) {
            std::vector<std::string> parts;
            size_t start = 0;
            for (;;) {
                size_t colon = timePart.find(':', start);
                parts.push_back(timePart.substr(start, colon - start));
                if (colon == std::string::npos)
                    break;
                start = colon + 1;
            }
            if (parts.size() < 2 || parts.size() > 3)
                throw bad();
            for (const std::string& p : parts)
                if (!allDigits(p) || p.size() > 2)
                    throw bad();
            bound.timeChecked = true;
            bound.time = encodeTime(std::stoi(parts[0]), std::stoi(parts[1]),
                parts.size() == 3 ? std::stoi(parts[2]) : 0, 0);
        }
    } catch (const KorvalaError&) {
        throw bad();
    }
}

void applyBounds(const std::vector<std::string>& texts, SeekerTimeBound& bound)
{
    for (const std::string& t : texts)
        parseBound(t, bound);
}

void applyAttribute(const std::string& text, SeekerPageState& page)
{
    size_t eq = text.find('=');
    if (eq == std::string::npos)
        throw CLI::ValidationError("--attr", "expected NAME=set|unset|ignore: " + text);
    std::string name = text.substr(0, eq), value = text.substr(eq + 1);
    SeekerCheck check;
    if (value == "set")
        check = SeekerCheck::Checked;
    else if (value == "unset")
        check = SeekerCheck::Unchecked;
    else if (value == "ignore")
        check = SeekerCheck::Grayed;
    else
        throw CLI::ValidationError("--attr", "expected set, unset or ignore: " + text);
    uint32_t bit = 0;
    for (const AttributeName& a : kAttributeNames)
        if (equalsIgnoreCase(a.name, name))
            bit = a.bit;
    if (bit == 0)
        throw CLI::ValidationError("--attr", "unknown attribute: " + name);
    for (size_t i = 0; i < 15; ++i)
        if (kSeekerAttributeOrder[i] == bit)
            page.attributes[i] = check;
}

enum class SeekOutput { Paths, NullPaths, Rows, Json };

// Writes every match as its full path (ended by a line feed, or by NUL for
// names that hold line feeds), as the five cells of its result row, or as a
// JSON record of that row.
class PrintingHandler : public SearchWalkHandler {
public:
    explicit PrintingHandler(SeekOutput output) : m_output(output) {}

    void fileMatch(const std::string& folder, DirectoryListing& listing, size_t index) override
    {
        ++m_count;
        switch (m_output) {
        case SeekOutput::Paths:
            m_out << folder << listing.name(index);
            m_out.endLine();
            break;
        case SeekOutput::NullPaths:
            m_out << folder << listing.name(index) << '\0';
            m_out.endRecord();
            break;
        case SeekOutput::Rows: {
            const TSeekerRow row = formatSeekerRow(makeFileDetails(folder, listing, index));
            m_out << row.Name << '\t' << row.Size << '\t' << row.Attributes << '\t' << row.DateModified << '\t'
                  << row.Location;
            m_out.endLine();
            break;
        }
        case SeekOutput::Json:
            m_json.write(jsonRecord(folder, listing, index));
            break;
        }
    }

    void flush()
    {
        m_out.flush();
        m_json.flush();
    }
    size_t count() const { return m_count; }

private:
    // The grid's row with the values behind its texts: the size in bytes
    // (null for a folder, whose cell reads "Folder"), the attribute letters
    // and the whole attribute word, the modified time as ISO 8601 local time
    // with its offset, and the full path.
    static nlohmann::ordered_json jsonRecord(const std::string& folder, DirectoryListing& listing, size_t index)
    {
        const std::string_view name = listing.name(index);
        const EntryDetails& details = listing.details(index);
        nlohmann::ordered_json record;
        putBytes(record, "name", name);
        if (details.attributes & FILE_ATTRIBUTE_DIRECTORY)
            record["size"] = nullptr;
        else
            record["size"] = details.size;
        record["attributes"] = formatAttributeLetters(details.attributes);
        record["attribute_word"] = details.attributes;
        record["modified"] = isoLocalTime(details.modified);
        putBytes(record, "location", folder);
        putBytes(record, "path", folder + std::string(name));
        return record;
    }

    SeekOutput m_output;
    TLineOutput m_out;
    TJsonLines m_json;
    size_t m_count = 0;
};

int runSeek(const SeekOptions& opt)
{
    refuseStrayValues("--attr", opt.locations, [](std::string_view key) {
        return std::any_of(std::begin(kAttributeNames), std::end(kAttributeNames),
            [&](const AttributeName& a) { return equalsIgnoreCase(a.name, key); });
    });
    SeekerPageState page;
    page.fileName = opt.name;
    page.containing = opt.contains;
    page.caseSensitive = opt.caseSensitive;
    page.wholeWord = opt.wholeWord;
    page.exclude = opt.exclude;
    page.locations = opt.locations;
    page.includeSubfolders = !opt.noSubfolders;
    for (const std::string& a : opt.attrs)
        applyAttribute(a, page);
    page.sizeMin = page.sizeMax = 0;
    if (!opt.minSize.empty())
        parseSize("--min-size", opt.minSize, page.sizeMin, page.sizeMinUnit);
    if (!opt.maxSize.empty())
        parseSize("--max-size", opt.maxSize, page.sizeMax, page.sizeMaxUnit);
    applyBounds(opt.createdBefore, page.created.before);
    applyBounds(opt.createdAfter, page.created.after);
    applyBounds(opt.modifiedBefore, page.modified.before);
    applyBounds(opt.modifiedAfter, page.modified.after);
    applyBounds(opt.accessedBefore, page.accessed.before);
    applyBounds(opt.accessedAfter, page.accessed.after);

    TSearchCriteria criteria;
    buildSeekerCriteria(page, criteria);

    // The walk polls the Ctrl+C request between entries, as the search
    // thread polls the abort button.
    watchInterrupt("Searching process Aborted!");
    SeekOutput output = SeekOutput::Paths;  // the options exclude one another
    if (opt.json)
        output = SeekOutput::Json;
    else if (opt.rows)
        output = SeekOutput::Rows;
    else if (opt.null)
        output = SeekOutput::NullPaths;
    PrintingHandler handler(output);
    SearchWalker walker(criteria, interruptFlag(), handler);
    walker.runAll();
    handler.flush();

    if (interrupted())
        return reportAborted();
    if (handler.count() > 0) {
        std::cerr << "Searching process completed!\n";
        return kExitSuccess;
    }
    std::cerr << "Searching process completed, There is no File/Folder Found with these Search Criteria!\n";
    return kExitFailure;
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto opt = std::make_shared<SeekOptions>();
    CLI::App* cmd = app.add_subcommand("seek",
        "Search folders the way the Seeker does: prints the full path of each match "
        "(or the five cells of its result row with --rows, or a JSON record with --json).");
    cmd->add_option("--name", opt->name, "Name masks separated by ';' (default *.*)");
    cmd->add_option("--contains", opt->contains, "Text the files must contain");
    cmd->add_flag("--case-sensitive", opt->caseSensitive, "Compare the text with regard to case");
    cmd->add_flag("--whole-word", opt->wholeWord, "Only whole-word occurrences of the text count");
    cmd->add_flag("--exclude", opt->exclude, "Find files that do not contain the text");
    cmd->add_flag("--no-subfolders", opt->noSubfolders, "Do not walk sub-folders");
    cmd->add_option("--attr", opt->attrs,
        "NAME=set|unset|ignore, one per --attr, NAME one of Readonly Hidden System Directory Archive "
        "Device Normal Temporary SparseFile ReparsePoint Compressed Offline NotContentIndexed Encrypted "
        "Virtual")
        ->allow_extra_args(false);
    cmd->add_option("--min-size", opt->minSize, "At least N[B|KB|MB|GB] (no unit: bytes)");
    cmd->add_option("--max-size", opt->maxSize, "At most N[B|KB|MB|GB] (no unit: bytes)");
    const char* boundHelp = "YYYY-MM-DD, hh:mm[:ss] or both separated by ','";
    cmd->add_option("--created-before", opt->createdBefore, boundHelp)->allow_extra_args(false);
    cmd->add_option("--created-after", opt->createdAfter, boundHelp)->allow_extra_args(false);
    cmd->add_option("--modified-before", opt->modifiedBefore, boundHelp)->allow_extra_args(false);
    cmd->add_option("--modified-after", opt->modifiedAfter, boundHelp)->allow_extra_args(false);
    cmd->add_option("--accessed-before", opt->accessedBefore, boundHelp)->allow_extra_args(false);
    cmd->add_option("--accessed-after", opt->accessedAfter, boundHelp)->allow_extra_args(false);
    CLI::Option* rows = cmd->add_flag(
        "--rows", opt->rows, "Print Name, Size (KB), Attribute, Date Modified, Location, tab-separated");
    CLI::Option* json = cmd->add_flag("--json", opt->json,
        "Print one JSON object per match (JSON Lines): name, size (bytes, null for a folder), attributes, "
        "attribute_word, modified (ISO 8601 local time), location, path; a name, location or path that is not "
        "valid UTF-8 comes as name_b64, location_b64 or path_b64, its bytes in base64");
    // Rows are cells separated by tabs and JSON escapes line ends itself, so
    // NUL ends only the plain paths; with either of them it is bad usage.
    cmd->add_flag("-0,--null", opt->null,
           "End each path with NUL instead of a line feed, for names that hold line feeds (xargs -0); "
           "not with --rows or --json")
        ->excludes(rows)
        ->excludes(json);
    json->excludes(rows);
    cmd->add_option("locations", opt->locations,
        "Search locations, one line of the Seeker's location box each (level prefixes such as 2> allowed)")
        ->required();
    setAction(*cmd, [opt] { return runSeek(*opt); });
});

}  // namespace
}  // namespace korvala::cli
