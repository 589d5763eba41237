#pragma once
// Internal to the platform layer: where a file system keeps the DOS attribute bits
// and the creation time. One store per kind of file system, chosen with statfs.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <system_error>

namespace korvala::posix {

class AttributeStore {
public:
    virtual ~AttributeStore() = default;

    // The stored bits (masked to STORED_ATTRIBUTE_MASK); 0 when nothing is stored or
    // the store cannot be read. `follow` says whether a symbolic link is followed.
    virtual uint32_t readAttributes(const std::string& path, bool follow) const = 0;

    // Makes the store hold exactly `stored` (already masked). Writes nothing when it
    // holds them already, so the file's change time is not disturbed.
    virtual std::error_code writeAttributes(const std::string& path, bool follow, uint32_t stored) const = 0;

    // False when the file system has no place for a creation time we could set.
    virtual bool keepsCreationTime() const = 0;
    virtual std::optional<timespec> readCreationTime(const std::string& path, bool follow) const = 0;
    virtual std::error_code writeCreationTime(const std::string& path, bool follow, const timespec& created) const = 0;
};

// The store of the file system that holds `path` (the link itself when `follow` is
// false and the path is a symbolic link).
const AttributeStore& attributeStoreFor(const std::string& path, bool follow);

// Each store, for tests and for callers that know the file system already.
const AttributeStore& dosAttribStore();
const AttributeStore& fatStore();
const AttributeStore& ntfsStore();
const AttributeStore& cifsStore();

}  // namespace korvala::posix
