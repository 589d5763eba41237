#include "CommandSupport.h"

#include <cerrno>
#include <cstdio>
#include <iostream>

#include "platform/ConsoleInterrupt.h"
#include "platform/ErrorTexts.h"
#include "platform/KorvalaError.h"

namespace korvala::cli {
namespace {

// Output that could not be written (a full disk, a reader that went away) is a
// failure of the run, never a success.
int checkOutput(int status)
{
    std::cout.flush();
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    // errno tells why the last flush failed or, when an earlier write failed,
    // most likely still why that one did.
    const int error = errno != 0 ? errno : EIO;
    std::cerr << korvala::cannotWriteOutputText(error) << '\n';
    return kExitFailure;
}

}  // namespace

int runCommand(const CommandBody& body)
{
    int status = kExitFailure;
    try {
        status = body();
    } catch (const KorvalaError& e) {
        // What the body printed before the failure comes first.
        std::cout.flush();
        std::cerr << e.what() << '\n';
        status = kExitFailure;
    }
    return checkOutput(status);
}

void setAction(CLI::App& command, CommandBody body)
{
    command.callback([body = std::move(body)] { setExitStatus(runCommand(body)); });
}

void installInterruptHandler()
{
    installConsoleInterrupt(kExitFailure);
}

void watchInterrupt(const char* abortText)
{
    watchConsoleInterrupt(abortText);
}

bool interrupted()
{
    return consoleInterruptFlag().load();
}

const std::atomic<bool>& interruptFlag()
{
    return consoleInterruptFlag();
}

int reportAborted()
{
    std::cerr.flush();
    writeConsoleAbortTextOnce();
    return kExitFailure;
}

void reportPath(const std::string& path, const std::string& message)
{
    std::cerr << path << ": " << message << '\n';
}

void reportPath(const std::string& path, const std::error_code& ec)
{
    reportPath(path, systemErrorText(ec.value()));
}

int forEachPath(const char* abortText, const std::vector<std::string>& paths,
    const std::function<bool(const std::string& path)>& step)
{
    watchInterrupt(abortText);
    int status = kExitSuccess;
    for (const std::string& path : paths) {
        if (interrupted())
            return reportAborted();
        try {
            if (!step(path))
                status = kExitFailure;
        } catch (const KorvalaError& e) {
            reportPath(path, e.what());
            return reportAborted();
        }
    }
    return status;
}

}  // namespace korvala::cli
