#pragma once
// A temporary folder under /tmp for one test, removed with everything in it.

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace korvala::test {

class TempFolder {
public:
    TempFolder()
    {
        char pattern[] = "/tmp/korvala-platform-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        m_path = made ? made : "";
    }
    ~TempFolder()
    {
        std::error_code ec;
        // Read-only files inside do not stop root, but give write back for other users.
        for (auto& entry : std::filesystem::recursive_directory_iterator(m_path, ec))
            if (!entry.is_symlink())
                ::chmod(entry.path().c_str(), 0700);
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name, const std::string& content = "data") const
    {
        const std::string p = m_path + "/" + name;
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }
    std::string folder(const std::string& name) const
    {
        const std::string p = m_path + "/" + name;
        ::mkdir(p.c_str(), 0755);
        return p;
    }

private:
    std::string m_path;
};

// The raw bytes of an extended attribute, or "<absent>".
inline std::string rawXattr(const std::string& path, const char* name)
{
    char buffer[512];
    const ssize_t n = ::lgetxattr(path.c_str(), name, buffer, sizeof buffer);
    return n < 0 ? std::string("<absent>") : std::string(buffer, static_cast<size_t>(n));
}

inline void setRawXattr(const std::string& path, const char* name, const std::string& value)
{
    ::lsetxattr(path.c_str(), name, value.data(), value.size(), 0);
}

}  // namespace korvala::test
