#pragma once
// TFileStreamW: a file stream opened by a UTF-16 name, and the conversions
// between UTF-16 names and the byte paths of the system.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/File.h"

namespace korvala {

// Byte path to UTF-16. Bytes that are not valid UTF-8 become the code points
// U+DC80..U+DCFF, so that utf16ToPath gives back the very same bytes.
std::u16string pathToUtf16(const std::string& path);
std::string utf16ToPath(const std::u16string& name);

// Open modes: access in the low two bits, sharing in bits 4 to 7, or fmCreate.
inline constexpr std::uint16_t fmCreate = 0xFFFF;
inline constexpr std::uint16_t fmOpenRead = 0x0000;
inline constexpr std::uint16_t fmOpenWrite = 0x0001;
inline constexpr std::uint16_t fmOpenReadWrite = 0x0002;
inline constexpr std::uint16_t fmShareExclusive = 0x0010;
inline constexpr std::uint16_t fmShareDenyWrite = 0x0020;
inline constexpr std::uint16_t fmShareDenyRead = 0x0030;
inline constexpr std::uint16_t fmShareDenyNone = 0x0040;

// Seek origins.
inline constexpr int soFromBeginning = 0;
inline constexpr int soFromCurrent = 1;
inline constexpr int soFromEnd = 2;

class TFileStreamW {
public:
    // Opens (or with fmCreate creates and truncates) the file. Failure throws
    // KorvalaError "TFileStreamW: Cannot open file \"%s\". %s" or
    // "TFileStreamW: Cannot create file \"%s\". %s"; a folder, FIFO, socket or
    // device is such a failure (a stream is over a regular file). The sharing
    // bits of `mode` have no counterpart here: this system has no sharing modes
    // that refuse other readers or writers, so they are accepted and not enforced.
    TFileStreamW(const std::u16string& fileName, std::uint16_t mode);
    ~TFileStreamW();
    TFileStreamW(const TFileStreamW&) = delete;
    TFileStreamW& operator=(const TFileStreamW&) = delete;

    const std::u16string& FileName() const { return m_fileName; }
    // The open file, for readers that go through platform/File.h.
    TFile& File() { return m_file; }

    // Bytes read (0 at the end of the file); a failing read throws KorvalaError.
    std::size_t Read(void* buffer, std::size_t count);
    // Bytes written; a failing write throws KorvalaError.
    std::size_t Write(const void* buffer, std::size_t count);
    // New position; origin is soFromBeginning, soFromCurrent or soFromEnd. These
    // three give -1 when the system refuses, as the stream's callers expect.
    std::int64_t Seek(std::int64_t offset, int origin);
    std::int64_t Position();
    std::int64_t Size();

private:
    std::u16string m_fileName;
    TFile m_file;
};

}  // namespace korvala
