// korvala-cli mkdirs [--file F]
// Creates the folder of every line (standard input, or the file F) that is an
// absolute path or starts with "~/", with all missing parents, the last line
// first. Prints the lines kept, then each folder that could not be created
// with the reason (standard error); exit 1 when any could not.

#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CommandSupport.h"
#include "platform/KorvalaError.h"
#include "tools/mkdirs/FolderLines.h"

namespace korvala::cli {
namespace {

struct MkdirsOptions {
    std::string file;
};

// Lines as typed; a line end of a text written on Windows is not part of it.
std::vector<std::string> readLines(std::istream& in)
{
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

int runMkdirs(const MkdirsOptions& options)
{
    std::vector<std::string> lines;
    if (options.file.empty()) {
        lines = readLines(std::cin);
    } else {
        std::ifstream in(options.file, std::ios::binary);
        if (!in)
            throw KorvalaError(options.file + ": cannot be read");
        lines = readLines(in);
    }
    if (lines.empty())
        return kExitSuccess;
    const TFolderLinesResult result = CreateFolderLines(lines);
    for (const std::string& line : result.lines)
        std::cout << line << '\n';
    std::cout.flush();
    std::cerr << "Folder creating Process Completed!\n";
    if (result.failures.empty())
        return kExitSuccess;
    std::cerr << folderFailuresText(result.failures) << '\n';
    return kExitFailure;
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto options = std::make_shared<MkdirsOptions>();
    CLI::App* sub = app.add_subcommand("mkdirs", "Create the folder of each line read, with its missing parents");
    sub->add_option("--file", options->file, "Read the lines from this file instead of standard input");
    setAction(*sub, [options] { return runMkdirs(*options); });
});

}  // namespace
}  // namespace korvala::cli
