#pragma once
// Runs a shell command without a window and returns what it printed.

#include <string>

namespace korvala {

// Runs "/bin/sh -c commandLine" in workingFolder (the caller's folder when empty),
// standard output and standard error captured together in the order written,
// standard input inherited. Reads until the command and every process that kept its
// output open are done, then waits for the command. Gives the empty text when the
// command cannot be started (a working folder that cannot be entered included).
std::string runConsoleCommand(const std::string& commandLine, const std::string& workingFolder);

}  // namespace korvala
