#pragma once
// The scripts of Take Ownership and the Protector: written anew on each press
// into the user's private script folder and run in a terminal the user sees
// (sudo may ask for the password there), not awaited.

#include <string>
#include <vector>

namespace korvala {

// Where the scripts go: the user's private folder (platform/Paths.h).
std::string scriptFolder();

// The script: the lines in order, each one's failure remembered, the exit
// status 1 when any failed; with `pause`, a "Press Enter" pause at the end so
// that the terminal stays open to be read.
std::string batchScriptText(const std::vector<std::string>& lines, bool pause);

// Writes the script `fileName` into the script folder (made private to the
// user when missing; one that another user owns is refused) and returns its
// path. The file is replaced as a whole, so a terminal still running the last
// one goes on reading that one. Raises "Cannot create file \"%s\". %s" when
// it cannot be written.
std::string writeBatchScript(const std::vector<std::string>& lines, const std::string& fileName, bool pause);

// RunBatchScript: writes the script and starts it in a terminal. Raises when
// it cannot be written, and when no terminal program can be started.
void RunBatchScript(const std::vector<std::string>& lines, const std::string& fileName);

}  // namespace korvala
