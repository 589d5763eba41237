#pragma once
// A temporary tree of real files for one test: made under /tmp (or another
// base folder), filled with files of given contents, sizes and modes, folders,
// symbolic links and named pipes, and removed with everything in it when the
// object goes, read-only, immutable and append-only entries included and at
// any depth. Names are byte strings: any byte but '/' and NUL may appear.
//
// Every creating call fails the running test (naming the path and the error)
// when the entry cannot be made, and returns the entry's full path.

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace korvala::test {

class TTempTree {
public:
    explicit TTempTree(const std::string& base = "/tmp");
    ~TTempTree();
    TTempTree(const TTempTree&) = delete;
    TTempTree& operator=(const TTempTree&) = delete;

    // The root, without a trailing "/".
    const std::string& root() const { return m_root; }
    const std::string& path() const { return m_root; }
    // root() + "/" + rel.
    std::string path(const std::string& rel) const;

    std::string file(const std::string& rel, const std::string& content = "data", mode_t mode = 0644) const;
    // A file of `size` bytes of a fixed pseudo-random sequence, written in
    // pieces (large files need no memory of their size).
    std::string sizedFile(const std::string& rel, std::uint64_t size, std::uint32_t seed = 1) const;
    // Creates the missing folders of rel too.
    std::string folder(const std::string& rel, mode_t mode = 0755) const;
    std::string symlink(const std::string& rel, const std::string& target) const;
    std::string fifo(const std::string& rel, mode_t mode = 0600) const;
    // A file of `size` bytes that holds no blocks (all zeros): reading it
    // takes time without filling the disk.
    std::string sparseFile(const std::string& rel, std::uint64_t size) const;

private:
    std::string m_root;
};

// Removes a folder and everything in it without following symbolic links,
// whatever the depth or the permission bits, clearing the immutable and
// append-only flags on the way. False (with errno set) when something stayed.
bool removeTree(const std::string& path);

}  // namespace korvala::test
