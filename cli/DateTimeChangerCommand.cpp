// korvala-cli times: shows the three time stamps of paths and changes them the
// way the DateTime Changer does, "Set by Specified DateTime" (--set) or
// "Set by Age" (--shift).

#include <cstdio>
#include <ctime>
#include <iostream>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "CommandSupport.h"
#include "StrayValues.h"
#include "platform/DateTime.h"
#include "platform/FileTimes.h"
#include "platform/KorvalaError.h"
#include "platform/TextFold.h"
#include "tools/datetime/DateTimeChanger.h"

namespace korvala::cli {
namespace {

struct TimesOptions {
    std::vector<std::string> sets;
    std::vector<std::string> shifts;
    std::vector<std::string> paths;
};

// The three rows of a page, indexed by FileTimeKind: created, modified, accessed.
template <typename T>
struct Rows {
    T row[3]{};
    bool given[3]{};
};

int kindIndex(const std::string& name)
{
    if (name == "created")
        return 0;
    if (name == "modified")
        return 1;
    if (name == "accessed")
        return 2;
    throw CLI::ValidationError("times", "unknown time kind \"" + name +
            "\" (created, modified or accessed)");
}

// Splits KIND=VALUE and claims the kind's row; a kind may be given once.
template <typename T>
int claimKind(Rows<T>& rows, const std::string& item, std::string& value)
{
    const auto eq = item.find('=');
    if (eq == std::string::npos)
        throw CLI::ValidationError("times", "expected KIND=VALUE, got \"" + item + "\"");
    const int kind = kindIndex(item.substr(0, eq));
    if (rows.given[kind])
        throw CLI::ValidationError("times", "time kind \"" + item.substr(0, eq) + "\" given twice");
    rows.given[kind] = true;
    value = item.substr(eq + 1);
    return kind;
}

TDateTime parseDate(const std::string& text, const std::string& item)
{
    static const std::regex kDate(R"((\d{4})-(\d{1,2})-(\d{1,2}))");
    std::smatch m;
    if (!std::regex_match(text, m, kDate))
        throw CLI::ValidationError("times", "bad date in \"" + item + "\" (YYYY-MM-DD)");
    try {
        return encodeDate(std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]));
    } catch (const KorvalaError& e) {
        throw CLI::ValidationError("times", "bad date in \"" + item + "\": " + e.what());
    }
}

TDateTime parseTime(const std::string& text, const std::string& item)
{
    static const std::regex kTime(R"((\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?)");
    std::smatch m;
    if (!std::regex_match(text, m, kTime))
        throw CLI::ValidationError("times", "bad time in \"" + item + "\" (hh:mm[:ss[.zzz]])");
    const int seconds = m[3].matched ? std::stoi(m[3]) : 0;
    int ms = 0;
    if (m[4].matched) {
        std::string digits = m[4];
        digits.resize(3, '0');
        ms = std::stoi(digits);
    }
    try {
        return encodeTime(std::stoi(m[1]), std::stoi(m[2]), seconds, ms);
    } catch (const KorvalaError& e) {
        throw CLI::ValidationError("times", "bad time in \"" + item + "\": " + e.what());
    }
}

// KIND=DATE, KIND=TIME or KIND=DATE,TIME; a part not given stays unticked.
Rows<NewTimeChoice> parseSets(const std::vector<std::string>& items)
{
    Rows<NewTimeChoice> rows;
    for (const std::string& item : items) {
        std::string value;
        NewTimeChoice& choice = rows.row[claimKind(rows, item, value)];
        std::string datePart, timePart;
        const auto comma = value.find(',');
        if (comma != std::string::npos) {
            datePart = value.substr(0, comma);
            timePart = value.substr(comma + 1);
            if (datePart.empty() || timePart.empty())
                throw CLI::ValidationError("times", "expected DATE,TIME in \"" + item + "\"");
        } else if (value.find(':') != std::string::npos) {
            timePart = value;
        } else {
            datePart = value;
        }
        if (!datePart.empty())
            choice.date = parseDate(datePart, item);
        if (!timePart.empty())
            choice.timeOfDay = parseTime(timePart, item);
        if (!choice.date && !choice.timeOfDay)
            throw CLI::ValidationError("times", "no date or time in \"" + item + "\"");
    }
    return rows;
}

