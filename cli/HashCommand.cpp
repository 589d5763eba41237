// korvala-cli hash [-a ALGO]... [--lowercase] FILE...
// Prints the Hash generator's report of the files.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Command.h"
#include "tools/hash/HashReport.h"
#include "platform/KorvalaError.h"

namespace korvala::cli {
namespace {

struct HashOptions {
    std::vector<std::string> algorithms;
    bool lowercase = false;
    std::vector<std::string> files;
};

void runHash(const HashOptions& options)
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
    try {
        const auto outcome = WriteHashReport(options.files, callbacks);
        std::cout.flush();
        if (outcome == HashReportOutcome::hrCancelled) {
            std::cerr << "Hash Generating process ABORTED!\n";
            setExitStatus(1);
        }
    } catch (const KorvalaError& e) {
        std::cout.flush();
        std::cerr << e.what() << '\n';
        setExitStatus(1);
    }
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
    sub->callback([options] { runHash(*options); });
});

}  // namespace
}  // namespace korvala::cli
