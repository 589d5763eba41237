#pragma once
// Temporary folders and files for the digest tests, and running processes.

#include <cstdint>
#include <string>
#include <vector>

namespace korvala::test {

// A folder made with mkdtemp under /tmp, removed with its contents at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    // Writes `bytes` to <folder>/<name> and returns the full path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

// `size` bytes from a fixed pseudo-random sequence (same seed, same bytes).
std::string randomBytes(std::size_t size, std::uint32_t seed);

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program (no shell) with its arguments and collects both outputs.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input = {});

// True when `program` is found on PATH.
bool haveProgram(const std::string& program);

std::string toUpper(std::string text);

}  // namespace korvala::test
