#pragma once
// What the hostile-tree and fault tests share: how much memory a program may
// use in this build, a named pipe that tells whether anyone opened it, and
// counting lines of a big output file without holding it.

#include <atomic>
#include <string>
#include <thread>

#include "Process.h"

namespace korvala::test {

// True in a build with AddressSanitizer: its shadow memory and quarantine
// make peak memory figures meaningless, so they are only recorded there.
bool sanitizedBuild();

// Records the peak memory of a run (test property and a line on stdout) and,
// in a normal build, checks it against `limitMb`.
void checkPeakMemory(const std::string& what, const ProcessResult& result, long limitMb);

// A writer waits in open() on the FIFO `path` from construction on; it gets
// through only when somebody opens the FIFO for reading. openedByOthers()
// releases it and tells whether anyone did before.
class TFifoWatch {
public:
    explicit TFifoWatch(const std::string& path);
    ~TFifoWatch();
    bool openedByOthers();

private:
    std::string m_path;
    std::atomic<bool> m_releasing{false};
    std::atomic<bool> m_opened{false};
    std::thread m_writer;
    bool m_done = false;
};

// The number of lines of a file (its line feeds), read in pieces.
size_t countLines(const std::string& path);

// A listening UNIX socket bound at `path`; stays until the process ends.
void bindSocket(const std::string& path);

}  // namespace korvala::test
