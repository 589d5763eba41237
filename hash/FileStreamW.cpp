#include "hash/FileStreamW.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hash/FileErrors.h"
#include "platform/KorvalaError.h"

namespace korvala {

std::u16string pathToUtf16(const std::string& path)
{
    std::u16string out;
    out.reserve(path.size());
    const auto* p = reinterpret_cast<const unsigned char*>(path.data());
    const std::size_t n = path.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        char32_t cp = 0;
        std::size_t len = 0;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if (c >= 0xC2 && c <= 0xDF) {
            cp = c & 0x1F;
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            cp = c & 0x0F;
            len = 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            cp = c & 0x07;
            len = 4;
        }
        bool valid = len != 0 && i + len <= n;
        for (std::size_t k = 1; valid && k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Reject overlong forms, surrogates and values beyond U+10FFFF so the
        // round trip stays exact.
        if (valid && ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))
                      || (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out.push_back(static_cast<char16_t>(0xDC00 + c));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

std::string utf16ToPath(const std::u16string& name)
{
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        char32_t cp = name[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (name[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xDC80 && cp <= 0xDCFF) {
            out.push_back(static_cast<char>(cp - 0xDC00));  // a byte kept from a non-UTF-8 name
            continue;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

TFileStreamW::TFileStreamW(const std::u16string& fileName, std::uint16_t mode) : m_fileName(fileName)
{
    const std::string path = utf16ToPath(fileName);
    if (mode == fmCreate) {
        m_handle = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (m_handle < 0)
            throw KorvalaError(streamCannotCreateFileText(path, errno));
        return;
    }
    static const int access[3] = {O_RDONLY, O_WRONLY, O_RDWR};
    const int accessIndex = mode & 3;
    if (accessIndex > 2)
        throw KorvalaError(streamCannotOpenFileText(path, EINVAL));
    m_handle = ::open(path.c_str(), access[accessIndex] | O_CLOEXEC | O_NOCTTY);
    if (m_handle < 0)
        throw KorvalaError(streamCannotOpenFileText(path, errno));
    // A folder is not a file stream (reading it would only fail later).
    struct stat st;
    if (::fstat(m_handle, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(m_handle);
        m_handle = -1;
        throw KorvalaError(streamCannotOpenFileText(path, EISDIR));
    }
}

TFileStreamW::~TFileStreamW()
{
    if (m_handle >= 0)
        ::close(m_handle);
}

std::size_t TFileStreamW::Read(void* buffer, std::size_t count)
{
    for (;;) {
        const ssize_t n = ::read(m_handle, buffer, count);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            throw KorvalaError(cannotReadFileText(utf16ToPath(m_fileName), errno));
    }
}

std::size_t TFileStreamW::Write(const void* buffer, std::size_t count)
{
    const auto* p = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_handle, p + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw KorvalaError("Cannot write file \"" + expandedPath(utf16ToPath(m_fileName)) + "\". "
                               + std::string(std::strerror(errno)));
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::int64_t TFileStreamW::Seek(std::int64_t offset, int origin)
{
    const int whence = origin == soFromCurrent ? SEEK_CUR : origin == soFromEnd ? SEEK_END : SEEK_SET;
    return ::lseek(m_handle, offset, whence);
}

std::int64_t TFileStreamW::Position()
{
    return ::lseek(m_handle, 0, SEEK_CUR);
}

std::int64_t TFileStreamW::Size()
{
    struct stat st;
    if (::fstat(m_handle, &st) != 0)
        return -1;
    return st.st_size;
}

}  // namespace korvala
