#include "platform/ConsoleInterrupt.h"

#include <csignal>
#include <cstring>

#include <pthread.h>
#include <unistd.h>

namespace korvala {
namespace {

// Written by the signal handler or before the work starts, read by any
// thread; lock-free atomics are safe in a handler.
std::atomic<bool> g_requested{false};
std::atomic<bool> g_watched{false};
// Set by whoever writes the abort text first: the handler or the program.
std::atomic<bool> g_abortWritten{false};
// Set before the handler can use them.
const char* g_abortText = "";
int g_exitStatus = 1;

// Only calls that are safe in a signal handler.
void writeAbortText()
{
    (void)!::write(STDERR_FILENO, g_abortText, std::strlen(g_abortText));
    (void)!::write(STDERR_FILENO, "\n", 1);
}

extern "C" void onConsoleInterrupt(int)
{
    if (!g_watched.load())
        ::_exit(g_exitStatus);
    if (g_requested.exchange(true)) {
        // Only calls that are safe in a handler: output still buffered for
        // standard output is lost.
        if (!g_abortWritten.exchange(true))
            writeAbortText();
        ::_exit(g_exitStatus);
    }
}

}  // namespace

void installConsoleInterrupt(int exitStatus)
{
    g_exitStatus = exitStatus;
    struct sigaction action {};
    action.sa_handler = onConsoleInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
}

void watchConsoleInterrupt(const char* abortText)
{
    g_abortText = abortText;
    g_watched.store(true);
}

const std::atomic<bool>& consoleInterruptFlag()
{
    return g_requested;
}

void writeConsoleAbortTextOnce()
{
    // Ctrl+C is held back while the text is claimed and written, so a second
    // press lands after it (and then only ends the program).
    sigset_t interrupt, previous;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    ::pthread_sigmask(SIG_BLOCK, &interrupt, &previous);
    if (!g_abortWritten.exchange(true))
        writeAbortText();
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

}  // namespace korvala
