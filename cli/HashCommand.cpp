// korvala-cli hash [-a ALGO]... [--lowercase] [--json] FILE...
// Prints the Hash generator's report of the files, or one JSON record per
// file built from the same report.

#include <cctype>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CommandSupport.h"
#include "JsonLines.h"
#include "platform/KorvalaError.h"
#include "tools/hash/HashReport.h"

namespace korvala::cli {
namespace {

struct HashOptions {
    std::vector<std::string> algorithms;
    bool lowercase = false;
    bool json = false;
    std::vector<std::string> files;
};

// The JSON key of a digest: its report label in lower case without blanks,
// hyphens and colon ("SHA-256    : " gives "sha256").
std::string digestKey(std::string_view label)
{
    std::string key;
    for (char c : label)
        if (std::isalnum(static_cast<unsigned char>(c)))
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

// Turns the report's lines into one record per file: its name line opens the
// record, each digest line adds a field and the empty line writes it out.
// Records come from the same report as the plain output, so the digests,
// their order, the errors and the stops at Ctrl+C are the report's own. A
// file whose report was cut by Ctrl+C gives no record at all; one whose
// digest failed gives its record with the fields so far and the error.
class THashJsonRecords {
public:
    void appendLine(const std::string& line)
    {
        if (!m_record) {
            m_record.emplace();
            putBytes(*m_record, "path", std::string_view(line).substr(HashReportFileLabel.size()));
            return;
        }
        if (line.empty()) {
            // Out as soon as the file is done: digests of big files take a
            // while, and a reader of the lines need not wait for the run.
            m_out.write(*m_record);
            m_out.flush();
            m_record.reset();
            return;
        }
        for (std::string_view label : HashReportLabels)
            if (line.compare(0, label.size(), label) == 0) {
                (*m_record)[digestKey(label)] = line.substr(label.size());
                return;
            }
    }

    // Writes the record under way with the error that ended it.
    void writeFailed(const std::string& error)
    {
        if (m_record) {
            putBytes(*m_record, "error", error);
            m_out.write(*m_record);
            m_record.reset();
        }
        m_out.flush();
    }

    void flush() { m_out.flush(); }

private:
    std::optional<nlohmann::ordered_json> m_record;
    TJsonLines m_out;
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
    THashJsonRecords records;
    if (options.json)
        callbacks.appendLine = [&](const std::string& line) { records.appendLine(line); };
    else
        callbacks.appendLine = [](const std::string& line) { std::cout << line << '\n'; };
    callbacks.cancelRequested = [] { return interrupted(); };
    // A digest that cannot be computed throws after the report so far; its
    // text still goes to standard error (runCommand), as without --json.
    watchInterrupt("Hash Generating process ABORTED!");
    HashReportOutcome outcome;
    try {
        outcome = WriteHashReport(options.files, callbacks);
    } catch (const KorvalaError& e) {
        records.writeFailed(e.what());
        throw;
    }
    records.flush();
    if (outcome == HashReportOutcome::hrCancelled) {
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
    sub->add_flag("--json", options->json,
        "Print one JSON object per file (JSON Lines): path (path_b64, its bytes in base64, when not valid "
        "UTF-8) and one field per digest (crc32, md4, md5, ripemd128, ripemd160, sha1, sha256, sha384, sha512, "
        "tiger128, tiger160, tiger192); the file whose digest failed also gets error (error_b64 likewise), and the "
        "run ends there");
    sub->add_option("files", options->files, "Files to hash")->required();
    setAction(*sub, [options] { return runHash(*options); });
});

}  // namespace
}  // namespace korvala::cli
