#pragma once
// What every korvala-cli subcommand shares: its action turned into an exit
// status (an engine's KorvalaError becomes its text and status 1), the
// per-path loop that stops at Ctrl+C, and how a path's failure is reported.
//
// A subcommand file registers itself (Command.h), declares its options with
// CLI11 and hands its work to setAction, e.g.
//
//   setAction(*cmd, [opt] { return forEachPath(kAbortText, opt->paths, step); });

#include <atomic>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include <CLI/CLI.hpp>

#include "Command.h"

namespace korvala::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // the operation failed, or was aborted
inline constexpr int kExitUsage = 2;

using CommandBody = std::function<int()>;

// Runs a subcommand's work and returns its exit status: the body's own, or 1
// when it let a KorvalaError through, whose text then goes to standard error
// after what the body already printed. Usage errors (CLI::Error) go on to
// main(), which prints the usage and exits with 2.
int runCommand(const CommandBody& body);

// Makes body the subcommand's action, run through runCommand; its status
// becomes the program's.
void setAction(CLI::App& command, CommandBody body);

// Ctrl+C. Until a command watches for it, Ctrl+C ends the program at once
// with status 1, since nothing would ever look at the request. A command whose
// engine polls for it (between paths, digests, blocks of a read or folder entries) calls
// watchInterrupt with its abort text first; from then on Ctrl+C only asks the
// run to stop at the next check, the way the page's abort button does. A
// second Ctrl+C, for a step that never gets to its check (a read from a named
// pipe that nobody writes), ends the program at once with the abort text and
// status 1; output not yet written is lost then.
void watchInterrupt(const char* abortText);
// Installs the Ctrl+C handler; main() calls it before the command line is
// parsed.
void installInterruptHandler();
bool interrupted();
// The request itself, for engines that poll an atomic flag.
const std::atomic<bool>& interruptFlag();
// Prints the watched command's abort text to standard error; returns 1.
int reportAborted();

// "<path>: <message>" on standard error, for a path that failed while the
// run goes on.
void reportPath(const std::string& path, const std::string& message);
// The same with the system error text of `ec` ("System Error.  Code: ...").
void reportPath(const std::string& path, const std::error_code& ec);

// Runs step on every path in order, the way a page's worker runs its list.
// Before each path it checks for Ctrl+C: once pressed, the run ends with the
// abort text and status 1, and no further path is touched. A step returns
// false when its path failed (it reported why); the run goes on and ends with
// status 1. A KorvalaError from a step ends the run as the worker ends it:
// "<path>: <text>", the abort text, status 1, later paths untouched.
int forEachPath(const char* abortText, const std::vector<std::string>& paths,
    const std::function<bool(const std::string& path)>& step);

}  // namespace korvala::cli
