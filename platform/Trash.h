#pragma once
// The user's trash (the Recycle Bin of the pages): files moved there can be
// restored by any desktop's file manager. Errors: see platform/SystemError.h.
//
// A file goes to the home trash when it is on the file system of the user's
// data folder ($XDG_DATA_HOME/Trash), else to the trash of its own volume
// ($topdir/.Trash/$uid or $topdir/.Trash-$uid), with the ".trashinfo" record
// that lets it be put back (its original path percent-encoded, so any name
// survives). A file that cannot be moved to a trash is never deleted instead.

#include <string>
#include <system_error>

namespace korvala {

// Moves `path` (a file; a final symbolic link is moved itself, not its target)
// into the trash. Empty on success only, that is when the file is no longer
// under its name and a trash holds it: ENOTSUP when its file system has no
// trash that could be used, EROFS for a read-only mount, ENOENT, EACCES, or
// EIO for anything else.
std::error_code moveToTrash(const std::string& path);

}  // namespace korvala
