#include "hash/FileStreamW.h"

#include <cerrno>

#include "platform/ErrorTexts.h"
#include "platform/KorvalaError.h"
#include "platform/TextFold.h"

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
        appendUtf8(out, cp);
    }
    return out;
}

TFileStreamW::TFileStreamW(const std::u16string& fileName, std::uint16_t mode) : m_fileName(fileName)
{
    const std::string path = utf16ToPath(fileName);
    // A stream is over a regular file: a FIFO or device would make the open or
    // the first read wait for ever, and a folder has no contents.
    TOpenOptions options;
    options.regularOnly = true;
    if (mode == fmCreate) {
        options.access = TFileAccess::ReadWrite;
        options.create = true;
        options.truncate = true;
        if (const std::error_code ec = m_file.open(path, options))
            throw KorvalaError(streamCannotCreateFileText(path, ec));
        return;
    }
    static const TFileAccess access[3] = {TFileAccess::Read, TFileAccess::Write, TFileAccess::ReadWrite};
    const int accessIndex = mode & 3;
    if (accessIndex > 2)
        throw KorvalaError(streamCannotOpenFileText(path, systemError(EINVAL)));
    options.access = access[accessIndex];
    // Reading a stream does not change the file's access time.
    options.keepAccessTime = options.access == TFileAccess::Read;
    if (const std::error_code ec = m_file.open(path, options))
        throw KorvalaError(streamCannotOpenFileText(path, ec));
}

TFileStreamW::~TFileStreamW() = default;

std::size_t TFileStreamW::Read(void* buffer, std::size_t count)
{
    std::size_t got = 0;
    if (const std::error_code ec = m_file.read(buffer, count, got))
        throw KorvalaError(cannotReadFileText(utf16ToPath(m_fileName), ec));
    return got;
}

std::size_t TFileStreamW::Write(const void* buffer, std::size_t count)
{
    if (const std::error_code ec = m_file.writeAll(buffer, count))
        throw KorvalaError(cannotWriteFileText(utf16ToPath(m_fileName), ec));
    return count;
}

std::int64_t TFileStreamW::Seek(std::int64_t offset, int origin)
{
    const TSeekFrom from = origin == soFromCurrent ? TSeekFrom::Current : origin == soFromEnd ? TSeekFrom::End : TSeekFrom::Begin;
    std::int64_t position = -1;
    if (m_file.seek(offset, from, position))
        return -1;
    return position;
}

std::int64_t TFileStreamW::Position()
{
    return Seek(0, soFromCurrent);
}

std::int64_t TFileStreamW::Size()
{
    std::uint64_t size = 0;
    if (m_file.size(size))
        return -1;
    return static_cast<std::int64_t>(size);
}

}  // namespace korvala
