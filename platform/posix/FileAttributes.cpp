#include "platform/FileAttributes.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/HiddenList.h"
#include "platform/SystemError.h"
#include "platform/posix/AttributeStore.h"
#include "platform/posix/ShortPath.h"

namespace korvala {

namespace {

// Names starting with "." are hidden on Linux (file managers, Samba and Wine agree).
bool isDotName(const std::string& name)
{
    return !name.empty() && name[0] == '.';
}

// Hidden the Linux way: a dot name, or a name the folder's ".hidden" lists.
bool hiddenByName(const std::string& path)
{
    std::string folder, name;
    if (splitListedName(path, folder, name))
        return isDotName(name) || isListedHidden(folder, name);
    // No list can hold a name with a line feed, but its dot still hides it;
    // "." and ".." only name a folder by its place.
    return isDotName(name) && name != "." && name != "..";
}

}  // namespace

uint32_t getFileAttributes(const std::string& path)
{
    uint32_t word = 0;
    return readFileAttributes(path, word) ? INVALID_FILE_ATTRIBUTES : word;
}

std::error_code readFileAttributes(const std::string& longPath, uint32_t& result)
{
    struct statx stx{};
    if (longPath.empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    const posix::TShortPath reachable(longPath);
    if (reachable.error())
        return reachable.error();
    const std::string& path = reachable.path();
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
    if (!(word & FILE_ATTRIBUTE_HIDDEN) && hiddenByName(path))
        word |= FILE_ATTRIBUTE_HIDDEN;
    if (word == 0)
        word = FILE_ATTRIBUTE_NORMAL;
    result = word;
    return {};
}

namespace {

// The ".hidden" step of a change: lists a name whose hidden bit is set (a dot
// name is hidden already), unlists one whose hidden bit is cleared. A name that
// cannot be a line of the list keeps the stored bit alone.
class THiddenStep {
public:
    THiddenStep(const std::string& path, uint32_t set, uint32_t clear)
    {
        std::string folder, name;
        if (!splitListedName(path, folder, name))
            return;
        if (set & FILE_ATTRIBUTE_HIDDEN) {
            if (isDotName(name))
                return;
            m_listed = true;
        } else if (!(clear & FILE_ATTRIBUTE_HIDDEN)) {
            return;
        }
        m_active = true;
        m_folder = std::move(folder);
        m_name = std::move(name);
    }

    std::error_code run() { return m_active ? changeHiddenList(m_folder, m_name, m_listed, m_undo) : std::error_code{}; }
    void undo() { (void)undoHiddenList(m_folder, m_undo); }

private:
    bool m_active = false;
    bool m_listed = false;
    std::string m_folder;
    std::string m_name;
    THiddenListUndo m_undo;
};

std::error_code changeAttributes(const std::string& longPath, uint32_t set, uint32_t clear, bool listHidden)
{
    struct stat st{};
    if (longPath.empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    const posix::TShortPath reachable(longPath);
    if (reachable.error())
        return reachable.error();
    const std::string& path = reachable.path();
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
    THiddenStep hidden(path, listHidden ? set : 0, listHidden ? clear : 0);

    // Directories, links and device files keep read-only in the store alone.
    if (!S_ISREG(st.st_mode)) {
        if (storeChanges) {
            if (const std::error_code ec = writeStore(newStored))
                return ec;
        }
        if (const std::error_code ec = hidden.run()) {
            if (storeChanges)
                (void)writeStore(oldStored);
            return ec;
        }
        return {};
    }

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
    if (const std::error_code ec = hidden.run()) {
        if (storeChanges)
            (void)writeStore(oldStored);
        putModeBack();
        return ec;
    }
    if (workMode != finalMode && ::chmod(path.c_str(), finalMode) != 0) {
        const std::error_code ec = systemError(errno);
        hidden.undo();
        if (storeChanges)
            (void)writeStore(oldStored);
        putModeBack();
        return ec;
    }
    return {};
}

}  // namespace

std::error_code changeFileAttributes(const std::string& path, uint32_t set, uint32_t clear)
{
    return changeAttributes(path, set, clear, true);
}

std::error_code setFileAttributes(const std::string& path, uint32_t attributes)
{
    uint32_t current = 0;
    if (const std::error_code ec = readFileAttributes(path, current))
        return ec;
    return changeAttributes(path, attributes & ~current, current & ~attributes, false);
}

}  // namespace korvala
