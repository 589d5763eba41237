#pragma once
// Internal to the platform layer: user.* extended attributes of a regular file can be
// written only with write permission, so writes to the store of a read-only file add
// the owner's write permission for the moment of the write.

#include <string>
#include <system_error>

#include <sys/stat.h>

namespace korvala::posix {

// Runs `write` with owner write permission on a regular file that lacks it, then
// gives the file `finalMode` (its own mode when finalMode is -1). When `write` fails
// the file gets its original mode back.
template <typename Write>
std::error_code withOwnerWrite(const std::string& path, const struct stat& st, mode_t finalMode, Write write)
{
    const mode_t original = st.st_mode & 07777;
    const bool regular = S_ISREG(st.st_mode);
    mode_t current = original;
    if (regular && !(original & S_IWUSR)) {
        if (::chmod(path.c_str(), original | S_IWUSR) != 0)
            return {errno, std::generic_category()};
        current = original | S_IWUSR;
    }
    const std::error_code ec = write();
    const mode_t target = ec ? original : (finalMode == static_cast<mode_t>(-1) ? original : finalMode);
    if (regular && target != current && ::chmod(path.c_str(), target) != 0 && !ec)
        return {errno, std::generic_category()};
    return ec;
}

}  // namespace korvala::posix
