#pragma once
// Opening, reading, writing, flushing and closing files: the one way the engines
// touch file contents. Errors follow the contract of platform/SystemError.h:
// every call returns a std::error_code (and fills its out values), none throws.
//
// Interrupted system calls are restarted here, once for everyone, so callers
// never see EINTR. Descriptors are never inherited by started programs.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <system_error>

#include "platform/SystemError.h"

namespace korvala {

// The folder descriptor that stands for the working folder, wherever a function
// takes a folder descriptor and a name.
inline constexpr int kWorkingFolder = -100;

enum class TFileAccess : uint8_t { Read, Write, ReadWrite };

// What a caller allows when it opens a file.
struct TOpenOptions {
    TFileAccess access = TFileAccess::Read;
    // Only a regular file may be opened. The file is opened without waiting (a
    // FIFO with no writer would otherwise block the open for ever) and then
    // looked at: a folder fails with EISDIR, a FIFO, socket or device with
    // PlatformErrc::notRegularFile. Reads and writes of the regular file that
    // is opened wait for the disk as usual (the flag does not apply to them).
    bool regularOnly = false;
    // With regularOnly: the caller has just listed the name as a regular file,
    // so the look at the opened file is saved (one system call per file in a
    // content search). The name is then not followed, so an entry replaced by
    // a link since it was listed fails to open (ELOOP); one replaced by a FIFO
    // reads as empty instead of waiting.
    bool listedAsRegular = false;
    // Reading does not change the access time, where the system allows it (the
    // caller owns the file or has the privilege); elsewhere the file is opened
    // as usual, at the cost of a second open.
    bool keepAccessTime = false;
    // A symbolic link as the last name is not followed: the open fails (ELOOP).
    bool noFollow = false;
    bool create = false;     // create the file when it does not exist
    bool exclusive = false;  // with create: fail (EEXIST) when it exists
    bool truncate = false;   // empty an existing file
    uint32_t permissions = 0666;  // of a created file, before the umask

    // Readers of file contents (digests, search, duplicates, split, join):
    // regular files only, access time kept.
    static TOpenOptions contentRead()
    {
        TOpenOptions o;
        o.regularOnly = true;
        o.keepAccessTime = true;
        return o;
    }
    // Writers into an existing file that must not be sent elsewhere by a link
    // (the shredder): a regular file, reached without following a final link.
    static TOpenOptions writeNoFollow()
    {
        TOpenOptions o;
        o.access = TFileAccess::Write;
        o.regularOnly = true;
        o.noFollow = true;
        return o;
    }
};

enum class TFileKind : uint8_t { Missing, Regular, Directory, Symlink, Fifo, Socket, CharDevice, BlockDevice };

// What a stat of a file or path gives.
struct TFileStatus {
    TFileKind kind = TFileKind::Missing;
    uint64_t size = 0;
    uint32_t mode = 0;        // permission bits (07777)
    uint64_t device = 0;
    uint64_t inode = 0;
    uint32_t owner = 0;
    uint64_t allocated = 0;   // bytes of storage allocated
    timespec modified{};      // last write, UTC

    bool isRegular() const { return kind == TFileKind::Regular; }
    bool isDirectory() const { return kind == TFileKind::Directory; }
};

enum class TSeekFrom : uint8_t { Begin, Current, End };

// An open file, closed when the object goes. Move-only.
class TFile {
public:
    TFile() = default;
    ~TFile();
    TFile(TFile&& other) noexcept;
    TFile& operator=(TFile&& other) noexcept;
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;

    // Opens `path`; on failure the object stays closed.
    std::error_code open(const std::string& path, const TOpenOptions& options);
    // Opens `name` relative to the folder descriptor `folderFd` (a
    // DirectoryListing's fd(), or kWorkingFolder). A closed folder (-1) fails
    // with EBADF rather than open a name of the working folder.
    std::error_code openAt(int folderFd, const char* name, const TOpenOptions& options);
    // Takes over a descriptor opened elsewhere (a memory file, a pipe).
    static TFile adopt(int descriptor);

    bool isOpen() const { return m_fd >= 0; }
    // The descriptor, for platform code that needs it (-1 when closed).
    int descriptor() const { return m_fd; }

    // Closes the file and reports what the close reported (a delayed write
    // error of a network file system, for example). Closing a closed file is
    // no error.
    std::error_code close();

    // One read of at most `size` bytes at the current position; `got` is 0 at
    // the end of the file.
    std::error_code read(void* buffer, size_t size, size_t& got);
    // Reads until `size` bytes are in or the file ends; `got` < `size` means the
    // end was reached. With `shortReadIsEnd` (local disk file systems, where a
    // read that returns less than asked for has reached the end) the read that
    // would only return 0 is saved.
    std::error_code readFull(void* buffer, size_t size, size_t& got, bool shortReadIsEnd = false);
    // Reads at `offset` without moving the position, until `size` bytes are in
    // or the file ends.
    std::error_code readAt(uint64_t offset, void* buffer, size_t size, size_t& got);

    // One write of at most `size` bytes; `written` says how many went.
    std::error_code write(const void* buffer, size_t size, size_t& written);
    // Writes all `size` bytes (a full disk fails with ENOSPC).
    std::error_code writeAll(const void* buffer, size_t size);
    // Writes all `size` bytes at `offset` without moving the position.
    std::error_code writeAllAt(uint64_t offset, const void* buffer, size_t size);

