#pragma once
// Moves the test process into a folder for one scope and back to where it was,
// for tests of what relative names mean.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace korvala::test {

class TWorkingFolder {
public:
    explicit TWorkingFolder(const std::string& folder)
    {
        char buffer[4096];
        if (::getcwd(buffer, sizeof buffer) == nullptr) {
            ADD_FAILURE() << "getcwd: " << std::strerror(errno);
            return;
        }
        m_previous = buffer;
        if (::chdir(folder.c_str()) != 0)
            ADD_FAILURE() << "chdir " << folder << ": " << std::strerror(errno);
    }
    ~TWorkingFolder()
    {
        if (!m_previous.empty() && ::chdir(m_previous.c_str()) != 0)
            ADD_FAILURE() << "chdir back to " << m_previous << ": " << std::strerror(errno);
    }
    TWorkingFolder(const TWorkingFolder&) = delete;
    TWorkingFolder& operator=(const TWorkingFolder&) = delete;

private:
    std::string m_previous;
};

}  // namespace korvala::test
