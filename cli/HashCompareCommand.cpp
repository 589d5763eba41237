// korvala-cli compare [-a ALGO] FILE1 FILE2
// Prints the digest of both files and whether they are equal.

#include <iostream>
#include <memory>
#include <string>

#include "AlgorithmOption.h"
#include "CommandSupport.h"
#include "tools/hash/ChecksumCheck.h"

namespace korvala::cli {
namespace {

struct CompareOptions {
    std::string algorithm = "CRC32";
    std::string file1;
    std::string file2;
};

// Ctrl+C is taken within a block of either file's read, as the page's abort is.
int runCompare(const CompareOptions& options)
{
    const HashAlgorithm algorithm = algorithmOption(options.algorithm);
    if (options.file1.empty() || options.file2.empty())
        throw CLI::ValidationError("compare", "FILE1 and FILE2 must not be empty");
    watchInterrupt("File Compare Process ABORTED!");
    const auto result = CompareFileChecksums(options.file1, options.file2, algorithm, [] { return interrupted(); });
    if (!result)
        return reportAborted();
    std::cout << CompareFirstLabel << result->firstDigest << '\n'
              << CompareSecondLabel << result->secondDigest << '\n'
              << compareVerdictText(result->verdict) << '\n';
    return result->verdict == ChecksumVerdict::cvSame ? kExitSuccess : kExitFailure;
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto options = std::make_shared<CompareOptions>();
    CLI::App* sub = app.add_subcommand("compare", "Compare two files by their digest (exit 0 same, 1 different)");
    sub->add_option("-a,--algorithm", options->algorithm, "Digest to compute (default CRC32)");
    sub->add_option("file1", options->file1, "First file")->required();
    sub->add_option("file2", options->file2, "Second file")->required();
    setAction(*sub, [options] { return runCompare(*options); });
});

}  // namespace
}  // namespace korvala::cli