    // Moves the position; `position` receives the new one.
    std::error_code seek(int64_t offset, TSeekFrom from, int64_t& position);
    std::error_code status(TFileStatus& status) const;
    std::error_code size(uint64_t& size) const;
    // Makes the file exactly `size` bytes long.
    std::error_code resize(uint64_t size);
    // Waits until the contents are on the storage device.
    std::error_code flush();
    // The same for the contents and what is needed to read them back (the
    // length), leaving other metadata such as time stamps to the system.
    std::error_code flushData();
    // Tells the system the file is read from start to end (larger read-ahead).
    void adviseSequential();

private:
    explicit TFile(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

// Copies up to `length` bytes from the current position of `from` to the current
// position of `to`, both positions moving on. The kernel copies in place where
// it can (no trip through user memory, shared extents on file systems that have
// them); elsewhere the bytes go through 1 MiB blocks. `copied` < `length` means
// the end of `from` was reached.
std::error_code copyRange(TFile& from, TFile& to, uint64_t length, uint64_t& copied);

// Copies `length` bytes of `from` starting at `fromOffset` to `to` at
// `toOffset`, without using or moving either position. Holes of `from` (as
// SEEK_DATA and SEEK_HOLE find them) are not written but skipped, so they stay
// holes in `to`; `to` is made at least toOffset + `copied` bytes long at the
// end, so a trailing hole is kept as well. Data go through the kernel where it
// can, else through 1 MiB blocks. `copied` < `length` means the end of `from`
// was reached.
std::error_code copyRangeKeepingHoles(TFile& from, uint64_t fromOffset, TFile& to, uint64_t toOffset,
    uint64_t length, uint64_t& copied);

// A new output file (a joined file, a part of a split) written under a
// temporary name in the folder of its final name, and renamed into place only
// when complete: a failed or abandoned run never leaves a truncated file under
// the final name, nor destroys the file that was there. An output that is not
// committed is removed when the object goes.
class TNewOutput {
public:
    TNewOutput() = default;
    ~TNewOutput();
    TNewOutput(const TNewOutput&) = delete;
    TNewOutput& operator=(const TNewOutput&) = delete;

    // Creates the temporary file next to `finalPath` (".NAME.XXXXXX", mode
    // `permissions` before the umask). Abandons an output begun before.
    std::error_code create(const std::string& finalPath, uint32_t permissions = 0666);

    // The file to write to; valid between create and commit.
    TFile& file() { return m_file; }
    const std::string& temporaryPath() const { return m_temporary; }
    const std::string& finalPath() const { return m_final; }

    // Flushes the contents to storage (unless `flushFirst` is false), closes the
    // file and renames it onto the final name, replacing a file that is there.
    // On failure the temporary file is removed and the final name is untouched.
    std::error_code commit(bool flushFirst = true);
    // Closes and removes the temporary file; the final name is untouched.
    void abandon();

private:
    TFile m_file;
    std::string m_temporary;
    std::string m_final;
};

// Makes `path` a regular file holding exactly `bytes`, the way an editor saves:
// written whole under a temporary name (TNewOutput) and renamed into place, so
// a full disk or any other failure leaves the file that was there untouched
// and no temporary file behind. A file it replaces keeps its mode, and its
// owner and group where the caller may keep them (root editing another user's
// file); a new one gets `permissions` before the umask. A link (ELOOP), a
// folder (EISDIR) or a FIFO, socket or device (PlatformErrc::notRegularFile)
// under the name is never written through or over.
std::error_code replaceWholeFile(const std::string& path, const std::string& bytes, uint32_t permissions = 0666);

// What `path` is, without opening it. `followLink` says whether a final symbolic
// link is followed. A path that does not exist gives ENOENT (and kind Missing).
std::error_code pathStatus(const std::string& path, bool followLink, TFileStatus& status);

// Creates one folder (its parent must exist) with the permissions the umask
// leaves of 0777; EEXIST when anything stands under that name.
std::error_code createFolder(const std::string& path);
// Sets the modification time of `path` to now, so that file managers that
// watch it read it again.
std::error_code touchModified(const std::string& path);

// Makes sure `path` is a folder of this user that nobody else may enter: made
// with mode 0700 when missing (its parent must exist); an existing one must be
// a real folder (not a link) owned by the user, and is set to 0700. EPERM when
// another user owns it, ENOTDIR when it is anything but a folder.
std::error_code ensurePrivateFolder(const std::string& path);
// The same for the folder `name` in the open folder `folderFd`.
std::error_code createFolderAt(int folderFd, const std::string& name);
// Opens the folder `name` of the open folder `folderFd` (kWorkingFolder: a
// path), following links, for going down a path one folder at a time: only
// the right to pass through the folders is needed, not to list them. ENOTDIR
// when it is not a folder.
std::error_code openFolderAt(int folderFd, const std::string& name, TFile& folder);
// Removes the name `path` (not a folder); a final link is removed, not followed.
std::error_code removeFile(const std::string& path);

// What kind of storage holds a path, for what overwriting in place can reach.
enum class TStorageKind : uint8_t {
    Plain,          // a local file system that overwrites blocks in place
    CopyOnWrite,    // writes go to new blocks (btrfs, ZFS, bcachefs)
    Network,        // a network file system: the server decides
};
// Follows links; a path that cannot be looked up gives the reason and Plain.
std::error_code storageKind(const std::string& path, TStorageKind& kind);

// What the caller may do with a path, by its effective ids: reading, writing or
// both (EACCES or the reason the path cannot be looked up when not).
enum TAccessCheck : unsigned { acRead = 1, acWrite = 2 };
std::error_code checkAccess(const std::string& path, unsigned access);

}  // namespace korvala
