#include "TempTree.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace korvala::test {
namespace {

std::string lastError()
{
    return std::strerror(errno);
}

// Clears the flags that forbid removing an entry or changing a folder
// (chattr +i, +a). Only regular files and folders carry them.
void clearLockFlags(int fd)
{
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0)
        return;
    if ((flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) == 0)
        return;
    flags &= ~(FS_IMMUTABLE_FL | FS_APPEND_FL);
    (void)::ioctl(fd, FS_IOC_SETFLAGS, &flags);
}

// Opens folder `name` in `parent` for removing what it holds: its lock flags
// cleared and its owner given every right (for a test that is not root).
int openForRemoval(int parent, const char* name)
{
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    clearLockFlags(fd);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && (st.st_mode & S_IRWXU) != S_IRWXU)
        (void)::fchmod(fd, st.st_mode | S_IRWXU);
    return fd;
}

bool unlinkEntry(int parent, const char* name)
{
    if (::unlinkat(parent, name, 0) == 0 || errno == ENOENT)
        return true;
    if (errno != EPERM)
        return false;
    // An immutable or append-only file: clear its flags and try again.
    const int fd = ::openat(parent, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        clearLockFlags(fd);
        ::close(fd);
    }
    return ::unlinkat(parent, name, 0) == 0;
}

// Removes every entry of the folder `fd` except sub-folders; returns the name
// of the first sub-folder found (empty when none is left).
std::string removeFilesAndFindFolder(int fd, bool& ok)
{
    const int listFd = ::dup(fd);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (dir == nullptr) {
        if (listFd >= 0)
            ::close(listFd);
        ok = false;
        return {};
    }
    std::string subfolder;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            isFolder = ::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        if (isFolder) {
            if (subfolder.empty())
                subfolder = name;
        } else if (!unlinkEntry(fd, name)) {
            ok = false;
        }
    }
    ::closedir(dir);
    return subfolder;
}

}  // namespace

// One folder descriptor at a time: the walk goes down into the first
// sub-folder it finds and comes back up through "..", so trees deeper than
// PATH_MAX or the descriptor limit are removed too.
bool removeTree(const std::string& path)
{
    int fd = openForRemoval(AT_FDCWD, path.c_str());
    if (fd < 0)
        return errno == ENOENT || ::unlink(path.c_str()) == 0;
    std::vector<std::string> names;  // the folders below `path` that fd is in
    bool ok = true;
    while (true) {
        const std::string subfolder = removeFilesAndFindFolder(fd, ok);
        if (!subfolder.empty()) {
            const int child = openForRemoval(fd, subfolder.c_str());
            if (child >= 0) {
                ::close(fd);
                fd = child;
                names.push_back(subfolder);
                continue;
            }
            ok = false;  // a folder that cannot be entered stays
        }
        if (names.empty())
            break;
        const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        if (parent < 0)
            return false;
        fd = parent;
        if (::unlinkat(fd, names.back().c_str(), AT_REMOVEDIR) != 0) {
            ::close(fd);
            return false;  // it would be found again and again
        }
        names.pop_back();
    }
    ::close(fd);
    return ok && ::rmdir(path.c_str()) == 0;
}

TTempTree::TTempTree(const std::string& base)
{
    std::string pattern = base + "/korvala-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a temporary folder in " << base << ": " << lastError();
        // A path that does not exist, so that nothing is written elsewhere.
        m_root = base + "/korvala-test-missing";
        return;
    }
    m_root = pattern;
}

TTempTree::~TTempTree()
{
    if (!removeTree(m_root))
        ADD_FAILURE() << "cannot remove the temporary tree " << m_root << ": " << lastError();
}

std::string TTempTree::path(const std::string& rel) const
{
    return m_root + "/" + rel;
}

std::string TTempTree::file(const std::string& rel, const std::string& content, mode_t mode) const
{
    const std::string full = path(rel);
    const int fd = ::open(full.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        ADD_FAILURE() << "cannot create " << full << ": " << lastError();
        return full;
    }
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ADD_FAILURE() << "cannot write " << full << ": " << lastError();
            break;
        }
        done += static_cast<size_t>(n);
    }
    // The mode is set after the writes, so that a read-only file can be made.
    if (::fchmod(fd, mode) != 0)
        ADD_FAILURE() << "cannot set the mode of " << full << ": " << lastError();
    ::close(fd);
    return full;
}

std::string TTempTree::sizedFile(const std::string& rel, std::uint64_t size, std::uint32_t seed) const
{
    const std::string full = path(rel);
    const int fd = ::open(full.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        ADD_FAILURE() << "cannot create " << full << ": " << lastError();
        return full;
    }
    std::mt19937_64 engine(seed);
    std::vector<std::uint64_t> piece(64 * 1024 / 8);
    std::uint64_t left = size;
    while (left > 0) {
        for (auto& word : piece)
            word = engine();
        const size_t chunk = left < piece.size() * 8 ? static_cast<size_t>(left) : piece.size() * 8;
        const char* bytes = reinterpret_cast<const char*>(piece.data());
        size_t done = 0;
        while (done < chunk) {
            const ssize_t n = ::write(fd, bytes + done, chunk - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ADD_FAILURE() << "cannot write " << full << ": " << lastError();
                ::close(fd);
                return full;
            }
            done += static_cast<size_t>(n);
        }
        left -= chunk;
    }
    ::close(fd);
    return full;
}

std::string TTempTree::folder(const std::string& rel, mode_t mode) const
{
    const std::string full = path(rel);
    // Each missing parent in turn; the last one gets the mode asked for.
    for (size_t slash = rel.find('/'); slash != std::string::npos; slash = rel.find('/', slash + 1)) {
        const std::string parent = path(rel.substr(0, slash));
        if (::mkdir(parent.c_str(), 0755) != 0 && errno != EEXIST)
            ADD_FAILURE() << "cannot create " << parent << ": " << lastError();
    }
    if (::mkdir(full.c_str(), 0700) != 0 && errno != EEXIST)
        ADD_FAILURE() << "cannot create " << full << ": " << lastError();
    else if (::chmod(full.c_str(), mode) != 0)
        ADD_FAILURE() << "cannot set the mode of " << full << ": " << lastError();
    return full;
}

std::string TTempTree::symlink(const std::string& rel, const std::string& target) const
{
    const std::string full = path(rel);
    if (::symlink(target.c_str(), full.c_str()) != 0)
        ADD_FAILURE() << "cannot create the link " << full << " to " << target << ": " << lastError();
    return full;
}

std::string TTempTree::fifo(const std::string& rel, mode_t mode) const
{
    const std::string full = path(rel);
    if (::mkfifo(full.c_str(), mode) != 0)
        ADD_FAILURE() << "cannot create the named pipe " << full << ": " << lastError();
    return full;
}

std::string TTempTree::sparseFile(const std::string& rel, std::uint64_t size) const
{
    const std::string full = file(rel, "");
    if (::truncate(full.c_str(), static_cast<off_t>(size)) != 0)
        ADD_FAILURE() << "cannot size " << full << ": " << lastError();
    return full;
}

}  // namespace korvala::test
