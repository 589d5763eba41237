#include "search/ContentCriteria.h"

#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "search/ContentScanner.h"
#include "platform/TextFold.h"

namespace korvala {
namespace {

// Reading must not change the access time a later search may test; O_NOATIME is
// refused for files of other owners (without privilege), then the file is
// opened without it.
std::atomic<bool> g_noAtimeRefused{false};

int openForScan(int dirFd, const char* name)
{
    const int base = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if (!g_noAtimeRefused.load(std::memory_order_relaxed)) {
        int fd = ::openat(dirFd, name, base | O_NOATIME);
        if (fd >= 0 || errno != EPERM)
            return fd;
        g_noAtimeRefused.store(true, std::memory_order_relaxed);
    }
    return ::openat(dirFd, name, base);
}

}  // namespace

void TContentCriteria::Assign(const TCustomCriteria& source)
{
    const auto& s = sourceAs<TContentCriteria>(source);
    m_phrase = s.m_phrase;
    m_options = s.m_options;
    m_variants = s.m_variants;
}

void TContentCriteria::Clear()
{
    setPhrase(std::string());
    m_options = 0;
}

void TContentCriteria::setPhrase(const std::string& value)
{
    if (value == m_phrase)
        return;
    m_phrase = value;
    m_variants.Ansi = value;
    m_variants.Utf8 = value;
    m_variants.Unicode = utf8ToUtf16(value);
}

bool TContentCriteria::Matches(const std::string& fullPath) const
{
    return MatchesAt(AT_FDCWD, fullPath.c_str(), false);
}

bool TContentCriteria::MatchesAt(int dirFd, const char* name, bool knownRegular, bool shortReadIsEnd) const
{
    if (m_phrase.empty())
        return true;
    int fd = openForScan(dirFd, name);
    if (fd < 0)
        return false;
    if (!knownRegular) {
        // Only regular files have content to read; folders, devices and pipes
        // fail the test as a file that cannot be read.
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return false;
        }
    }
    ScanResult r = ContainsPhrase(fd, m_variants, m_options, shortReadIsEnd);
    ::close(fd);
    if (r == ScanResult::Failed)
        return false;
    const bool found = r == ScanResult::Found;
    return (m_options & csoNegate) ? !found : found;
}

}  // namespace korvala
