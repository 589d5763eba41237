#include "platform/posix/AttributeStore.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/DosAttrib.h"
#include "platform/FileAttributes.h"
#include "platform/NtTime.h"

namespace korvala::posix {

namespace {

constexpr unsigned long FAT_MAGIC = 0x4d44;          // msdos and vfat
constexpr unsigned long NTFS3_MAGIC = 0x7366746e;    // the in-kernel ntfs3 driver
constexpr unsigned long NTFS_OLD_MAGIC = 0x5346544e; // the older read-only ntfs driver
constexpr unsigned long FUSE_MAGIC = 0x65735546;     // ntfs-3g runs on FUSE
constexpr unsigned long CIFS_MAGIC = 0xFF534D42;
constexpr unsigned long SMB2_MAGIC = 0xFE534D42;

constexpr const char* DOSATTRIB_NAME = "user.DOSATTRIB";
constexpr const char* NTFS_ATTRIB_NAME = "system.ntfs_attrib";
constexpr const char* NTFS_CRTIME_NAME = "system.ntfs_crtime";
constexpr const char* CIFS_ATTRIB_NAME = "user.cifs.dosattrib";
constexpr const char* CIFS_CRTIME_NAME = "user.cifs.creationtime";

// The bits a FAT directory entry has room for.
constexpr uint32_t FAT_STORED_MASK = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
    FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

// Reads a whole extended attribute; false with errno set when it cannot be read.
bool getXattr(const std::string& path, bool follow, const char* name, std::string& value)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = follow ? ::getxattr(path.c_str(), name, nullptr, 0)
                                    : ::lgetxattr(path.c_str(), name, nullptr, 0);
        if (size < 0)
            return false;
        value.resize(static_cast<size_t>(size));
        const ssize_t got = follow ? ::getxattr(path.c_str(), name, value.data(), value.size())
                                   : ::lgetxattr(path.c_str(), name, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<size_t>(got));
            return true;
        }
        if (errno != ERANGE)  // ERANGE: it grew between the two calls
            return false;
    }
    return false;
}

std::error_code setXattr(const std::string& path, bool follow, const char* name, const void* data, size_t size)
{
    const int rc = follow ? ::setxattr(path.c_str(), name, data, size, 0)
                          : ::lsetxattr(path.c_str(), name, data, size, 0);
    return rc == 0 ? std::error_code{} : lastError();
}

std::error_code removeXattr(const std::string& path, bool follow, const char* name)
{
    const int rc = follow ? ::removexattr(path.c_str(), name) : ::lremovexattr(path.c_str(), name);
    if (rc == 0 || errno == ENODATA)
        return {};
    return lastError();
}

template <typename T>
bool getFixedXattr(const std::string& path, bool follow, const char* name, T& out)
{
    std::string value;
    if (!getXattr(path, follow, name, value))
        return false;
    if (value.size() != sizeof(T)) {
        errno = EIO;  // not the value this driver keeps
        return false;
    }
    std::memcpy(&out, value.data(), sizeof(T));
    return true;
}

// Creation times that NTFS and SMB client mounts keep as an NTTIME in an
// extended attribute (0 means none).
std::optional<timespec> readNtTimeXattr(const std::string& path, bool follow, const char* name)
{
    uint64_t nt = 0;
    if (!getFixedXattr(path, follow, name, nt) || nt == 0)
        return std::nullopt;
    return ntTimeToTimespec(nt);
}

std::error_code writeNtTimeXattr(const std::string& path, bool follow, const char* name, const timespec& created)
{
    const uint64_t nt = timespecToNtTime(created);
    if (nt == 0)
        return std::make_error_code(std::errc::invalid_argument);
    return setXattr(path, follow, name, &nt, sizeof nt);
}

// ---- user.DOSATTRIB: every file system with user extended attributes ----

class DosAttribStore final : public AttributeStore {
public:
    uint32_t readAttributes(const std::string& path, bool follow) const override
    {
        const auto info = read(path, follow);
        return info ? (info->attributes & STORED_ATTRIBUTE_MASK) : 0;
    }

