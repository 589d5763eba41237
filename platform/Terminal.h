#pragma once
// Runs a command in a terminal window the user sees (service starts and the
// generated scripts, which may ask for a password), without waiting for it.
// Errors: see platform/SystemError.h.

#include <string>
#include <system_error>
#include <vector>

namespace korvala {

// Starts the first terminal program found in PATH (x-terminal-emulator, the
// desktop's usual ones, xterm) running argv as given (no shell is added), and
// returns at once; the terminal is reaped in the background. An error when no
// terminal program is found (ENOENT) or none could be started.
std::error_code startInTerminal(const std::vector<std::string>& argv);

}  // namespace korvala