// KIND=AMOUNTS, a comma-separated list of signed amounts with the units y, mo,
// d, h, min and s, within the ranges of the page's spin edits.
Rows<DateTimeOffsets> parseShifts(const std::vector<std::string>& items)
{
    static const std::regex kAmount(R"(([+-]?)(\d{1,6})(y|mo|d|h|min|s))");
    struct Unit {
        const char* name;
        int DateTimeOffsets::*field;
        int limit;
    };
    static const Unit kUnits[] = {{"y", &DateTimeOffsets::years, 250},
        {"mo", &DateTimeOffsets::months, 2500}, {"d", &DateTimeOffsets::days, 10000},
        {"h", &DateTimeOffsets::hours, 100000}, {"min", &DateTimeOffsets::minutes, 100000},
        {"s", &DateTimeOffsets::seconds, 100000}};

    Rows<DateTimeOffsets> rows;
    for (const std::string& item : items) {
        std::string value;
        DateTimeOffsets& offsets = rows.row[claimKind(rows, item, value)];
        bool seen[6]{};
        size_t start = 0;
        while (true) {
            const size_t comma = value.find(',', start);
            const std::string piece = value.substr(start, comma - start);
            std::smatch m;
            if (!std::regex_match(piece, m, kAmount))
                throw CLI::ValidationError("times", "bad amount \"" + piece + "\" in \"" + item +
                        "\" (e.g. +1d, -2h; units y, mo, d, h, min, s)");
            int n = std::stoi(m[2]);
            if (m[1] == "-")
                n = -n;
            for (int u = 0; u < 6; ++u) {
                if (m[3] != kUnits[u].name)
                    continue;
                if (seen[u])
                    throw CLI::ValidationError("times", "unit \"" + m[3].str() + "\" given twice in \"" + item + "\"");
                if (n < -kUnits[u].limit || n > kUnits[u].limit)
                    throw CLI::ValidationError("times", "amount \"" + piece + "\" out of range -" +
                            std::to_string(kUnits[u].limit) + " to " + std::to_string(kUnits[u].limit));
                seen[u] = true;
                offsets.*kUnits[u].field = n;
            }
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    }
    return rows;
}

std::string localStamp(const timespec& utc)
{
    std::tm tm{};
    const time_t seconds = utc.tv_sec;
    if (!localtime_r(&seconds, &tm))
        return "?";
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%09ld", tm.tm_year + 1900,
        tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<long>(utc.tv_nsec));
    return text;
}

// Prints the three stamps of a path; false when it has none.
bool printTimes(const std::string& path)
{
    FileTimes times;
    if (const std::error_code ec = readFileTimes(path, times)) {
        reportPath(path, ec);
        return false;
    }
    std::cout << "Created  : " << localStamp(times.created) << '\n'
              << "Modified : " << localStamp(times.modified) << '\n'
              << "Accessed : " << localStamp(times.accessed) << '\n';
    return true;
}

int runTimes(const TimesOptions& opt)
{
    refuseStrayValues(opt.shifts.empty() ? "--set" : "--shift", opt.paths, [](std::string_view key) {
        return equalsIgnoreCase(key, "created") || equalsIgnoreCase(key, "modified") ||
            equalsIgnoreCase(key, "accessed");
    });
    std::optional<Rows<NewTimeChoice>> sets;
    std::optional<Rows<DateTimeOffsets>> shifts;
    if (!opt.sets.empty())
        sets = parseSets(opt.sets);
    if (!opt.shifts.empty())
        shifts = parseShifts(opt.shifts);

    // "Set by Age" throws for a stamp it cannot shift; as on the page, that
    // ends the run and later paths stay untouched.
    return forEachPath("DateTime Changing process ABORTED!", opt.paths, [&](const std::string& path) {
        std::error_code skipped;
        if (sets)
            skipped = SetBySpecifiedDateTime(path, sets->row[0], sets->row[1], sets->row[2]);
        else if (shifts)
            skipped = SetByAge(path, shifts->row[0], shifts->row[1], shifts->row[2]);
        if (skipped) {
            reportPath(path, skipped);
            return false;
        }
        return printTimes(path);
    });
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto opt = std::make_shared<TimesOptions>();
    CLI::App* cmd = app.add_subcommand("times",
        "Show the created, modified and accessed times of files and folders (local time); "
        "with --set or --shift, change them first");
    auto* set = cmd->add_option("--set", opt->sets,
        "Set by Specified DateTime: KIND=DATE, KIND=TIME or KIND=DATE,TIME with KIND created, "
        "modified or accessed, DATE YYYY-MM-DD, TIME hh:mm[:ss[.zzz]] (local); a part not "
        "given keeps its current value; one per --set");
    auto* shift = cmd->add_option("--shift", opt->shifts,
        "Set by Age: KIND=AMOUNTS, comma-separated signed amounts with the units y, mo, d, h, "
        "min, s (e.g. modified=+1d,-2h); one per --shift");
    set->allow_extra_args(false);
    shift->allow_extra_args(false);
    set->excludes(shift);
    cmd->add_option("paths", opt->paths, "Files and folders")->required();
    setAction(*cmd, [opt] { return runTimes(*opt); });
});

}  // namespace
}  // namespace korvala::cli
