#include "platform/FileTimes.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/posix/AttributeStore.h"
#include "platform/posix/OwnerWrite.h"

// Times are those of the file a path names: a symbolic link is followed, as opening
// the path would follow it.

namespace korvala {

namespace {

timespec toTimespec(const statx_timestamp& t)
{
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(t.tv_sec);
    ts.tv_nsec = static_cast<long>(t.tv_nsec);
    return ts;
}

bool earlier(const timespec& a, const timespec& b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

bool sameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::error_code statPath(const std::string& path, struct statx& stx)
{
    if (path.empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0)
        return {errno, std::generic_category()};
    return {};
}

FileTimes timesOf(const std::string& path, const struct statx& stx, const posix::AttributeStore& store)
{
    FileTimes times;
    times.modified = toTimespec(stx.stx_mtime);
    times.accessed = toTimespec(stx.stx_atime);
    if (auto kept = store.readCreationTime(path, true)) {
        times.created = *kept;
    } else if ((stx.stx_mask & STATX_BTIME) && (stx.stx_btime.tv_sec != 0 || stx.stx_btime.tv_nsec != 0)) {
        times.created = toTimespec(stx.stx_btime);
    } else {
        // No birth time: the earlier of modification and change time, as SMB servers report it.
        const timespec changed = toTimespec(stx.stx_ctime);
        times.created = earlier(changed, times.modified) ? changed : times.modified;
    }
    return times;
}

}  // namespace

std::error_code readFileTimes(const std::string& path, FileTimes& times)
{
    struct statx stx{};
    if (auto ec = statPath(path, stx))
        return ec;
    times = timesOf(path, stx, posix::attributeStoreFor(path, true));
    return {};
}

std::error_code writeFileTimes(const std::string& path, const std::optional<timespec>& created,
    const std::optional<timespec>& modified, const std::optional<timespec>& accessed)
{
    struct statx stx{};
    if (auto ec = statPath(path, stx))
        return ec;

    // The creation time's store is checked before anything is written: a file
    // system that keeps none refuses a different value.
    const posix::AttributeStore* store = nullptr;
    if (created) {
        store = &posix::attributeStoreFor(path, true);
        if (!store->keepsCreationTime()) {
            if (!sameTime(timesOf(path, stx, *store).created, *created))
                return std::make_error_code(std::errc::not_supported);
            store = nullptr;  // the same value: nothing to write
        }
    }

    // utimensat first: it refuses a caller who does not own the item (EPERM)
    // before the creation time is written, so such a caller changes nothing.
    const bool stamps = modified || accessed;
    if (stamps) {
        timespec values[2];
        values[0] = accessed ? *accessed : timespec{0, UTIME_OMIT};
        values[1] = modified ? *modified : timespec{0, UTIME_OMIT};
        if (::utimensat(AT_FDCWD, path.c_str(), values, 0) != 0)
            return {errno, std::generic_category()};
    }

    if (store) {
        struct stat st{};
        std::error_code ec;
        if (::stat(path.c_str(), &st) != 0)
            ec = {errno, std::generic_category()};
        else
            ec = posix::withOwnerWrite(path, st, static_cast<mode_t>(-1),
                [&] { return store->writeCreationTime(path, true, *created); });
        if (ec) {
            // Put back the two stamps written above: all or nothing.
            if (stamps) {
                const timespec previous[2] = {toTimespec(stx.stx_atime), toTimespec(stx.stx_mtime)};
                (void)::utimensat(AT_FDCWD, path.c_str(), previous, 0);
            }
            return ec;
        }
    }
    return {};
}

}  // namespace korvala
