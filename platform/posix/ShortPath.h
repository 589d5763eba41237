#pragma once
// A path of any length in a form that path-taking system calls accept. The
// walker reaches folders of any depth, so the paths it reports may be longer
// than PATH_MAX, where every such call fails (ENAMETOOLONG). A path that short
// stays as it is; a longer one becomes "/proc/self/fd/N/NAME": N a descriptor
// of its folder, opened a piece at a time, each piece shorter than PATH_MAX,
// links in the folder part followed as the system's own lookup follows them.
// The descriptor lives as long as the object.

#include <string>
#include <system_error>

namespace korvala::posix {

class TShortPath {
public:
    explicit TShortPath(const std::string& path);
    ~TShortPath();
    TShortPath(const TShortPath&) = delete;
    TShortPath& operator=(const TShortPath&) = delete;

    // Why the folder of a long path could not be reached (ENOENT, EACCES,
    // ENOTDIR, ...); the call it was for fails with this instead.
    const std::error_code& error() const { return m_error; }
    const std::string& path() const { return m_short.empty() ? *m_path : m_short; }
    const char* c_str() const { return path().c_str(); }

private:
    const std::string* m_path;
    std::string m_short;
    int m_fd = -1;
    std::error_code m_error;
};

}  // namespace korvala::posix
