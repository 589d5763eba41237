// korvala-cli take-ownership [--print] PATH...
// korvala-cli protect [--print] PATH...
// korvala-cli unprotect [--print] PATH...
// The script the page would start in a terminal, run here in the current one
// and awaited (exit 1 when any line failed), or printed with --print.

#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CommandSupport.h"
#include "platform/ConsoleCommand.h"
#include "platform/KorvalaError.h"
#include "platform/Paths.h"
#include "tools/scripts/BatchScript.h"
#include "tools/scripts/ScriptLines.h"

namespace korvala::cli {
namespace {

struct ScriptOptions {
    bool print = false;
    std::vector<std::string> paths;
};

using LineOf = std::function<std::string(const std::string& path)>;

int runScript(const ScriptOptions& options, const std::string& fileName, const LineOf& lineOf)
{
    std::vector<std::string> lines;
    // The script may run anywhere: every path is made absolute first.
    for (const std::string& path : options.paths)
        lines.push_back(lineOf(absolutePath(path)));
    if (options.print) {
        std::cout << batchScriptText(lines, false);
        return kExitSuccess;
    }
    const std::string script = writeBatchScript(lines, fileName, false);
    int status = 0;
    if (const std::error_code e = runProgramAttached({"/bin/sh", script}, status))
        throw KorvalaError("/bin/sh: " + e.message());
    return status == 0 ? kExitSuccess : kExitFailure;
}

void addScriptCommand(CLI::App& app, const char* name, const char* description, std::string fileName, LineOf lineOf)
{
    auto options = std::make_shared<ScriptOptions>();
    CLI::App* sub = app.add_subcommand(name, description);
    sub->add_flag("--print", options->print, "Print the script instead of running it");
    sub->add_option("paths", options->paths, "Files and folders")->required();
    setAction(*sub, [options, fileName, lineOf] { return runScript(*options, fileName, lineOf); });
}

const CommandRegistrar registrar([](CLI::App& app) {
    const std::string group = administratorsGroup();
    addScriptCommand(app, "take-ownership", "Make files and folders yours, with full access for the administrators",
        "TakeOwnership.sh", [group](const std::string& p) { return takeOwnershipLine(p, group); });
    addScriptCommand(app, "protect", "Lock files and folders against yourself and make them immutable", "Protect.sh",
        protectLine);
    addScriptCommand(app, "unprotect", "Remove the protection: immutability off, full access for yourself",
        "UnProtect.sh", unprotectLine);
});

}  // namespace
}  // namespace korvala::cli
