// The working folder on POSIX.

#include "platform/Paths.h"

#include <cerrno>
#include <vector>

#include <unistd.h>

#include "platform/SystemError.h"

namespace korvala {

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
