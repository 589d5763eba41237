// korvala-cli attrib: shows the attribute letters of paths and, with choices,
// sets, clears or keeps Read-Only, Hidden, System and Archive on each of them
// the way the Attribute Changer does.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CommandSupport.h"
#include "StrayValues.h"
#include "platform/FileAttributes.h"
#include "tools/attributes/AttributeChanger.h"

namespace korvala::cli {
namespace {

struct AttribOptions {
    std::string readOnly = "keep";
    std::string hidden = "keep";
    std::string system = "keep";
    std::string archive = "keep";
    std::vector<std::string> paths;
    // Whether any choice was given on the command line (a bare "set" can then
    // be a stray value).
    bool choicesGiven = false;
};

AttributeChoice toChoice(const std::string& word)
{
    if (word == "set")
        return AttributeChoice::acSet;
    if (word == "clear")
        return AttributeChoice::acClear;
    return AttributeChoice::acKeep;
}

// Why a path gave no attribute word: the error of looking it up, or an
// input/output error when it exists but its attribute store could not be read.
std::error_code unreadableReason(const std::string& path)
{
    uint32_t word = 0;
    const std::error_code ec = readFileAttributes(path, word);
    return ec ? ec : std::make_error_code(std::errc::io_error);
}

int runAttrib(const AttribOptions& opt)
{
    if (opt.choicesGiven)
        refuseStrayWords("--readonly, --hidden, --system and --archive", opt.paths, {"set", "clear", "keep"});
    const AttributeChoice readOnly = toChoice(opt.readOnly);
    const AttributeChoice hidden = toChoice(opt.hidden);
    const AttributeChoice system = toChoice(opt.system);
    const AttributeChoice archive = toChoice(opt.archive);
    const bool changing = readOnly != AttributeChoice::acKeep || hidden != AttributeChoice::acKeep ||
        system != AttributeChoice::acKeep || archive != AttributeChoice::acKeep;

    return forEachPath("Attribute Changing process ABORTED!", opt.paths, [&](const std::string& path) {
        bool ok = true;
        if (changing) {
            const AttributeChange change =
                ApplyAttributeChoices(path, readOnly, hidden, system, archive);
            if (change.error) {
                reportPath(path, change.error);
                if (change.before == INVALID_FILE_ATTRIBUTES)
                    return false;  // already reported as unreadable
                ok = false;
            }
        }
        const uint32_t word = getFileAttributes(path);
        if (word == INVALID_FILE_ATTRIBUTES) {
            reportPath(path, unreadableReason(path));
            return false;
        }
        std::cout << AttributeLetters(word) << "  " << path << '\n';
        return ok;
    });
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto opt = std::make_shared<AttribOptions>();
    CLI::App* cmd = app.add_subcommand("attrib",
        "Show the attributes of files and folders (S R H A D); with choices, set, clear or "
        "keep Read-Only, Hidden, System and Archive first");
    const auto choices = CLI::IsMember({"set", "clear", "keep"});
    cmd->add_option("--readonly", opt->readOnly, "Read-Only: set, clear or keep")->check(choices);
    cmd->add_option("--hidden", opt->hidden, "Hidden: set, clear or keep")->check(choices);
    cmd->add_option("--system", opt->system, "System: set, clear or keep")->check(choices);
    cmd->add_option("--archive", opt->archive, "Archive: set, clear or keep")->check(choices);
    cmd->add_option("paths", opt->paths, "Files and folders")->required();
    setAction(*cmd, [opt, cmd] {
        for (const char* name : {"--readonly", "--hidden", "--system", "--archive"})
            opt->choicesGiven = opt->choicesGiven || cmd->count(name) > 0;
        return runAttrib(*opt);
    });
});

}  // namespace
}  // namespace korvala::cli
