#pragma once
// Helpers shared by the tools tests: a temporary folder per test, running a
// program and collecting its output, time stamps as plain values.

#include <ctime>
#include <string>
#include <vector>

namespace korvala::test {

// A fresh folder under /tmp, removed with everything in it (read-only entries
// included) when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name, const std::string& content = "data") const;
    std::string folder(const std::string& name) const;

private:
    std::string m_path;
};

struct ProcessResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs argv[0] (searched in PATH) with extra environment entries NAME=VALUE,
// without a shell, and waits for it.
ProcessResult runProcess(const std::vector<std::string>& argv,
    const std::vector<std::string>& extraEnv = {});

timespec makeTimespec(time_t seconds, long nanoseconds);
// Seconds since the epoch of a UTC calendar time.
time_t utcSeconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
bool sameTime(const timespec& a, const timespec& b);
std::string describe(const timespec& t);

}  // namespace korvala::test
