#pragma once
// Ctrl+C for a console program. Until the program watches for it, Ctrl+C
// ends it at once with exitStatus, since nothing would ever look at the
// request. Once watchConsoleInterrupt was called, the first Ctrl+C only sets
// the request flag, which the running work polls; a second Ctrl+C, for work
// that never gets to its check, writes the abort text (and a line end) to
// standard error and ends the program with exitStatus. Interrupted reads and
// writes go on (SA_RESTART).
//
// Error contract: see platform/SystemError.h; nothing here fails.

#include <atomic>

namespace korvala {

void installConsoleInterrupt(int exitStatus);
// abortText must live until the program ends (a string literal).
void watchConsoleInterrupt(const char* abortText);
// The request flag; safe to poll from any thread.
const std::atomic<bool>& consoleInterruptFlag();
// Writes the watched abort text and a line end to standard error, unless it
// was written already: a second Ctrl+C arriving while the program reports its
// abort then ends it without writing the text again.
void writeConsoleAbortTextOnce();

}  // namespace korvala
