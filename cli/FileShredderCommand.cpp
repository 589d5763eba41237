// korvala-cli shred [--yes] FILE...
// Overwrites each FILE three times and deletes it, from the last FILE to the
// first, as the page walks its list. Without --yes it asks the page's
// question on a terminal, and refuses when standard input is not one. Ctrl+C
// stops the run between two files.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "CommandSupport.h"
#include "platform/KorvalaError.h"
#include "tools/shredder/Shredder.h"

namespace korvala::cli {
namespace {

struct ShredOptions {
    bool yes = false;
    std::vector<std::string> files;
};

// The confirmation on a terminal: the warning with its line breaks, then a
// yes/no answer that defaults to no.
bool askOnTerminal(const std::vector<std::string>& files)
{
    std::string warning = shredWarningText(files);
    for (char& c : warning)
        if (c == '\r')
            c = '\n';
    std::cerr << warning << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" || answer == "YES";
}

int runShred(const ShredOptions& options)
{
    if (!options.yes) {
        if (::isatty(STDIN_FILENO) != 1) {
            std::cerr << "Refusing to shred without --yes: standard input is not a terminal to ask on.\n";
            return kExitUsage;
        }
        if (!askOnTerminal(options.files))
            return kExitFailure;
    }
    watchInterrupt(kShredAbortedText);
    bool completed = false;
    std::vector<bool> done(options.files.size(), false);
    try {
        completed = ShredList(options.files, [] { return interrupted(); }, {},
            [&](size_t position) { done[position] = true; });
    } catch (const KorvalaError& e) {
        std::cerr << e.what() << '\n';
        return reportAborted();
    }
    if (!completed)
        return reportAborted();
    for (size_t i = 0; i < options.files.size(); ++i)
        if (!done[i])
            reportPath(options.files[i], "not an existing file; left alone");
    std::cout << kShredCompletedText << '\n';
    return kExitSuccess;
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto options = std::make_shared<ShredOptions>();
    CLI::App* sub = app.add_subcommand("shred", "Overwrite files three times and delete them");
    sub->add_flag("-y,--yes", options->yes, "Do not ask for confirmation");
    sub->add_option("files", options->files, "Files to shred")->required();
    setAction(*sub, [options] { return runShred(*options); });
});

}  // namespace
}  // namespace korvala::cli
