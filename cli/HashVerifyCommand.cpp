// korvala-cli verify [-a ALGO] FILE CODE
// Tells whether the file's digest equals the hash code (letter case ignored).

#include <iostream>
#include <memory>
#include <string>

#include "AlgorithmOption.h"
#include "Command.h"
#include "tools/hash/ChecksumCheck.h"
#include "platform/KorvalaError.h"

namespace korvala::cli {
namespace {

struct VerifyOptions {
    std::string algorithm = "MD5";
    std::string file;
    std::string code;
};

void runVerify(const VerifyOptions& options)
{
    const HashAlgorithm algorithm = algorithmOption(options.algorithm);
    if (options.file.empty() || options.code.empty())
        throw CLI::ValidationError("verify", "FILE and CODE must not be empty");
    try {
        const ChecksumVerdict verdict = VerifyFileChecksum(options.file, algorithm, options.code);
        std::cout << verifyVerdictText(verdict) << '\n';
        setExitStatus(verdict == ChecksumVerdict::cvSame ? 0 : 1);
    } catch (const KorvalaError& e) {
        std::cerr << e.what() << '\n';
        setExitStatus(1);
    }
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto options = std::make_shared<VerifyOptions>();
    CLI::App* sub = app.add_subcommand("verify", "Verify a file against a hash code (exit 0 same, 1 different)");
    sub->add_option("-a,--algorithm", options->algorithm, "Digest to compute (default MD5)");
    sub->add_option("file", options->file, "File to verify")->required();
    sub->add_option("code", options->code, "Expected hash code / checksum")->required();
    sub->callback([options] { runVerify(*options); });
});

}  // namespace
}  // namespace korvala::cli
