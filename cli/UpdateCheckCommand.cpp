// korvala-cli update-check [--server URL]
// Asks the update server (server 2, or the base address URL) for the latest
// version and prints this program's version, the latest one and the result
// text, with the download address when an update exists. The messages the
// window shows in boxes go to standard error. Exit 0 when no update exists,
// 3 when one does, 1 when the check failed, 2 for an address that is not
// http or https.

#include <iostream>
#include <memory>
#include <string>

#include <QCoreApplication>

#include "CommandSupport.h"
#include "update/Download.h"
#include "update/UpdateCheck.h"

namespace korvala::cli {
namespace {

constexpr int kExitUpdateAvailable = 3;

struct UpdateCheckOptions {
    std::string server;
};

// What a server sent, made safe for a terminal: control characters (escape
// sequences among them) become '?'.
std::string printable(std::string text)
{
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7f')
            c = '?';
    return text;
}

// A box's text as lines: its carriage returns are line breaks.
std::string asLines(std::string text)
{
    for (char& c : text)
        if (c == '\r')
            c = '\n';
    return text;
}

class TPrintedCheck final : public TUpdateCheckView {
public:
    void showResult(const TUpdateResult& result) override { m_result = result; }
    void showMessage(const std::string& text, bool) override { std::cerr << asLines(text) << '\n'; }
    const TUpdateResult& result() const { return m_result; }

private:
    TUpdateResult m_result;
};

int runUpdateCheck(const UpdateCheckOptions& options)
{
    // The download runs Qt's network access, which needs an application
    // object on this thread.
    static int argc = 1;
    static char name[] = "korvala-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);

    const std::string base = options.server.empty() ? updateServers()[kLiveServer - 1].baseAddress : options.server;
    TPrintedCheck check;
    RunUpdateCheck(kProgramVersion, updateAddressOf(base), kProductNumber, check);
    const TUpdateResult& result = check.result();
    std::cout << "Current version: " << kProgramVersion << '\n'
              << "Latest version: " << printable(result.latest) << '\n'
              << updateResultText(result.outcome) << '\n';
    if (!result.downloadLink.empty())
        std::cout << "Download: " << result.downloadLink << '\n';
    switch (result.outcome) {
    case TUpdateOutcome::NoUpdate: return kExitSuccess;
    case TUpdateOutcome::NewUpdate: return kExitUpdateAvailable;
    case TUpdateOutcome::Failed: break;
    }
    return kExitFailure;
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto options = std::make_shared<UpdateCheckOptions>();
    CLI::App* sub = app.add_subcommand("update-check",
        "Ask the update server whether a newer version exists (exit 0: none, 3: one exists, 1: the check failed)");
    sub->add_option("--server", options->server, "Base address (http or https) of the update server to ask")
        ->check(CLI::Validator(
            [](std::string& address) {
                return IsWebAddress(address) ? std::string() : std::string("not an http or https address: ") + address;
            },
            "URL"));
    setAction(*sub, [options] { return runUpdateCheck(*options); });
});

}  // namespace
}  // namespace korvala::cli
