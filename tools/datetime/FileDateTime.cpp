#include "tools/datetime/FileDateTime.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "platform/ErrorTexts.h"
#include "platform/File.h"
#include "platform/FileAttributes.h"
#include "platform/FileTimes.h"
#include "platform/KorvalaError.h"

namespace korvala {
namespace {

// A file system that cannot hold a value clamps it silently to its own range;
// anything further off than this from what was written was not stored. The
// margin leaves room for coarse stamps (a last-access date without a time).
constexpr time_t kStoreTolerance = 2 * 86400;

std::optional<FileTimes> readTimes(const std::string& path)
{
    FileTimes times;
    if (readFileTimes(path, times))
        return std::nullopt;
    return times;
}

const timespec& stampOf(const FileTimes& times, FileTimeKind kind)
{
    switch (kind) {
    case FileTimeKind::fkCreated:
        return times.created;
    case FileTimeKind::fkModified:
        return times.modified;
    case FileTimeKind::fkAccessed:
        break;
    }
    return times.accessed;
}

bool heldAsWritten(const timespec& wanted, const timespec& stored)
{
    return std::llabs(static_cast<long long>(wanted.tv_sec) - stored.tv_sec) <= kStoreTolerance;
}

// Stands for opening the path for reading and writing without sharing: it must
// exist, be readable and writable, and a file must not carry the read-only
// attribute (which denies writing even to administrators). Folders open with
// the read-only attribute set.
std::error_code checkOpenForReadWrite(const std::string& path)
{
    TFileStatus status;
    if (const std::error_code ec = pathStatus(path, true, status))
        return ec;
    if (!status.isDirectory()) {
        uint32_t word = 0;
        if (!readFileAttributes(path, word) && (word & FILE_ATTRIBUTE_READONLY))
            return systemError(EACCES);
    }
    return checkAccess(path, acRead | acWrite);
}

std::optional<TDateTime> readOne(const std::string& path, FileTimeKind kind)
{
    const auto times = readTimes(path);
    if (!times)
        return std::nullopt;
    return FileTimeToUtcDateTime(stampOf(*times, kind));
}

}  // namespace

TDateTime FileTimeToUtcDateTime(const timespec& utc)
{
    timespec ms = utc;
    ms.tv_nsec -= ms.tv_nsec % 1000000;
    return timespecToUtcDateTime(ms);
}

DateTimeParts DateTimeToParts(TDateTime value)
{
    DateTimeParts p;
    decodeDate(value, p.year, p.month, p.day);
    decodeTime(value, p.hour, p.minute, p.second, p.millisecond);
    return p;
}

std::optional<TDateTime> GetFileCreatedTime(const std::string& path)
{
    return readOne(path, FileTimeKind::fkCreated);
}

std::optional<TDateTime> GetFileModifiedTime(const std::string& path)
{
    return readOne(path, FileTimeKind::fkModified);
}

std::optional<TDateTime> GetFileAccessedTime(const std::string& path)
{
    return readOne(path, FileTimeKind::fkAccessed);
}

TDateTime UTCToLocalDateTime(TDateTime utc)
{
    return timespecToLocalDateTime(utcDateTimeToTimespec(utc));
}

void SetFileDateTime(const std::string& path, FileTimeKind kind, TDateTime utc)
{
    // The value is taken to the millisecond, as a calendar time holds it.
    timespec ts = utcDateTimeToTimespec(utc);
    const long ms = (ts.tv_nsec + 500000) / 1000000;
    ts.tv_sec += ms / 1000;
    ts.tv_nsec = (ms % 1000) * 1000000;
    SetFileDateTime(path, kind, ts);
}

void SetFileDateTime(const std::string& path, FileTimeKind kind, const timespec& utc)
{
    std::optional<timespec> created, modified, accessed;
    switch (kind) {
    case FileTimeKind::fkCreated:
        created = utc;
        break;
    case FileTimeKind::fkModified:
        modified = utc;
        break;
    case FileTimeKind::fkAccessed:
        accessed = utc;
        break;
    default:
        return;
    }
    const auto previous = readTimes(path);
    if (const std::error_code ec = writeFileTimes(path, created, modified, accessed))
        throw KorvalaError(systemErrorText(ec));
    const auto stored = readTimes(path);
    if (stored && !heldAsWritten(utc, stampOf(*stored, kind))) {
        // Put back what was there rather than leave a clamped value behind.
        if (previous) {
            const timespec old = stampOf(*previous, kind);
            (void)writeFileTimes(path, created ? std::optional(old) : std::nullopt,
                modified ? std::optional(old) : std::nullopt, accessed ? std::optional(old) : std::nullopt);
        }
        throw KorvalaError(systemErrorText(EOVERFLOW));
    }
}

std::optional<timespec> LocalDateTimeToFileTime(const DateTimeParts& local)
{
    const auto dos = ToDosDateTime(local);
    if (!dos)
        return std::nullopt;
    const auto p = FromDosDateTime(*dos);
    if (!p)
        return std::nullopt;
    timespec ts =
        localDateTimeToTimespec(encodeDate(p->year, p->month, p->day) + encodeTime(p->hour, p->minute, p->second, 0));
    // DOS values are whole seconds; the floating-point detour may land a hair
    // on either side.
    if (ts.tv_nsec >= 500000000)
        ++ts.tv_sec;
    ts.tv_nsec = 0;
    return ts;
}

std::optional<timespec> LocalDateTimeToFileTime(TDateTime local)
{
    return LocalDateTimeToFileTime(DateTimeToParts(local));
}

std::error_code SetAllFileDateTimes(const std::string& path, TDateTime created,
    TDateTime accessed, TDateTime modified)
{
    return SetAllFileDateTimes(
        path, DateTimeToParts(created), DateTimeToParts(accessed), DateTimeToParts(modified));
}

std::error_code SetAllFileDateTimes(const std::string& path, const DateTimeParts& created,
    const DateTimeParts& accessed, const DateTimeParts& modified)
{
    return SetFileDateTimes(path, created, accessed, modified);
}

std::error_code SetFileDateTimes(const std::string& path, const std::optional<DateTimeParts>& created,
    const std::optional<DateTimeParts>& accessed, const std::optional<DateTimeParts>& modified)
{
    if (!created && !accessed && !modified)
        return {};
    if (const std::error_code ec = checkOpenForReadWrite(path))
        return ec;
    // Every given value is converted before anything is written, so a value
    // without a DOS form leaves the item untouched.
    std::optional<timespec> c, a, m;
    for (auto [given, converted] : {std::pair{&created, &c}, std::pair{&accessed, &a}, std::pair{&modified, &m}}) {
        if (!*given)
            continue;
        *converted = LocalDateTimeToFileTime(**given);
        if (!*converted)
            return systemError(EOVERFLOW);
    }
    const auto previous = readTimes(path);
    if (const std::error_code ec = writeFileTimes(path, c, m, a))
        return ec;
    const auto stored = readTimes(path);
    const auto held = [](const std::optional<timespec>& written, const timespec& now) {
        return !written || heldAsWritten(*written, now);
    };
    if (stored && (!held(c, stored->created) || !held(m, stored->modified) || !held(a, stored->accessed))) {
        if (previous)
            (void)writeFileTimes(path, c ? std::optional(previous->created) : std::nullopt,
                m ? std::optional(previous->modified) : std::nullopt,
                a ? std::optional(previous->accessed) : std::nullopt);
        return systemError(EOVERFLOW);
    }
    return {};
}

}  // namespace korvala
