#pragma once
// Runs a shell command without a window and returns what it printed.
// Errors: see platform/SystemError.h.

#include <string>
#include <system_error>
#include <vector>

namespace korvala {

// Runs "/bin/sh -c commandLine" in workingFolder (the caller's folder when empty),
// standard output and standard error captured together in the order written,
// standard input inherited. Reads until the command and every process that kept its
// output open are done, then waits for the command. The error says why the command
// could not be started (a working folder that cannot be entered included); the
// command's own exit status is not an error.
std::error_code runConsoleCommand(const std::string& commandLine, const std::string& workingFolder, std::string& output);

// Runs the program argv[0] (looked up in PATH when it holds no "/") with the
// arguments argv[1..] as they are, without a shell, so that no argument can
// be read as anything but itself. Output captured as above; exitStatus is the
// program's exit status (128 + the signal's number when a signal ended it).
std::error_code runProgram(const std::vector<std::string>& argv, const std::string& workingFolder, std::string& output,
    int& exitStatus);

// Runs the program the same way with the caller's standard input, output and
// error (a script run in the user's terminal) and waits for it.
std::error_code runProgramAttached(const std::vector<std::string>& argv, int& exitStatus);

// The same for callers that only want the text: empty when the command cannot be
// started.
std::string runConsoleCommand(const std::string& commandLine, const std::string& workingFolder);

}  // namespace korvala