    std::error_code writeAttributes(const std::string& path, bool follow, uint32_t stored) const override
    {
        const auto info = read(path, follow);
        if (info && (info->attributes & STORED_ATTRIBUTE_MASK) == stored)
            return {};
        if (!info && stored == 0)
            return {};
        const std::optional<uint64_t> created = info ? info->createTime : std::nullopt;
        // Nothing left to keep: remove the attribute rather than store an empty record.
        if (stored == 0 && !created)
            return removeXattr(path, follow, DOSATTRIB_NAME);
        const std::string value = buildDosAttrib(stored, created);
        return setXattr(path, follow, DOSATTRIB_NAME, value.data(), value.size());
    }

    bool keepsCreationTime() const override { return true; }

    std::optional<timespec> readCreationTime(const std::string& path, bool follow) const override
    {
        const auto info = read(path, follow);
        if (!info || !info->createTime)
            return std::nullopt;
        return ntTimeToTimespec(*info->createTime);
    }

    std::error_code writeCreationTime(const std::string& path, bool follow, const timespec& created) const override
    {
        const auto info = read(path, follow);
        const uint32_t stored = info ? (info->attributes & STORED_ATTRIBUTE_MASK) : 0;
        const uint64_t nt = timespecToNtTime(created);
        if (nt == 0)
            return std::make_error_code(std::errc::invalid_argument);
        const std::string value = buildDosAttrib(stored, nt);
        return setXattr(path, follow, DOSATTRIB_NAME, value.data(), value.size());
    }

private:
    static std::optional<DosAttribInfo> read(const std::string& path, bool follow)
    {
        std::string value;
        if (!getXattr(path, follow, DOSATTRIB_NAME, value))
            return std::nullopt;
        return parseDosAttrib(value);
    }
};

// ---- FAT: the attribute byte of the directory entry, through the driver's ioctls ----

class FatStore final : public AttributeStore {
public:
    uint32_t readAttributes(const std::string& path, bool follow) const override
    {
        uint32_t attributes = 0;
        if (ioctlOnPath(path, follow, FAT_IOCTL_GET_ATTRIBUTES, &attributes))
            return 0;
        return attributes & FAT_STORED_MASK;
    }

    std::error_code writeAttributes(const std::string& path, bool follow, uint32_t stored) const override
    {
        uint32_t current = 0;
        if (auto ec = ioctlOnPath(path, follow, FAT_IOCTL_GET_ATTRIBUTES, &current))
            return ec;
        // Bits FAT has no room for (temporary, offline, not indexed) are dropped; the
        // driver keeps the volume and directory bits itself.
        uint32_t wanted = (current & ~FAT_STORED_MASK) | (stored & FAT_STORED_MASK);
        if (wanted == current)
            return {};
        return ioctlOnPath(path, follow, FAT_IOCTL_SET_ATTRIBUTES, &wanted);
    }

    // FAT keeps a creation time, but no system call sets it.
    bool keepsCreationTime() const override { return false; }
    std::optional<timespec> readCreationTime(const std::string&, bool) const override { return std::nullopt; }
    std::error_code writeCreationTime(const std::string&, bool, const timespec&) const override
    {
        return std::make_error_code(std::errc::not_supported);
    }

private:
    static std::error_code ioctlOnPath(const std::string& path, bool follow, unsigned long request, uint32_t* value)
    {
        const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (follow ? 0 : O_NOFOLLOW);
        const int fd = ::open(path.c_str(), flags);
        if (fd < 0)
            return lastError();
        const int rc = ::ioctl(fd, request, value);
        const std::error_code ec = rc == 0 ? std::error_code{} : lastError();
        ::close(fd);
        return ec;
    }
};

// ---- NTFS (ntfs3 and ntfs-3g): the driver's own attribute word and creation time ----

class NtfsStore final : public AttributeStore {
public:
    uint32_t readAttributes(const std::string& path, bool follow) const override
    {
        uint32_t attributes = 0;
        if (!getFixedXattr(path, follow, NTFS_ATTRIB_NAME, attributes))
            return 0;
        return attributes & STORED_ATTRIBUTE_MASK;
    }

