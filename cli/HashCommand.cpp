// korvala-cli hash [-a ALGO]... [--lowercase] FILE...
// Prints the Hash generator's report of the files.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CommandSupport.h"
#include "tools/hash/HashReport.h"

namespace korvala::cli {
namespace {

struct HashOptions {
    std::vector<std::string> algorithms;
    bool lowercase = false;
    std::vector<std::string> files;
};

int runHash(const HashOptions& options)
{
    HashAlgorithmSet chosen;
    if (options.algorithms.empty()) {
        // The generator's start-up choice.
        chosen.set(static_cast<std::size_t>(HashAlgorithm::haCRC32));
        chosen.set(static_cast<std::size_t>(HashAlgorithm::haMD5));
        chosen.set(static_cast<std::size_t>(HashAlgorithm::haSHA1));
    } else {
        for (const auto& name : options.algorithms) {
            const auto choice = hashAlgorithmChoice(name);
            if (!choice)
                throw CLI::ValidationError("--algorithm", "unknown hash algorithm \"" + name + "\"");
            chosen |= *choice;
        }
    }

    HashReportCallbacks callbacks;
    callbacks.isTicked = [&](int index) { return chosen.test(static_cast<std::size_t>(index)); };
    callbacks.lowercase = [&] { return options.lowercase; };
    callbacks.appendLine = [](const std::string& line) { std::cout << line << '\n'; };
    callbacks.cancelRequested = [] { return interrupted(); };
    // A digest that cannot be computed throws after the report so far.
    watchInterrupt("Hash Generating process ABORTED!");
    if (WriteHashReport(options.files, callbacks) == HashReportOutcome::hrCancelled) {
        std::cout.flush();
        return reportAborted();
    }
    return kExitSuccess;
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto options = std::make_shared<HashOptions>();
    CLI::App* sub = app.add_subcommand("hash", "Print the digests of files (Hash generator report)");
    sub->add_option("-a,--algorithm", options->algorithms,
                    "Digest to compute, repeatable: CRC32, MD4, MD5, RIPEMD-128, RIPEMD-160, SHA-1, SHA-256, "
                    "SHA-384, SHA-512, Tiger-128, Tiger-160, Tiger-192, or all (default CRC32, MD5, SHA-1)")
        ->allow_extra_args(false);
    sub->add_flag("--lowercase", options->lowercase, "Write the digests in lower case");
    sub->add_option("files", options->files, "Files to hash")->required();
    setAction(*sub, [options] { return runHash(*options); });
});

}  // namespace
}  // namespace korvala::cli
