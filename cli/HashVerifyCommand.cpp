// korvala-cli verify [-a ALGO] FILE CODE
// Tells whether the file's digest equals the hash code (letter case ignored).

#include <iostream>
#include <memory>
#include <string>

#include "AlgorithmOption.h"
#include "CommandSupport.h"
#include "tools/hash/ChecksumCheck.h"

namespace korvala::cli {
namespace {

struct VerifyOptions {
    std::string algorithm = "MD5";
    std::string file;
    std::string code;
};

// The verifier has no abort: Ctrl+C ends it at once (CommandSupport.h).
int runVerify(const VerifyOptions& options)
{
    const HashAlgorithm algorithm = algorithmOption(options.algorithm);
    if (options.file.empty() || options.code.empty())
        throw CLI::ValidationError("verify", "FILE and CODE must not be empty");
    const ChecksumVerdict verdict = VerifyFileChecksum(options.file, algorithm, options.code);
    std::cout << verifyVerdictText(verdict) << '\n';
    return verdict == ChecksumVerdict::cvSame ? kExitSuccess : kExitFailure;
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto options = std::make_shared<VerifyOptions>();
    CLI::App* sub = app.add_subcommand("verify", "Verify a file against a hash code (exit 0 same, 1 different)");
    sub->add_option("-a,--algorithm", options->algorithm, "Digest to compute (default MD5)");
    sub->add_option("file", options->file, "File to verify")->required();
    sub->add_option("code", options->code, "Expected hash code / checksum")->required();
    setAction(*sub, [options] { return runVerify(*options); });
});

}  // namespace
}  // namespace korvala::cli
