#pragma once
// The 32-bit attribute word of files and folders: stored bits kept in the file
// system's attribute store, derived bits computed from the file itself.
// Errors: see platform/SystemError.h.

#include <cstdint>
#include <string>
#include <system_error>

namespace korvala {

constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
constexpr uint32_t FILE_ATTRIBUTE_HIDDEN = 0x2;
constexpr uint32_t FILE_ATTRIBUTE_SYSTEM = 0x4;
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr uint32_t FILE_ATTRIBUTE_DEVICE = 0x40;
constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr uint32_t FILE_ATTRIBUTE_TEMPORARY = 0x100;
constexpr uint32_t FILE_ATTRIBUTE_SPARSE_FILE = 0x200;
constexpr uint32_t FILE_ATTRIBUTE_REPARSE_POINT = 0x400;
constexpr uint32_t FILE_ATTRIBUTE_COMPRESSED = 0x800;
constexpr uint32_t FILE_ATTRIBUTE_OFFLINE = 0x1000;
constexpr uint32_t FILE_ATTRIBUTE_NOT_CONTENT_INDEXED = 0x2000;
constexpr uint32_t FILE_ATTRIBUTE_ENCRYPTED = 0x4000;
constexpr uint32_t FILE_ATTRIBUTE_VIRTUAL = 0x10000;
constexpr uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// The bits an attribute store keeps; every other bit is derived when read.
constexpr uint32_t STORED_ATTRIBUTE_MASK = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
    FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY |
    FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Reads the attribute word of a path (a symbolic link itself is not followed);
// the error is why the path cannot be looked up. Hidden is also set for a name
// that starts with "." or that the folder's ".hidden" lists (platform/HiddenList.h).
std::error_code readFileAttributes(const std::string& path, uint32_t& word);

// The same word as the tools use it: INVALID_FILE_ATTRIBUTES when the path
// cannot be read.
uint32_t getFileAttributes(const std::string& path);

// Sets the stored bits of `set` and clears those of `clear` in the file system's
// attribute store, keeping every other bit the store holds; derived bits are
// ignored, so "hidden because of the dot" or "read-only because of the mode" is
// never stored. Read-only also changes the write permission of a regular file:
// set removes every write permission, clear gives the owner write permission.
// Hidden also lists the name in the folder's ".hidden" (set; a dot name is
// hidden already) or unlists it (clear; a dot name stays hidden, nothing is
// renamed).
// All or nothing: a caller who may write the store but not change the mode gets
// the failure before anything is written, and a step that fails puts back what
// the earlier steps changed. Writes nothing when nothing would change (the
// change time stays). Returns the errno-based error of the step that failed.
std::error_code changeFileAttributes(const std::string& path, uint32_t set, uint32_t clear);

// Writes a whole word the way the system call of that name does: the stored
// bits in which `attributes` differs from the word read now are changed, as
// changeFileAttributes changes them; bits that already read as asked (derived
// or stored) are left as they are. The folder's ".hidden" is not touched: this
// is the word of the store and the mode alone.
std::error_code setFileAttributes(const std::string& path, uint32_t attributes);

}  // namespace korvala
