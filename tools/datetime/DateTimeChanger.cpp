#include "tools/datetime/DateTimeChanger.h"

#include <iterator>

#include "platform/File.h"
#include "platform/FileTimes.h"
#include "platform/KorvalaError.h"
#include "tools/datetime/FileDateTime.h"

namespace korvala {
namespace {

// The current local value of a stamp with the picker's parts put in place;
// nothing for a stamp with neither part chosen, which is left exactly as it is.
std::optional<DateTimeParts> chosenParts(const timespec& stored, const NewTimeChoice& choice)
{
    if (!choice.date && !choice.timeOfDay)
        return std::nullopt;
    DateTimeParts parts = DateTimeToParts(UTCToLocalDateTime(FileTimeToUtcDateTime(stored)));
    if (choice.date) {
        const DateTimeParts d = DateTimeToParts(*choice.date);
        parts.year = d.year;
        parts.month = d.month;
        parts.day = d.day;
    }
    if (choice.timeOfDay) {
        const DateTimeParts t = DateTimeToParts(*choice.timeOfDay);
        parts.hour = t.hour;
        parts.minute = t.minute;
        parts.second = t.second;
        parts.millisecond = t.millisecond;
    }
    return parts;
}

DateTimeParts localParts(const timespec& utc)
{
    return DateTimeToParts(UTCToLocalDateTime(FileTimeToUtcDateTime(utc)));
}

}  // namespace

std::error_code SetBySpecifiedDateTime(const std::string& path, const NewTimeChoice& created,
    const NewTimeChoice& modified, const NewTimeChoice& accessed)
{
    // A path whose times cannot be read is reported with the reason itself
    // (missing, no permission, a loop of links).
    FileTimes stored;
    if (const std::error_code ec = readFileTimes(path, stored))
        return ec;
    return SetFileDateTimes(path, chosenParts(stored.created, created), chosenParts(stored.accessed, accessed),
        chosenParts(stored.modified, modified));
}

std::error_code SetByAge(const std::string& path, const DateTimeOffsets& created,
    const DateTimeOffsets& modified, const DateTimeOffsets& accessed)
{
    FileTimes stored;
    if (const std::error_code ec = readFileTimes(path, stored))
        return ec;
    // All three are moved before anything is written, so a value out of the
    // calendar leaves the item untouched.
    const timespec newCreated = ShiftByAge(stored.created, created);
    const timespec newModified = ShiftByAge(stored.modified, modified);
    const timespec newAccessed = ShiftByAge(stored.accessed, accessed);

    TFileStatus status;
    if (!pathStatus(path, true, status) && status.isDirectory())
        return SetAllFileDateTimes(
            path, localParts(newCreated), localParts(newAccessed), localParts(newModified));

    // A stamp whose row is all zeros is not written at all: rewriting it could
    // only lose precision (a creation time kept in 100 ns steps by the store
    // while the birth time had nanoseconds) or fail where no store exists.
    // The stamps are written one after the other; when one fails, those
    // written before it are put back, so the file is left as it was, and the
    // error goes on to end the run.
    const struct {
        bool move;
        FileTimeKind kind;
        timespec value, before;
    } steps[] = {
        {!created.isZero(), FileTimeKind::fkCreated, newCreated, stored.created},
        {!modified.isZero(), FileTimeKind::fkModified, newModified, stored.modified},
        {!accessed.isZero(), FileTimeKind::fkAccessed, newAccessed, stored.accessed},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        if (!steps[i].move)
            continue;
        try {
            SetFileDateTime(path, steps[i].kind, steps[i].value);
        } catch (const KorvalaError&) {
            for (size_t done = 0; done < i; ++done)
                if (steps[done].move) {
                    try {
                        SetFileDateTime(path, steps[done].kind, steps[done].before);
                    } catch (const KorvalaError&) {
                        // The first failure is the one to report.
                    }
                }
            throw;
        }
    }
    return {};
}

}  // namespace korvala
