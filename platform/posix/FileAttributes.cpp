#include "platform/FileAttributes.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/SystemError.h"
#include "platform/posix/AttributeStore.h"

namespace korvala {

namespace {

// The last name of a path, trailing slashes ignored.
std::string lastName(const std::string& path)
{
    size_t end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return {};
    const size_t slash = path.rfind('/', end);
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(start, end - start + 1);
}

// Names starting with "." are hidden on Linux (file managers, Samba and Wine agree);
// "." and ".." only name a folder by its place.
bool isDotName(const std::string& name)
{
    return name.size() > 1 && name[0] == '.' && name != "..";
}

}  // namespace

uint32_t getFileAttributes(const std::string& path)
{
    uint32_t word = 0;
    return readFileAttributes(path, word) ? INVALID_FILE_ATTRIBUTES : word;
}

std::error_code readFileAttributes(const std::string& path, uint32_t& result)
{
    struct statx stx{};
    if (path.empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_BLOCKS, &stx) != 0)
        return {errno, std::generic_category()};

    uint32_t word = posix::attributeStoreFor(path, false).readAttributes(path, false);
    const mode_t mode = stx.stx_mode;
    if (S_ISDIR(mode)) {
        word |= FILE_ATTRIBUTE_DIRECTORY;
    } else if (S_ISLNK(mode)) {
        word |= FILE_ATTRIBUTE_REPARSE_POINT;
        // A link to a folder is a folder link, as the directory listing reports it;
        // the link is never followed for anything else.
        struct stat target{};
        if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode))
            word |= FILE_ATTRIBUTE_DIRECTORY;
    } else if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode) || S_ISSOCK(mode)) {
        word |= FILE_ATTRIBUTE_DEVICE;
    } else if (S_ISREG(mode)) {
        if (!(mode & S_IWUSR))
            word |= FILE_ATTRIBUTE_READONLY;
        if ((stx.stx_mask & STATX_BLOCKS) && stx.stx_blocks * 512 < stx.stx_size)
            word |= FILE_ATTRIBUTE_SPARSE_FILE;
    }
    if ((stx.stx_attributes_mask & STATX_ATTR_COMPRESSED) && (stx.stx_attributes & STATX_ATTR_COMPRESSED))
        word |= FILE_ATTRIBUTE_COMPRESSED;
    if ((stx.stx_attributes_mask & STATX_ATTR_ENCRYPTED) && (stx.stx_attributes & STATX_ATTR_ENCRYPTED))
        word |= FILE_ATTRIBUTE_ENCRYPTED;
    if (isDotName(lastName(path)))
        word |= FILE_ATTRIBUTE_HIDDEN;
    if (word == 0)
        word = FILE_ATTRIBUTE_NORMAL;
    result = word;
    return {};
}

std::error_code changeFileAttributes(const std::string& path, uint32_t set, uint32_t clear)
{
    struct stat st{};
    if (path.empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    if (::lstat(path.c_str(), &st) != 0)
        return systemError(errno);

    set &= STORED_ATTRIBUTE_MASK;
    clear &= STORED_ATTRIBUTE_MASK & ~set;
    // The store keeps its own bits: the changes are applied to what it holds, so
    // a bit the word shows only because of the name or the mode is never stored.
    const posix::AttributeStore& store = posix::attributeStoreFor(path, false);
    const uint32_t oldStored = store.readAttributes(path, false);
    const uint32_t newStored = (oldStored | set) & ~clear;
    const bool storeChanges = newStored != oldStored;
    auto writeStore = [&](uint32_t bits) { return store.writeAttributes(path, false, bits); };

    // Directories, links and device files keep read-only in the store alone.
    if (!S_ISREG(st.st_mode))
        return storeChanges ? writeStore(newStored) : std::error_code{};

    // Regular files: read-only is also the write permission. Setting it removes
    // every write permission, clearing it gives the owner write permission; the
    // store is written while the owner may write (user attributes need it).
    const mode_t original = st.st_mode & 07777;
    mode_t finalMode = original;
    if (set & FILE_ATTRIBUTE_READONLY)
        finalMode &= ~mode_t(0222);
    else if (clear & FILE_ATTRIBUTE_READONLY)
        finalMode |= S_IWUSR;
    const mode_t workMode = storeChanges ? (finalMode | S_IWUSR) : finalMode;
    if (!storeChanges && finalMode == original)
        return {};

    // The mode goes first whenever it is to change, even when the first step
    // leaves it as it is: the system checks that the caller owns the file, so a
    // caller who may write the store but not change the mode fails here, before
    // anything is written.
    if (finalMode != original || workMode != original) {
        if (::chmod(path.c_str(), workMode) != 0)
            return systemError(errno);
    }
    auto putModeBack = [&] {
        if (workMode != original)
            (void)::chmod(path.c_str(), original);
    };
    if (storeChanges) {
        if (const std::error_code ec = writeStore(newStored)) {
            putModeBack();
            return ec;
        }
    }
    if (workMode != finalMode && ::chmod(path.c_str(), finalMode) != 0) {
        const std::error_code ec = systemError(errno);
        if (storeChanges)
            (void)writeStore(oldStored);
        putModeBack();
        return ec;
    }
    return {};
}

std::error_code setFileAttributes(const std::string& path, uint32_t attributes)
{
    uint32_t current = 0;
    if (const std::error_code ec = readFileAttributes(path, current))
        return ec;
    return changeFileAttributes(path, attributes & ~current, current & ~attributes);
}

}  // namespace korvala
