// The working folder on POSIX.

#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include <pwd.h>
#include <unistd.h>

#include "platform/SystemError.h"

namespace korvala {

namespace {

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

}  // namespace

std::string userPrivateFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/')
        return withoutTrailingSlashes(runtime) + "/korvala";
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = tmp && *tmp == '/' ? withoutTrailingSlashes(tmp) : std::string("/tmp");
    return base + "/korvala-" + std::to_string(::geteuid());
}

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
