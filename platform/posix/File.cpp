// Files on POSIX: open(2) with the caller's options, EINTR restarted in one
// place, copy_file_range for copies, a temporary name and rename(2) for outputs.

#include "platform/File.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/posix/ShortPath.h"

namespace korvala {

static_assert(kWorkingFolder == AT_FDCWD, "kWorkingFolder stands for AT_FDCWD");

namespace {

constexpr size_t kCopyBlock = 1 << 20;

std::error_code lastError()
{
    return systemError(errno);
}

int openFlags(const TOpenOptions& o)
{
    int flags = O_CLOEXEC | O_NOCTTY;
    switch (o.access) {
    case TFileAccess::Read: flags |= O_RDONLY; break;
    case TFileAccess::Write: flags |= O_WRONLY; break;
    case TFileAccess::ReadWrite: flags |= O_RDWR; break;
    }
    if (o.regularOnly)
        flags |= O_NONBLOCK;
    if (o.noFollow || (o.regularOnly && o.listedAsRegular))
        flags |= O_NOFOLLOW;
    if (o.create)
        flags |= O_CREAT;
    if (o.create && o.exclusive)
        flags |= O_EXCL;
    if (o.truncate)
        flags |= O_TRUNC;
    return flags;
}

int openRetrying(int dirFd, const char* name, int flags, mode_t mode)
{
    for (;;) {
        const int fd = ::openat(dirFd, name, flags, mode);
        if (fd >= 0 || errno != EINTR)
            return fd;
    }
}

// fstat of a descriptor. The C library's fstat goes through fstatat with an
// empty path, which many kernels serve much more slowly than the plain fstat
// call; content readers make one per file.
int statDescriptor(int fd, struct stat& st)
{
#if defined(__x86_64__) && defined(SYS_fstat)  // the kernel's struct stat is the C library's here
    return static_cast<int>(::syscall(SYS_fstat, fd, &st));
#else
    return ::fstat(fd, &st);
#endif
}

TFileKind kindOf(mode_t mode)
{
    if (S_ISREG(mode)) return TFileKind::Regular;
    if (S_ISDIR(mode)) return TFileKind::Directory;
    if (S_ISLNK(mode)) return TFileKind::Symlink;
    if (S_ISFIFO(mode)) return TFileKind::Fifo;
    if (S_ISSOCK(mode)) return TFileKind::Socket;
    if (S_ISCHR(mode)) return TFileKind::CharDevice;
    return TFileKind::BlockDevice;
}

void fillStatus(const struct stat& st, TFileStatus& out)
{
    out.kind = kindOf(st.st_mode);
    out.size = static_cast<uint64_t>(st.st_size);
    out.mode = static_cast<uint32_t>(st.st_mode & 07777);
    out.device = static_cast<uint64_t>(st.st_dev);
    out.inode = static_cast<uint64_t>(st.st_ino);
    out.owner = static_cast<uint32_t>(st.st_uid);
    out.allocated = static_cast<uint64_t>(st.st_blocks) * 512;
    out.modified = st.st_mtim;
}

// The folder part of a path ("." for a bare name) and its last name.
void splitPath(const std::string& path, std::string& folder, std::string& name)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        folder = ".";
        name = path;
    } else {
        folder = slash == 0 ? "/" : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

std::string randomSuffix()
{
    static const char digits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 engine(
        std::random_device{}() ^ static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::string out(6, 'x');
    for (char& c : out)
        c = digits[engine() % (sizeof digits - 1)];
    return out;
}

}  // namespace

TFile::~TFile()
{
    (void)close();
}

TFile::TFile(TFile&& other) noexcept : m_fd(other.m_fd)
{
    other.m_fd = -1;
}

TFile& TFile::operator=(TFile&& other) noexcept
{
    if (this != &other) {
        (void)close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

TFile TFile::adopt(int descriptor)
{
    return TFile(descriptor);
}

std::error_code TFile::open(const std::string& path, const TOpenOptions& options)
{
    const posix::TShortPath reachable(path);
    if (reachable.error()) {
        (void)close();
        return reachable.error();
    }
    return openAt(kWorkingFolder, reachable.c_str(), options);
}

std::error_code TFile::openAt(int folderFd, const char* name, const TOpenOptions& options)
{
    (void)close();
    const int flags = openFlags(options);
    const mode_t mode = static_cast<mode_t>(options.permissions & 07777);
    // Opening is itself an act for a FIFO (it connects a waiting writer, who
    // then loses what it writes) and for a device (its driver runs), so what
    // is not a regular file is turned down on a look at its name first. The
    // look after the open below still catches an entry swapped in between.
    if (options.regularOnly && !options.listedAsRegular) {
        struct stat st {};
        if (::fstatat(folderFd, name, &st, options.noFollow ? AT_SYMLINK_NOFOLLOW : 0) == 0) {
            if (S_ISDIR(st.st_mode))
                return systemError(EISDIR);
            if (S_ISLNK(st.st_mode))
                return systemError(ELOOP);
            if (!S_ISREG(st.st_mode))
                return PlatformErrc::notRegularFile;
        } else if (!options.create || errno != ENOENT) {
            return lastError();
        }
    }
    // O_NOATIME is refused (EPERM) for a file of another owner without the
    // privilege; that file is then opened as usual. The refusal is not
    // remembered: it says nothing about the next file, which may be the
    // caller's own.
    bool noAtime = options.keepAccessTime;
    int fd = openRetrying(folderFd, name, noAtime ? flags | O_NOATIME : flags, mode);
    if (fd < 0 && errno == EPERM && noAtime) {
        noAtime = false;
        fd = openRetrying(folderFd, name, flags, mode);
    }
    if (fd < 0)
        return lastError();
    if (options.regularOnly && !options.listedAsRegular) {
        struct stat st {};
        if (statDescriptor(fd, st) != 0) {
            const std::error_code ec = lastError();
            ::close(fd);
            return ec;
        }
        if (!S_ISREG(st.st_mode)) {
            ::close(fd);
            if (S_ISDIR(st.st_mode))
                return systemError(EISDIR);
            return PlatformErrc::notRegularFile;
        }
        // O_NONBLOCK stays: it has no effect on reads and writes of a regular
        // file, and clearing it would cost every content reader a system call.
    }
    m_fd = fd;
    return {};
}

std::error_code TFile::close()
{
    if (m_fd < 0)
        return {};
    const int fd = m_fd;
    m_fd = -1;
    // The descriptor is gone whatever close answers (EINTR included): retrying
    // could close a descriptor another thread has just been given.
    if (::close(fd) != 0 && errno != EINTR)
        return lastError();
    return {};
}

std::error_code TFile::read(void* buffer, size_t size, size_t& got)
{
    got = 0;
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size);
        if (n >= 0) {
            got = static_cast<size_t>(n);
            return {};
        }
        if (errno != EINTR)
            return lastError();
    }
}

std::error_code TFile::readFull(void* buffer, size_t size, size_t& got, bool shortReadIsEnd)
{
    got = 0;
    auto* p = static_cast<unsigned char*>(buffer);
    while (got < size) {
        size_t n = 0;
        if (auto ec = read(p + got, size - got, n))
            return ec;
        if (n == 0)
            break;
        got += n;
        if (shortReadIsEnd && got < size)
            break;
    }
    return {};
}

std::error_code TFile::readAt(uint64_t offset, void* buffer, size_t size, size_t& got)
{
    got = 0;
    auto* p = static_cast<unsigned char*>(buffer);
    while (got < size) {
        const ssize_t n = ::pread(m_fd, p + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return {};
}

std::error_code TFile::write(const void* buffer, size_t size, size_t& written)
{
    written = 0;
    for (;;) {
        const ssize_t n = ::write(m_fd, buffer, size);
        if (n >= 0) {
            written = static_cast<size_t>(n);
            return {};
        }
        if (errno != EINTR)
            return lastError();
    }
}

std::error_code TFile::writeAll(const void* buffer, size_t size)
{
    const auto* p = static_cast<const unsigned char*>(buffer);
    size_t done = 0;
    while (done < size) {
        size_t n = 0;
        if (auto ec = write(p + done, size - done, n))
            return ec;
        if (n == 0)
            return systemError(EIO);  // a write that makes no progress would loop for ever
        done += n;
    }
    return {};
}

std::error_code TFile::writeAllAt(uint64_t offset, const void* buffer, size_t size)
{
    const auto* p = static_cast<const unsigned char*>(buffer);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(m_fd, p + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (n == 0)
            return systemError(EIO);
        done += static_cast<size_t>(n);
    }
    return {};
}

std::error_code TFile::seek(int64_t offset, TSeekFrom from, int64_t& position)
{
    const int whence = from == TSeekFrom::Current ? SEEK_CUR : from == TSeekFrom::End ? SEEK_END : SEEK_SET;
    const off_t at = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    if (at < 0)
        return lastError();
    position = static_cast<int64_t>(at);
    return {};
}

std::error_code TFile::status(TFileStatus& status) const
{
    struct stat st {};
    if (statDescriptor(m_fd, st) != 0)
        return lastError();
    fillStatus(st, status);
    return {};
}

std::error_code TFile::size(uint64_t& size) const
{
    TFileStatus st;
    if (auto ec = status(st))
        return ec;
    size = st.size;
    return {};
}

std::error_code TFile::resize(uint64_t size)
{
    for (;;) {
        if (::ftruncate(m_fd, static_cast<off_t>(size)) == 0)
            return {};
        if (errno != EINTR)
            return lastError();
    }
}

std::error_code TFile::flush()
{
    for (;;) {
        if (::fsync(m_fd) == 0)
            return {};
        if (errno != EINTR)
            return lastError();
    }
}

std::error_code TFile::flushData()
{
    for (;;) {
        if (::fdatasync(m_fd) == 0)
            return {};
        if (errno != EINTR)
            return lastError();
    }
}

void TFile::adviseSequential()
{
    if (m_fd >= 0)
        (void)::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

namespace {

// Copies up to `length` bytes: in the kernel while it can, then through
// memory. With offsets (both given) the copy reads and writes there and moves
// neither position; without, it goes from and to the current positions.
// `copied` < `length` means the end of `from` was reached.
std::error_code copyData(TFile& from, const uint64_t* fromOffset, TFile& to, const uint64_t* toOffset,
    uint64_t length, uint64_t& copied)
{
    const bool atOffsets = fromOffset && toOffset;
    copied = 0;
    bool inKernel = true;
    while (copied < length && inKernel) {
        const size_t chunk = static_cast<size_t>(std::min<uint64_t>(length - copied, 1ULL << 30));
        loff_t in = atOffsets ? static_cast<loff_t>(*fromOffset + copied) : 0;
        loff_t out = atOffsets ? static_cast<loff_t>(*toOffset + copied) : 0;
        const ssize_t n = ::copy_file_range(from.descriptor(), atOffsets ? &in : nullptr, to.descriptor(),
            atOffsets ? &out : nullptr, chunk, 0);
        if (n > 0) {
            copied += static_cast<uint64_t>(n);
            continue;
        }
        if (n == 0) {
            // The end of `from`, unless nothing was copied at all: some
            // pseudo file systems answer 0 for files that have contents.
            if (copied == 0)
                inKernel = false;
            else
                return {};
            continue;
        }
        if (errno == EINTR)
            continue;
        // Not between these two files (other file systems on old kernels, pipes,
        // special files, a file system without support): copy through memory.
        if (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL || errno == EBADF ||
            errno == ETXTBSY || errno == EPERM)
            inKernel = false;
        else
            return lastError();
    }
    if (copied >= length)
        return {};
    std::unique_ptr<unsigned char[]> block(new unsigned char[kCopyBlock]);
    while (copied < length) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(length - copied, kCopyBlock));
        size_t got = 0;
        if (auto ec = atOffsets ? from.readAt(*fromOffset + copied, block.get(), want, got)
                                : from.readFull(block.get(), want, got))
            return ec;
        if (got == 0)
            return {};
        if (auto ec = atOffsets ? to.writeAllAt(*toOffset + copied, block.get(), got) : to.writeAll(block.get(), got))
            return ec;
        copied += got;
        if (got < want)
            return {};
    }
    return {};
}

}  // namespace

std::error_code copyRange(TFile& from, TFile& to, uint64_t length, uint64_t& copied)
{
    return copyData(from, nullptr, to, nullptr, length, copied);
}

std::error_code copyRangeKeepingHoles(TFile& from, uint64_t fromOffset, TFile& to, uint64_t toOffset,
    uint64_t length, uint64_t& copied)
{
    copied = 0;
    uint64_t size = 0;
    if (auto ec = from.size(size))
        return ec;
    if (fromOffset >= size)
        return {};
    length = std::min(length, size - fromOffset);
    const int fromFd = from.descriptor();
    const uint64_t end = fromOffset + length;
    uint64_t at = fromOffset;
    // Up to `end` the source is copied, unless it ends early (it shrank
    // meanwhile): then only up to where it ended.
    uint64_t reached = end;
    while (at < end) {
        // The next run of data and where it ends. A file system that cannot
        // tell holes (EINVAL) has data everywhere; ENXIO says only a hole
        // is left before the end of the file.
        off_t dataStart = ::lseek(fromFd, static_cast<off_t>(at), SEEK_DATA);
        if (dataStart < 0) {
            if (errno == ENXIO)
                break;
            if (errno != EINVAL && errno != EOPNOTSUPP)
                return lastError();
            dataStart = static_cast<off_t>(at);
        }
        const auto start = static_cast<uint64_t>(dataStart);
        if (start >= end)
            break;
        const off_t dataEnd = ::lseek(fromFd, dataStart, SEEK_HOLE);
        const uint64_t runEnd = dataEnd < 0 ? end : std::min<uint64_t>(static_cast<uint64_t>(dataEnd), end);
        uint64_t done = 0;
        const uint64_t target = toOffset + (start - fromOffset);
        if (auto ec = copyData(from, &start, to, &target, runEnd - start, done))
            return ec;
        at = start + done;
        if (at < runEnd) {
            reached = at;
            break;
        }
    }
    copied = reached - fromOffset;
    // The output reaches at least the end of what was copied, holes included.
    uint64_t outSize = 0;
    if (auto ec = to.size(outSize))
        return ec;
    if (outSize < toOffset + copied)
        if (auto ec = to.resize(toOffset + copied))
            return ec;
    return {};
}

TNewOutput::~TNewOutput()
{
    abandon();
}

std::error_code TNewOutput::create(const std::string& finalPath, uint32_t permissions)
{
    abandon();
    std::string folder, name;
    splitPath(finalPath, folder, name);
    if (name.empty())
        return systemError(EISDIR);
    TOpenOptions options;
    options.access = TFileAccess::ReadWrite;
    options.create = true;
    options.exclusive = true;
    options.noFollow = true;
    options.permissions = permissions;
    // The temporary name must stay within the 255 bytes a name may have.
    const std::string prefix = finalPath.substr(0, finalPath.size() - name.size()) + "." + name.substr(0, 200) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = prefix + randomSuffix();
        const std::error_code ec = m_file.open(candidate, options);
        if (!ec) {
            m_temporary = candidate;
            m_final = finalPath;
            return {};
        }
        if (ec != std::errc::file_exists)
            return ec;
    }
    return systemError(EEXIST);
}

std::error_code TNewOutput::commit(bool flushFirst)
{
    if (m_temporary.empty())
        return systemError(EBADF);
    std::error_code ec;
    if (flushFirst)
        ec = m_file.flush();
    if (const std::error_code closed = m_file.close(); !ec)
        ec = closed;
    if (!ec && ::rename(m_temporary.c_str(), m_final.c_str()) != 0)
        ec = lastError();
    if (ec) {
        abandon();
        return ec;
    }
    m_temporary.clear();
    m_final.clear();
    return {};
}

void TNewOutput::abandon()
{
    (void)m_file.close();
    if (!m_temporary.empty())
        (void)::unlink(m_temporary.c_str());
    m_temporary.clear();
    m_final.clear();
}

std::error_code replaceWholeFile(const std::string& path, const std::string& bytes, uint32_t permissions)
{
    struct stat old {};
    const bool existed = ::lstat(path.c_str(), &old) == 0;
    if (!existed && errno != ENOENT)
        return lastError();
    if (existed && !S_ISREG(old.st_mode)) {
        if (S_ISDIR(old.st_mode))
            return systemError(EISDIR);
        if (S_ISLNK(old.st_mode))
            return systemError(ELOOP);
        return PlatformErrc::notRegularFile;
    }
    TNewOutput output;
    if (const std::error_code ec = output.create(path, existed ? (old.st_mode & 07777) : permissions))
        return ec;
    if (existed) {
        // The umask must not narrow the mode of a file that is only being
        // edited, nor may root's edit take the file from its owner. Neither is
        // worth failing the edit for.
        const int fd = output.file().descriptor();
        (void)::fchmod(fd, old.st_mode & 07777);
        (void)::fchown(fd, old.st_uid, old.st_gid);
    }
    if (const std::error_code ec = output.file().writeAll(bytes.data(), bytes.size()))
        return ec;
    return output.commit();
}

std::error_code pathStatus(const std::string& path, bool followLink, TFileStatus& status)
{
    status = TFileStatus{};
    const posix::TShortPath reachable(path);
    if (reachable.error())
        return reachable.error();
    struct stat st {};
    const int rc = followLink ? ::stat(reachable.c_str(), &st) : ::lstat(reachable.c_str(), &st);
    if (rc != 0)
        return lastError();
    fillStatus(st, status);
    return {};
}

std::error_code createFolder(const std::string& path)
{
    if (::mkdir(path.c_str(), 0777) != 0)
        return lastError();
    return {};
}

std::error_code removeFile(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        return lastError();
    return {};
}

std::error_code touchModified(const std::string& path)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {0, UTIME_NOW}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        return lastError();
    return {};
}

std::error_code ensurePrivateFolder(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return lastError();
    // Opened without following a link, then checked and set through the
    // descriptor, so that what is checked is what is used.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ELOOP ? systemError(ENOTDIR) : lastError();
    struct stat st {};
    std::error_code result;
    if (::fstat(fd, &st) != 0)
        result = lastError();
    else if (st.st_uid != ::geteuid())
        result = systemError(EPERM);
    else if ((st.st_mode & 07777) != 0700 && ::fchmod(fd, 0700) != 0)
        result = lastError();
    ::close(fd);
    return result;
}

std::error_code createFolderAt(int folderFd, const std::string& name)
{
    if (::mkdirat(folderFd == kWorkingFolder ? AT_FDCWD : folderFd, name.c_str(), 0777) != 0)
        return lastError();
    return {};
}

std::error_code openFolderAt(int folderFd, const std::string& name, TFile& folder)
{
    const int fd = ::openat(folderFd == kWorkingFolder ? AT_FDCWD : folderFd, name.c_str(),
        O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return lastError();
    folder = TFile::adopt(fd);
    return {};
}

std::error_code storageKind(const std::string& path, TStorageKind& kind)
{
    kind = TStorageKind::Plain;
    struct statfs sf {};
    if (::statfs(path.c_str(), &sf) != 0)
        return lastError();
    switch (static_cast<uint32_t>(sf.f_type)) {
    case 0x9123683E:  // btrfs
    case 0x2FC12FC1:  // ZFS
    case 0xCA451A4E:  // bcachefs
    case 0x794C7630:  // overlayfs: a lower file is copied up, never overwritten
        kind = TStorageKind::CopyOnWrite;
        break;
    case 0x6969:      // NFS
    case 0xFF534D42:  // CIFS
    case 0xFE534D42:  // SMB2
    case 0x517B:      // SMB
    case 0x564C:      // NCP
    case 0x5346414F:  // AFS
    case 0x6B414653:  // kAFS
    case 0x00C36400:  // Ceph
    case 0x01161970:  // GFS2
    case 0x47504653:  // GPFS
    case 0x0BD00BD0:  // Lustre
    case 0x73757245:  // Coda
        kind = TStorageKind::Network;
        break;
    default:
        break;
    }
    return {};
}

std::error_code checkAccess(const std::string& path, unsigned access)
{
    int mode = 0;
    if (access & acRead)
        mode |= R_OK;
    if (access & acWrite)
        mode |= W_OK;
    if (::faccessat(AT_FDCWD, path.c_str(), mode == 0 ? F_OK : mode, AT_EACCESS) != 0)
        return lastError();
    return {};
}

}  // namespace korvala
