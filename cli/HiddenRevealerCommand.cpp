// korvala-cli hidden and reveal: the Hidden Revealer's scan and its revealing
// without a window.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CommandSupport.h"
#include "JsonLines.h"
#include "LineOutput.h"
#include "platform/FileAttributes.h"
#include "search/SeekerRow.h"
#include "tools/hidden/HiddenRevealer.h"

namespace korvala::cli {
namespace {

struct HiddenOptions {
    bool system = false;
    bool json = false;
    std::string folder;
};

int runHidden(const HiddenOptions& opt)
{
    watchInterrupt("Scanning process Aborted!");
    TLineOutput out;
    TJsonLines lines;
    size_t count = 0;
    ScanHiddenEntries(HiddenScanCriteria(opt.folder, opt.system), interruptFlag(), [&](const std::string& path) {
        ++count;
        if (opt.json) {
            nlohmann::ordered_json record;
            putBytes(record, "path", path);
            const uint32_t word = getFileAttributes(path);
            record["attributes"] = formatAttributeLetters(word);
            record["attribute_word"] = word;
            // A dot name stays hidden whatever is revealed.
            record["hidden_by_name"] = hiddenByName(path);
            lines.write(record);
        } else {
            out << path;
            out.endLine();
        }
    });
    out.flush();
    lines.flush();
    if (interrupted())
        return reportAborted();
    if (count > 0) {
        std::cerr << "Scanning process completed, Now you can Reveal Hidden Files/Folders!\n";
        return kExitSuccess;
    }
    std::cerr << "Scanning process completed, There is no Hidden File/Folder Found!\n";
    return kExitFailure;
}

int runReveal(const std::vector<std::string>& paths)
{
    TLineOutput out;
    const int status = forEachPath("Revealing process ABORTED!", paths, [&](const std::string& path) {
        const TRevealResult result = RevealEntry(path);
        switch (result.outcome) {
        case TRevealOutcome::roRevealed:
            out << "revealed\t" << path;
            out.endLine();
            return true;
        case TRevealOutcome::roStillHidden:
            out << "still hidden\t" << path << "\tits name starts with a dot (entries are never renamed)";
            out.endLine();
            return false;
        case TRevealOutcome::roFailed:
            break;
        }
        out.flush();
        reportPath(path, result.error);
        return false;
    });
    out.flush();
    if (!interrupted())
        std::cerr << "Revealing process completed!\n";
    return status;
}

const CommandRegistrar hiddenRegistrar([](CLI::App& app) {
    auto opt = std::make_shared<HiddenOptions>();
    CLI::App* cmd = app.add_subcommand("hidden",
        "List the hidden files and folders below a folder the way the Hidden Revealer does (hidden: the "
        "stored hidden attribute, a name starting with a dot, or a line of the folder's .hidden); exit "
        "status 0 when some were found, 1 when none were");
    cmd->add_flag("--system", opt->system, "Include entries with the system attribute, and enter such folders");
    cmd->add_flag("--json", opt->json,
        "Print one JSON object per entry (JSON Lines): path (path_b64 when not valid UTF-8), attributes, "
        "attribute_word, hidden_by_name (true when only renaming could reveal it)");
    cmd->add_option("folder", opt->folder, "The folder to scan")->required();
    setAction(*cmd, [opt] { return runHidden(*opt); });
});

const CommandRegistrar revealRegistrar([](CLI::App& app) {
    auto paths = std::make_shared<std::vector<std::string>>();
    CLI::App* cmd = app.add_subcommand("reveal",
        "Clear the hidden attribute of files and folders, keeping every other attribute, and remove their "
        "names from their folder's .hidden; a name starting with a dot stays hidden (status 1)");
    cmd->add_option("paths", *paths, "Files and folders")->required();
    setAction(*cmd, [paths] { return runReveal(*paths); });
});

}  // namespace
}  // namespace korvala::cli
