#pragma once
// A small file system of its own for a test: a tmpfs of a given size mounted
// on a fresh folder, so that a full disk is a real ENOSPC. Mounting needs
// root (as the tests run); elsewhere available() is false and the test skips.

#include <sys/mount.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "TempTree.h"

namespace korvala::test {

class TSmallTmpfs {
public:
    explicit TSmallTmpfs(std::uint64_t bytes)
    {
        m_root = m_base.folder("fs");
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        if (::mount("tmpfs", m_root.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0)
            m_mounted = true;
        else
            m_reason = std::strerror(errno);
    }
    ~TSmallTmpfs()
    {
        if (m_mounted)
            ::umount2(m_root.c_str(), MNT_DETACH);
    }
    TSmallTmpfs(const TSmallTmpfs&) = delete;
    TSmallTmpfs& operator=(const TSmallTmpfs&) = delete;

    bool available() const { return m_mounted; }
    // Why the mount failed.
    const std::string& reason() const { return m_reason; }
    const std::string& root() const { return m_root; }
    std::string path(const std::string& rel) const { return m_root + "/" + rel; }

private:
    TTempTree m_base;
    std::string m_root;
    std::string m_reason;
    bool m_mounted = false;
};

}  // namespace korvala::test
