#include "CommandSupport.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>

#include <unistd.h>

#include "platform/KorvalaError.h"

namespace korvala::cli {
namespace {

// Both flags are written by the signal handler or before the run starts and
// read by the command's thread or the engine's; lock-free atomics are safe in
// a handler.
std::atomic<bool> g_interrupted{false};
std::atomic<bool> g_watched{false};
// Set once by watchInterrupt, before any Ctrl+C is looked at.
const char* g_abortText = "";

extern "C" void onInterrupt(int)
{
    if (!g_watched.load())
        ::_exit(kExitFailure);
    if (g_interrupted.exchange(true)) {
        // The second Ctrl+C: the run did not reach its next check (a read
        // from a pipe that nobody writes never returns), so it ends here.
        // Only calls that are safe in a handler: output still buffered for
        // standard output is lost.
        (void)!::write(STDERR_FILENO, g_abortText, std::strlen(g_abortText));
        (void)!::write(STDERR_FILENO, "\n", 1);
        ::_exit(kExitFailure);
    }
}

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
    std::cerr << "Cannot write the output. " << std::strerror(error) << '\n';
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
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // Interrupted reads and writes go on: the run stops at its next check.
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
}

void watchInterrupt(const char* abortText)
{
    g_abortText = abortText;
    g_watched.store(true);
}

bool interrupted()
{
    return g_interrupted.load();
}

const std::atomic<bool>& interruptFlag()
{
    return g_interrupted;
}

int reportAborted()
{
    std::cerr << g_abortText << '\n';
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
