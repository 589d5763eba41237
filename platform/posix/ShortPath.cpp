#include "platform/posix/ShortPath.h"

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <unistd.h>

namespace korvala::posix {

TShortPath::TShortPath(const std::string& path) : m_path(&path)
{
    if (path.size() < PATH_MAX)
        return;
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return;  // one name that long: the call fails with ENAMETOOLONG itself
    const std::string_view folder(path.data(), slash);
    int fd = AT_FDCWD;
    size_t start = 0;
    while (start < folder.size()) {
        // The longest piece that ends at a slash (or at the folder's end) and
        // fits; names are at most NAME_MAX, so there always is one.
        size_t end = folder.size();
        if (end - start >= PATH_MAX) {
            end = folder.rfind('/', start + PATH_MAX - 1);
            if (end == std::string_view::npos || end <= start)
                end = start + 1;  // the root's "/"
        }
        std::string piece(folder.substr(start, end - start));
        if (piece.empty())
            piece = "/";
        const int next = ::openat(fd, piece.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        const int error = errno;
        if (fd != AT_FDCWD)
            ::close(fd);
        if (next < 0) {
            m_error = {error, std::generic_category()};
            return;
        }
        fd = next;
        start = end + 1;
    }
    m_fd = fd;
    m_short = "/proc/self/fd/" + std::to_string(fd) + path.substr(slash);
}

TShortPath::~TShortPath()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

}  // namespace korvala::posix
