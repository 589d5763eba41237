// korvala-cli dupes: the Duplicate Finder's scan without a window, and the
// removal of the extra copies of each group under the same rule as the page's
// REMOVE SELECTED (a file goes to the trash only when another file holding its
// bytes stays).

#include <atomic>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CommandSupport.h"
#include "JsonLines.h"
#include "LineOutput.h"
#include "platform/DateTime.h"
#include "platform/DirectoryListing.h"
#include "platform/File.h"
#include "search/SearchWalker.h"
#include "tools/duplicates/DuplicateFinder.h"

namespace korvala::cli {
namespace {

constexpr const char* kAbortedText = "Scanning process ABORTED!";
constexpr const char* kCompletedText = "Scanning process Completed!";

struct DupesOptions {
    std::string by = "content";
    bool recursive = false;
    bool json = false;
    bool trashExtra = false;
    std::vector<std::string> paths;
};

// The files below `folder` at every depth, hidden ones included; links to
// folders are not entered.
class FileCollector : public SearchWalkHandler {
public:
    explicit FileCollector(std::vector<std::string>& files) : m_files(files) {}
    void fileMatch(const std::string& folder, DirectoryListing& listing, size_t index) override
    {
        m_files.push_back(folder + std::string(listing.name(index)));
    }

private:
    std::vector<std::string>& m_files;
};

// The list the scan gets: the paths as given, each folder replaced by the
// files below it when walking is asked for.
std::vector<std::string> scanList(const DupesOptions& opt)
{
    std::vector<std::string> files;
    for (const std::string& path : opt.paths) {
        TFileStatus status;
        if (!opt.recursive || pathStatus(path, true, status) || !status.isDirectory()) {
            files.push_back(path);
            continue;
        }
        TSearchCriteria criteria;
        criteria.Attributes().Clear();
        criteria.Attributes().setDirectory(fsUnset);
        criteria.Files().setPaths({path.back() == '/' ? path : path + '/'});
        FileCollector collector(files);
        SearchWalker walker(criteria, interruptFlag(), collector);
        walker.runAll();
        if (interrupted())
            break;
    }
    return files;
}

std::string colourText(uint32_t bgr)
{
    static const char* digits = "0123456789ABCDEF";
    const uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    std::string text = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        text += digits[(rgb >> shift) & 0xF];
    return text;
}

void printRows(const TDuplicateScan& scan, const std::vector<std::string>& files, bool json)
{
    TLineOutput out;
    TJsonLines lines;
    for (const TDuplicateRow& row : scan.rows) {
        const std::string& path = files[row.pathIndex];
        if (json) {
            nlohmann::ordered_json record;
            record["id"] = row.id;
            record["crc32"] = duplicateCrcText(row);
            putBytes(record, "name", duplicateFileName(path));
            record["size_kb"] = duplicateSizeKilobytes(row.size);
            record["size"] = row.size;
            record["modified"] = isoLocalTime(localDateTimeToTimespec(row.modified));
            putBytes(record, "location", duplicateLocation(path));
            putBytes(record, "path", path);
            record["colour"] = colourText(duplicateGroupColour(row));
            lines.write(record);
        } else {
            out << std::to_string(row.id) << '\t' << duplicateCrcText(row) << '\t' << duplicateFileName(path)
                << '\t' << std::to_string(duplicateSizeKilobytes(row.size)) << '\t' << duplicateDateText(row)
                << '\t' << duplicateLocation(path);
            out.endLine();
        }
    }
    out.flush();
    lines.flush();
}

const char* reasonOf(TRemoveOutcome outcome)
{
    switch (outcome) {
    case TRemoveOutcome::roTrashed:
        return "";
    case TRemoveOutcome::roMissing:
        return "it no longer exists";
    case TRemoveOutcome::roNoTwin:
        return "no other file of its group is confirmed to hold the same bytes";
    case TRemoveOutcome::roNotTrashable:
        return "it could not be sent to the trash";
    }
    return "";
}

// Every file of each group but its first-listed one goes to the trash, each
// only with a confirmed copy left; one line per file trashed or kept.
int trashExtras(const TDuplicateScan& scan, const std::vector<std::string>& files)
{
    TLineOutput out;
    int noTwin = 0, notTrashable = 0, missing = 0;
    size_t start = 0;
    while (start < scan.rows.size()) {
        size_t end = start + 1;
        while (end < scan.rows.size() && scan.rows[end].id == scan.rows[start].id)
            ++end;
        for (size_t i = start + 1; i < end; ++i) {
            std::vector<std::string> mates;
            for (size_t j = start; j < end; ++j)
                if (j != i)
                    mates.push_back(files[scan.rows[j].pathIndex]);
            const std::string& path = files[scan.rows[i].pathIndex];
            const TRemoveOutcome outcome = RemoveDuplicate(path, mates);
            if (outcome == TRemoveOutcome::roTrashed) {
                out << "trashed\t" << path;
            } else {
                out << "kept\t" << path << '\t' << reasonOf(outcome);
                noTwin += outcome == TRemoveOutcome::roNoTwin;
                notTrashable += outcome == TRemoveOutcome::roNotTrashable;
                missing += outcome == TRemoveOutcome::roMissing;
            }
            out.endLine();
        }
        start = end;
    }
    out.flush();
    std::string message = duplicatesKeptMessage(noTwin, notTrashable);
    for (char& c : message)
        if (c == '\r')
            c = '\n';
    if (!message.empty())
        std::cerr << message << '\n';
    return noTwin + notTrashable + missing == 0 ? kExitSuccess : kExitFailure;
}

int runDupes(const DupesOptions& opt)
{
    watchInterrupt(kAbortedText);
    const std::vector<std::string> files = scanList(opt);
    if (interrupted())
        return reportAborted();
    TDuplicateScanHooks hooks;
    hooks.cancelRequested = [] { return interrupted(); };
    const TDuplicateScan scan =
        FindDuplicates(files, opt.by == "name" ? TDuplicateMode::dmName : TDuplicateMode::dmContent, hooks);
    if (scan.cancelled || interrupted())
        return reportAborted();
    if (opt.trashExtra) {
        if (scan.rows.empty()) {
            std::cerr << kCompletedText << '\n';
            return kExitFailure;
        }
        return trashExtras(scan, files);
    }
    printRows(scan, files, opt.json);
    std::cerr << kCompletedText << '\n';
    return scan.rows.empty() ? kExitFailure : kExitSuccess;
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto opt = std::make_shared<DupesOptions>();
    CLI::App* cmd = app.add_subcommand("dupes",
        "Find duplicate files the way the Duplicate Finder does: prints ID, CRC32, Name, Size (KB), "
        "Date Modified and Location of each row, tab-separated, in the grid's order; exit status 0 when "
        "duplicates were found, 1 when none were");
    cmd->add_option("--by", opt->by, "Compare files by content (default) or by name")
        ->check(CLI::IsMember({"content", "name"}));
    cmd->add_flag("--recursive", opt->recursive, "Take the files below each folder given, at every depth");
    CLI::Option* json = cmd->add_flag("--json", opt->json,
        "Print one JSON object per row (JSON Lines): id, crc32, name, size_kb, size (bytes), modified (ISO 8601 "
        "local time), location, path, colour (#RRGGBB of the ID cell); a name, location or path that is not "
        "valid UTF-8 comes as name_b64, location_b64 or path_b64, its bytes in base64");
    cmd->add_flag("--trash-extra", opt->trashExtra,
           "Send every file of each group except its first-listed one to the trash, each only when another "
           "file of its group that stays is confirmed byte for byte to hold the same content; prints "
           "'trashed' or 'kept' and the path, one line per file")
        ->excludes(json);
    cmd->add_option("paths", opt->paths, "Files (or, with --recursive, folders)")->required();
    setAction(*cmd, [opt] { return runDupes(*opt); });
});

}  // namespace
}  // namespace korvala::cli
