#include "platform/ConsoleInterrupt.h"

#include <csignal>
#include <cstring>

#include <unistd.h>

namespace korvala {
namespace {

// Written by the signal handler or before the work starts, read by any
// thread; lock-free atomics are safe in a handler.
std::atomic<bool> g_requested{false};
std::atomic<bool> g_watched{false};
// Set before the handler can use them.
const char* g_abortText = "";
int g_exitStatus = 1;

extern "C" void onConsoleInterrupt(int)
{
    if (!g_watched.load())
        ::_exit(g_exitStatus);
    if (g_requested.exchange(true)) {
        // Only calls that are safe in a handler: output still buffered for
        // standard output is lost.
        (void)!::write(STDERR_FILENO, g_abortText, std::strlen(g_abortText));
        (void)!::write(STDERR_FILENO, "\n", 1);
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

}  // namespace korvala
