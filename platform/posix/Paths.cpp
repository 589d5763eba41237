// The working folder on POSIX.

#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include <pwd.h>
#include <unistd.h>

#include "platform/SystemError.h"

namespace korvala {

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return {};
}

std::error_code currentFolder(std::string& folder)
{
    std::vector<char> buffer(4096);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size())) {
            folder = buffer.data();
            return {};
        }
        if (errno != ERANGE)
            return systemError(errno);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace korvala