    std::error_code writeAttributes(const std::string& path, bool follow, uint32_t stored) const override
    {
        uint32_t current = 0;
        if (!getFixedXattr(path, follow, NTFS_ATTRIB_NAME, current))
            return lastError();
        // The word also carries directory, sparse, compressed and reparse bits that
        // the driver acts on when written: keep them exactly as they are.
        const uint32_t wanted = (current & ~(STORED_ATTRIBUTE_MASK | FILE_ATTRIBUTE_NORMAL)) | stored;
        // A plain file reads "normal" where nothing else is set: that is no change.
        if (wanted == (current & ~FILE_ATTRIBUTE_NORMAL))
            return {};
        return setXattr(path, follow, NTFS_ATTRIB_NAME, &wanted, sizeof wanted);
    }

    bool keepsCreationTime() const override { return true; }

    std::optional<timespec> readCreationTime(const std::string& path, bool follow) const override
    {
        return readNtTimeXattr(path, follow, NTFS_CRTIME_NAME);
    }

    std::error_code writeCreationTime(const std::string& path, bool follow, const timespec& created) const override
    {
        return writeNtTimeXattr(path, follow, NTFS_CRTIME_NAME, created);
    }
};

// ---- SMB client mounts: the server's attributes through the client's pseudo attributes ----

class CifsStore final : public AttributeStore {
public:
    uint32_t readAttributes(const std::string& path, bool follow) const override
    {
        uint32_t attributes = 0;
        if (!getFixedXattr(path, follow, CIFS_ATTRIB_NAME, attributes))
            return 0;
        return attributes & STORED_ATTRIBUTE_MASK;
    }

    std::error_code writeAttributes(const std::string& path, bool follow, uint32_t stored) const override
    {
        uint32_t current = 0;
        if (!getFixedXattr(path, follow, CIFS_ATTRIB_NAME, current))
            return lastError();
        if ((current & STORED_ATTRIBUTE_MASK) == stored)
            return {};
        // The client reads 0 as "leave the attributes alone"; "normal" clears them all.
        const uint32_t value = stored != 0 ? stored : FILE_ATTRIBUTE_NORMAL;
        return setXattr(path, follow, CIFS_ATTRIB_NAME, &value, sizeof value);
    }

    bool keepsCreationTime() const override { return true; }

    std::optional<timespec> readCreationTime(const std::string& path, bool follow) const override
    {
        return readNtTimeXattr(path, follow, CIFS_CRTIME_NAME);
    }

    std::error_code writeCreationTime(const std::string& path, bool follow, const timespec& created) const override
    {
        return writeNtTimeXattr(path, follow, CIFS_CRTIME_NAME, created);
    }
};

bool fileSystemType(const std::string& path, bool follow, unsigned long& type)
{
    struct statfs info{};
    if (follow) {
        if (::statfs(path.c_str(), &info) != 0)
            return false;
    } else {
        // statfs follows links; an O_PATH descriptor of the link itself does not.
        const int fd = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return false;
        const int rc = ::fstatfs(fd, &info);
        ::close(fd);
        if (rc != 0)
            return false;
    }
    type = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFul;
    return true;
}

}  // namespace

const AttributeStore& dosAttribStore()
{
    static const DosAttribStore store;
    return store;
}

const AttributeStore& fatStore()
{
    static const FatStore store;
    return store;
}

const AttributeStore& ntfsStore()
{
    static const NtfsStore store;
    return store;
}

const AttributeStore& cifsStore()
{
    static const CifsStore store;
    return store;
}

const AttributeStore& attributeStoreFor(const std::string& path, bool follow)
{
    unsigned long type = 0;
    if (!fileSystemType(path, follow, type))
        return dosAttribStore();
    switch (type) {
    case FAT_MAGIC:
        return fatStore();
    case NTFS3_MAGIC:
    case NTFS_OLD_MAGIC:
        return ntfsStore();
    case CIFS_MAGIC:
    case SMB2_MAGIC:
        return cifsStore();
    case FUSE_MAGIC: {
        // statfs cannot tell FUSE file systems apart; ntfs-3g answers for its
        // attribute word, the others do not.
        uint32_t probe = 0;
        if (getFixedXattr(path, follow, NTFS_ATTRIB_NAME, probe))
            return ntfsStore();
        return dosAttribStore();
    }
    default:
        return dosAttribStore();
    }
}

}  // namespace korvala::posix
