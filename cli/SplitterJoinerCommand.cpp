// korvala-cli split FILE N    cuts FILE into N parts FILE._1 ... FILE._N
// korvala-cli join FIRSTPART  joins FIRSTPART (*._1 or *.001) and the parts after it
// Print the page's end message; a failure, with its reason, goes to standard
// error with status 1, as does an abort by Ctrl+C (taken between two parts).

#include <iostream>
#include <memory>
#include <string>

#include "CommandSupport.h"
#include "tools/splitjoin/SplitJoin.h"

namespace korvala::cli {
namespace {

struct SplitOptions {
    std::string file;
    int parts = kMinSplitParts;
};

// The run's end as the page shows it: the completion text on standard output,
// the failure or abort text on standard error.
int reportEnd(TRunEnd end, const std::string& text)
{
    switch (end) {
    case TRunEnd::reCompleted:
        std::cout << text << '\n';
        return kExitSuccess;
    case TRunEnd::reAborted:
        return reportAborted();
    case TRunEnd::reFailed:
        break;
    }
    std::cout.flush();
    std::cerr << text << '\n';
    return kExitFailure;
}

int runSplit(const SplitOptions& options)
{
    if (options.file.empty())
        throw CLI::ValidationError("split", "FILE must not be empty");
    watchInterrupt(kSplitAbortedText);
    std::string reason;
    const TRunEnd end = SplitFile(options.file, options.parts, [] { return interrupted(); }, {},
        [&](const std::string& r) { reason = r; });
    return reportEnd(end, splitEndText(end, reason));
}

int runJoin(const std::string& firstPart)
{
    if (firstPart.empty())
        throw CLI::ValidationError("join", "FIRSTPART must not be empty");
    watchInterrupt(kJoinAbortedText);
    std::string reason;
    const TRunEnd end = JoinParts(firstPart, [] { return interrupted(); }, {},
        [&](const std::string& r) { reason = r; });
    return reportEnd(end, joinEndText(end, reason));
}

const CommandRegistrar splitRegistrar([](CLI::App& app) {
    auto options = std::make_shared<SplitOptions>();
    CLI::App* sub = app.add_subcommand("split", "Cut a file into N numbered parts (FILE._1 ... FILE._N)");
    sub->add_option("file", options->file, "File to split")->required();
    sub->add_option("parts", options->parts, "Number of parts (2 to 999)")
        ->required()
        ->check(CLI::Range(kMinSplitParts, kMaxSplitParts));
    setAction(*sub, [options] { return runSplit(*options); });
});

const CommandRegistrar joinRegistrar([](CLI::App& app) {
    auto firstPart = std::make_shared<std::string>();
    CLI::App* sub = app.add_subcommand("join", "Join numbered parts (*._1 or *.001 and those after it)");
    sub->add_option("firstpart", *firstPart, "The first part")->required();
    setAction(*sub, [firstPart] { return runJoin(*firstPart); });
});

}  // namespace
}  // namespace korvala::cli
