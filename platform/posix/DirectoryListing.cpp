// Folder listing on POSIX: openat + getdents64 into memory, statx and the
// attribute store read per entry only when asked for. Masks are matched in
// ListingMask.cpp, and the helper thread that shares the store reads is in
// ListingHelper.cpp.

#include "platform/DirectoryListing.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <unordered_set>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/resource.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/DosAttrib.h"
#include "platform/FileAttributes.h"
#include "platform/HiddenList.h"
#include "platform/ListingHelper.h"
#include "platform/NtTime.h"
#include "platform/SystemError.h"
#include "platform/posix/AttributeStore.h"

namespace korvala {
namespace {

constexpr uint8_t HaveStat = 1;
constexpr uint8_t HaveStored = 2;

// Bits a stat gives beyond the entry's type.
constexpr uint32_t StatBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SPARSE_FILE |
    FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_ENCRYPTED;

struct LinuxDirent64 {
    uint64_t d_ino;
    int64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

EntryType typeFromDirent(unsigned char t)
{
    switch (t) {
    case DT_REG: return EntryType::File;
    case DT_DIR: return EntryType::Directory;
    case DT_LNK: return EntryType::Symlink;
    case DT_UNKNOWN: return EntryType::Unknown;
    default: return EntryType::Other;
    }
}

EntryType typeFromMode(unsigned mode)
{
    if (S_ISREG(mode)) return EntryType::File;
    if (S_ISDIR(mode)) return EntryType::Directory;
    if (S_ISLNK(mode)) return EntryType::Symlink;
    return EntryType::Other;
}

// getxattrat (Linux 6.13): an extended attribute read relative to a folder
// descriptor, without a path lookup from the root. Older kernels answer ENOSYS
// once; then the path through /proc/self/fd is used.
#ifndef SYS_getxattrat
#define SYS_getxattrat 464
#endif

struct XattrArgs {
    uint64_t value;
    uint32_t size;
    uint32_t flags;
};

std::atomic<bool> g_noGetxattrat{false};

ssize_t readXattrAt(int dirFd, const char* name, const char* attr, char* buf, size_t size)
{
    if (!g_noGetxattrat.load(std::memory_order_relaxed)) {
        XattrArgs args{reinterpret_cast<uint64_t>(buf), static_cast<uint32_t>(size), 0};
        long r = ::syscall(SYS_getxattrat, dirFd, name, AT_SYMLINK_NOFOLLOW, attr, &args, sizeof args);
        if (r >= 0 || errno != ENOSYS)
            return static_cast<ssize_t>(r);
        g_noGetxattrat.store(true, std::memory_order_relaxed);
    }
    const std::string procPath = "/proc/self/fd/" + std::to_string(dirFd) + "/" + name;
    return ::lgetxattr(procPath.c_str(), attr, buf, size);
}

}  // namespace

size_t folderDescriptorBudget(size_t wanted)
{
    size_t budget = wanted;
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        budget = std::min<size_t>(budget, static_cast<size_t>(limit.rlim_cur / 2));
    return std::max<size_t>(budget, 2);
}

bool isDescriptorShortage(std::error_code error)
{
    return error == std::errc::too_many_files_open || error == std::errc::too_many_files_open_in_system;
}

DirectoryListing::~DirectoryListing()
{
    releaseFd();
}

DirectoryListing::DirectoryListing(DirectoryListing&& other) noexcept
{
    *this = std::move(other);
}

DirectoryListing& DirectoryListing::operator=(DirectoryListing&& other) noexcept
{
    if (this != &other) {
        releaseFd();
        m_fd = other.m_fd;
        other.m_fd = -1;
        m_dev = other.m_dev;
        m_ino = other.m_ino;
        m_store = other.m_store;
        m_shortReadIsEnd = other.m_shortReadIsEnd;
        m_outOfReach = other.m_outOfReach;
        m_names = std::move(other.m_names);
        m_offsets = std::move(other.m_offsets);
        m_types = std::move(other.m_types);
        m_states = std::move(other.m_states);
        m_listedHidden = std::move(other.m_listedHidden);
    }
    return *this;
}

void DirectoryListing::releaseFd()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

std::error_code DirectoryListing::open(int parentFd, const std::string& name, const DirectoryListing* parent)
{
    releaseFd();
    m_outOfReach = false;
    m_names.clear();
    m_offsets.clear();
    m_types.clear();
    m_states.clear();
    m_listedHidden.clear();

    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    // A folder reached by walking is never entered through a link; a root
    // named by the user is taken as given.
    if (parentFd != AT_FDCWD)
        flags |= O_NOFOLLOW;
    int fd = ::openat(parentFd, name.c_str(), flags);
    if (fd < 0)
        return {errno, std::generic_category()};
    struct stat st {};
    if (::fstat(fd, &st) == 0) {
        m_dev = st.st_dev;
        m_ino = st.st_ino;
    }
    // The attribute store is chosen once per folder (every entry of a folder
    // lies on the folder's file system, mount points aside), and inherited from
    // the parent folder on the same device.
    if (parent && parent->m_store && parent->m_dev == m_dev) {
        m_store = parent->m_store;
        m_shortReadIsEnd = parent->m_shortReadIsEnd;
    } else {
        m_store = &posix::attributeStoreFor("/proc/self/fd/" + std::to_string(fd), true);
        struct statfs sf {};
        if (::fstatfs(fd, &sf) == 0) {
            switch (static_cast<uint32_t>(sf.f_type)) {
            case 0xEF53:      // ext2, ext3, ext4
            case 0x58465342:  // xfs
            case 0x9123683E:  // btrfs
            case 0x01021994:  // tmpfs
            case 0xF2F52010:  // f2fs
                m_shortReadIsEnd = true;
                break;
            default:
                m_shortReadIsEnd = false;
            }
        }
    }

    bool hasHiddenList = false;
    alignas(8) char buf[64 * 1024];
    for (;;) {
        long n = ::syscall(SYS_getdents64, fd, buf, sizeof buf);
        if (n < 0) {
            int e = errno;
            ::close(fd);
            m_names.clear();
            m_offsets.clear();
            m_types.clear();
            return {e, std::generic_category()};
        }
        if (n == 0)
            break;
        for (long pos = 0; pos < n;) {
            auto* d = reinterpret_cast<LinuxDirent64*>(buf + pos);
            pos += d->d_reclen;
            const char* nm = d->d_name;
            if (nm[0] == '.' && (nm[1] == 0 || (nm[1] == '.' && nm[2] == 0)))
                continue;
            if (!hasHiddenList && std::strcmp(nm, kHiddenListName) == 0)
                hasHiddenList = true;
            m_offsets.push_back(static_cast<uint32_t>(m_names.size()));
            m_names.append(nm, std::strlen(nm) + 1);
            m_types.push_back(typeFromDirent(d->d_type));
        }
    }
    m_fd = fd;
    // A folder that may be read but not searched lists its names, yet no entry
    // in it can be looked up: one lookup of "." tells, for all of them at once.
    if (!m_offsets.empty()) {
        struct stat dot {};
        if (::fstatat(fd, ".", &dot, AT_SYMLINK_NOFOLLOW) != 0)
            m_outOfReach = true;
    }
    if (hasHiddenList && !m_outOfReach) {
        // Without a descriptor to read the list with, the names it hides would
        // be shown: the open fails instead, so that the caller can make room
        // and try again.
        const std::error_code e = readHiddenNames();
        if (isDescriptorShortage(e)) {
            releaseFd();
            m_names.clear();
            m_offsets.clear();
            m_types.clear();
            return e;
        }
    }
    return {};
}

std::error_code DirectoryListing::readHiddenNames()
{
    // Once per folder that has a list, and only then: a list that cannot be
    // read (a link, a FIFO, a huge file) hides nothing.
    std::string contents;
    if (std::error_code e = readHiddenListAt(m_fd, contents))
        return e;
    const std::vector<std::string_view> names = hiddenListNames(contents);
    const std::unordered_set<std::string_view> listed(names.begin(), names.end());
    if (listed.empty())
        return {};
    m_listedHidden.assign(m_offsets.size(), false);
    for (size_t i = 0; i < m_offsets.size(); ++i)
        m_listedHidden[i] = listed.count(name(i)) != 0;
    return {};
}

std::error_code DirectoryListing::reopenFd(int parentFd, const std::string& name)
{
    releaseFd();
    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (parentFd != AT_FDCWD)
        flags |= O_NOFOLLOW;
    int fd = ::openat(parentFd, name.c_str(), flags);
    if (fd < 0)
        return systemError(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        ::close(fd);
        return systemError(e);
    }
    if (st.st_dev != m_dev || st.st_ino != m_ino) {
        ::close(fd);
        return systemError(ESTALE);  // another folder has taken its name
    }
    m_fd = fd;
    return {};
}

int64_t DirectoryListing::entrySize(size_t i)
{
    ensureStat(i);
    return m_states[i].details.size;
}

std::string_view DirectoryListing::name(size_t i) const
{
    const char* p = m_names.data() + m_offsets[i];
    return std::string_view(p, std::strlen(p));
}

EntryType DirectoryListing::type(size_t i)
{
    if (m_types[i] == EntryType::Unknown)
        ensureStat(i);
    return m_types[i];
}

void DirectoryListing::ensureStat(size_t i)
{
    if (m_states.empty())
        m_states.resize(m_offsets.size());
    State& s = m_states[i];
    if (s.have & HaveStat)
        return;
    s.have |= HaveStat;
    if (m_fd < 0 || m_outOfReach) {
        s.statFailed = true;
        return;
    }
    const char* nm = m_names.data() + m_offsets[i];
    struct statx sx {};
    if (::statx(m_fd, nm, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
            STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_BLOCKS | STATX_ATIME | STATX_MTIME |
                STATX_CTIME | STATX_BTIME,
            &sx) != 0) {
        s.statFailed = true;
        return;
    }
    EntryType t = typeFromMode(sx.stx_mode);
    m_types[i] = t;
    uint32_t bits = 0;
    if (t == EntryType::File) {
        if (!(sx.stx_mode & S_IWUSR))
            bits |= FILE_ATTRIBUTE_READONLY;
        if (sx.stx_blocks * 512 < sx.stx_size)
            bits |= FILE_ATTRIBUTE_SPARSE_FILE;
        s.details.size = static_cast<int64_t>(sx.stx_size);
    }
    if (sx.stx_attributes_mask & STATX_ATTR_COMPRESSED & sx.stx_attributes)
        bits |= FILE_ATTRIBUTE_COMPRESSED;
    if (sx.stx_attributes_mask & STATX_ATTR_ENCRYPTED & sx.stx_attributes)
        bits |= FILE_ATTRIBUTE_ENCRYPTED;
    if (t == EntryType::Symlink) {
        struct stat target {};
        s.linkToFolder = ::fstatat(m_fd, nm, &target, 0) == 0 && S_ISDIR(target.st_mode);
    }
    s.statAttrs = bits;
    auto ts = [](const statx_timestamp& x) {
        timespec t{};
        t.tv_sec = x.tv_sec;
        t.tv_nsec = x.tv_nsec;
        return t;
    };
    s.details.modified = ts(sx.stx_mtime);
    s.details.accessed = ts(sx.stx_atime);
    if (sx.stx_mask & STATX_BTIME) {
        s.details.created = ts(sx.stx_btime);
    } else {
        timespec m = ts(sx.stx_mtime), c = ts(sx.stx_ctime);
        bool cEarlier = c.tv_sec < m.tv_sec || (c.tv_sec == m.tv_sec && c.tv_nsec < m.tv_nsec);
        s.details.created = cEarlier ? c : m;
    }
}

void DirectoryListing::ensureStored(size_t i)
{
    if (m_states.empty())
        m_states.resize(m_offsets.size());
    State& s = m_states[i];
    if (s.have & HaveStored)
        return;
    s.have |= HaveStored;
    EntryType t = type(i);
    // Only regular files and folders carry an attribute store (user.* extended
    // attributes are refused on links and device files).
    if (m_fd < 0 || m_outOfReach || !m_store || (t != EntryType::File && t != EntryType::Directory))
        return;
    const char* nm = m_names.data() + m_offsets[i];
    const auto* store = static_cast<const posix::AttributeStore*>(m_store);
    if (store == &posix::dosAttribStore()) {
        // The common store: one read gives both the bits and the creation time.
        // Values are small: a small buffer keeps the kernel's copy cheap; a
        // bigger value is read again in full.
        char small[128];
        std::vector<char> big;
        char* v = small;
        ssize_t n = readXattrAt(m_fd, nm, "user.DOSATTRIB", small, sizeof small);
        if (n < 0 && errno == ERANGE) {
            big.resize(65536);
            v = big.data();
            n = readXattrAt(m_fd, nm, "user.DOSATTRIB", v, big.size());
        }
        if (n > 0) {
            if (auto info = parseDosAttrib(std::string_view(v, static_cast<size_t>(n)))) {
                s.stored = info->attributes & STORED_ATTRIBUTE_MASK;
                if (info->createTime) {
                    s.storedCreated = true;
                    s.storedCreatedTime = ntTimeToTimespec(*info->createTime);
                }
            }
        }
        return;
    }
    // Other stores take a path: the one through the folder's descriptor is short
    // whatever the depth.
    const std::string path = "/proc/self/fd/" + std::to_string(m_fd) + "/" + nm;
    s.stored = store->readAttributes(path, false) & STORED_ATTRIBUTE_MASK;
    if (auto created = store->readCreationTime(path, false)) {
        s.storedCreated = true;
        s.storedCreatedTime = *created;
    }
}

uint32_t DirectoryListing::derivedBits(size_t i) const
{
    uint32_t bits = 0;
    switch (m_types[i]) {
    case EntryType::Directory: bits |= FILE_ATTRIBUTE_DIRECTORY; break;
    case EntryType::Symlink: bits |= FILE_ATTRIBUTE_REPARSE_POINT; break;
    case EntryType::Other: bits |= FILE_ATTRIBUTE_DEVICE; break;
    default: break;
    }
    if (name(i).front() == '.' || (!m_listedHidden.empty() && m_listedHidden[i]))
        bits |= FILE_ATTRIBUTE_HIDDEN;
    return bits;
}

uint32_t DirectoryListing::attributes(size_t i, uint32_t needed)
{
    if (needed & FILE_ATTRIBUTE_NORMAL)
        needed = 0xFFFFFFFFu;  // "normal" means nothing else: everything is needed
    type(i);
    uint32_t bits = derivedBits(i);
    bool isLink = m_types[i] == EntryType::Symlink;
    if ((needed & StatBits) || (isLink && (needed & FILE_ATTRIBUTE_DIRECTORY))) {
        ensureStat(i);
        bits = derivedBits(i);
        const State& s = m_states[i];
        bits |= s.statAttrs;
        if (s.linkToFolder)
            bits |= FILE_ATTRIBUTE_DIRECTORY;
    }
    if (needed & STORED_ATTRIBUTE_MASK & ~bits) {
        ensureStored(i);
        bits |= m_states[i].stored;
    }
    if (needed == 0xFFFFFFFFu) {
        if (m_types[i] == EntryType::Directory)
            bits &= ~FILE_ATTRIBUTE_SPARSE_FILE;
        if (bits == 0)
            bits = FILE_ATTRIBUTE_NORMAL;
    }
    return bits;
}

const EntryDetails& DirectoryListing::details(size_t i)
{
    ensureStat(i);
    ensureStored(i);
    State& s = m_states[i];
    s.details.attributes = attributes(i, 0xFFFFFFFFu);
    if (s.storedCreated)
        s.details.created = s.storedCreatedTime;
    return s.details;
}

void DirectoryListing::prefetchStored(const std::vector<size_t>& indices, bool share)
{
    if (indices.empty() || m_fd < 0 || m_outOfReach)
        return;
    if (m_states.empty())
        m_states.resize(m_offsets.size());
    // Types first, on this thread: the helper then only reads the store of
    // distinct entries.
    std::vector<size_t> todo;
    todo.reserve(indices.size());
    for (size_t i : indices) {
        if (m_states[i].have & HaveStored)
            continue;
        EntryType t = type(i);
        if (t == EntryType::File || t == EntryType::Directory)
            todo.push_back(i);
    }
    std::sort(todo.begin(), todo.end());
    todo.erase(std::unique(todo.begin(), todo.end()), todo.end());
    auto work = [&](size_t from, size_t to) {
        for (size_t k = from; k < to; ++k)
            ensureStored(todo[k]);
    };
    // Small folders: handing work over costs more than it saves.
    if (!share || !listingHelperAllowed() || todo.size() < 24)
        work(0, todo.size());
    else
        TListingHelper::instance().run(todo.size(), work);
}

}  // namespace korvala
