#pragma once
// Running real programs from the tests, korvala-cli above all: an argument
// vector (no shell), both outputs captured, the exit status; optionally extra
// environment, standard input, an unprivileged user, and Ctrl+C sent at a
// point the test names by what the program printed or opened, never by time.

#include <functional>
#include <string>
#include <vector>

namespace korvala::test {

struct ProcessResult {
    int exitCode = -1;  // the exit status; -1 when a signal ended the process
    int signal = 0;     // the signal that ended it, 0 when it exited
    std::string out;
    std::string err;
    long maxRssKb = 0;  // the program's peak resident memory (wait4's ru_maxrss), KiB
};

struct RunOptions {
    // NAME=VALUE entries added to the test's environment (replacing a NAME
    // already there).
    std::vector<std::string> env;
    // Standard input; the program sees its end after these bytes.
    std::string input;
    // Standard output into this file (e.g. /dev/full) instead of captured.
    std::string outputFile;
    // Runs the program as user and group 65534 without supplementary groups,
    // for what an ordinary user may and may not do (the tests run as root).
    bool unprivileged = false;
    // Sends SIGINT once standard output or standard error holds this text.
    // The program cannot get further than a pipe's capacity (64 KiB) past it
    // before the signal is sent, so a run that prints much more after the
    // text is still under way when Ctrl+C reaches it.
    std::string interruptAfter;
    // Sends SIGINT once the program has this file open (for a step that
    // blocks in it, such as a named pipe).
    std::string interruptWhenOpen;
    // How many times SIGINT is sent; each one after the program took the
    // one before (two sent at once may arrive as one).
    int interrupts = 1;
    // Called once the signals were sent, e.g. to unblock a named pipe.
    std::function<void()> afterInterrupt;
};

// Runs argv[0] (searched in PATH when it has no '/') and waits for it.
ProcessResult runProcess(const std::vector<std::string>& argv, const RunOptions& options = {});

// Runs the korvala-cli built with the tests with these arguments.
ProcessResult runCli(const std::vector<std::string>& args, const RunOptions& options = {});
const std::string& cliPath();

// Runs body in a forked child as user and group 65534 without supplementary
// groups and returns what it returned (an exception's text, prefixed with
// "exception: ", when it threw), for engine calls whose answer depends on
// who asks. The tests run as root; this is the ordinary user's answer.
std::string runAsNobody(const std::function<std::string()>& body);

// True when `program` is found on PATH.
bool haveProgram(const std::string& program);

// "exit 1 (stderr: ...)" or "signal 9 (stderr: ...)", for failure messages.
std::string describe(const ProcessResult& result);

}  // namespace korvala::test
