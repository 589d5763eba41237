// The trash through GIO, which implements the freedesktop.org trash
// specification (the record's percent-encoding, the volume trash folders and
// their permission checks) the way the desktops' file managers read it.

#include "platform/Trash.h"

#include <cerrno>

#include <gio/gio.h>

#include "platform/SystemError.h"

namespace korvala {
namespace {

std::error_code errorOf(const GError* error)
{
    if (!error || error->domain != G_IO_ERROR)
        return systemError(EIO);
    switch (error->code) {
    case G_IO_ERROR_NOT_FOUND:
        return systemError(ENOENT);
    case G_IO_ERROR_PERMISSION_DENIED:
        return systemError(EACCES);
    case G_IO_ERROR_READ_ONLY:
        return systemError(EROFS);
    case G_IO_ERROR_NOT_SUPPORTED:
        return systemError(ENOTSUP);
    case G_IO_ERROR_NO_SPACE:
        return systemError(ENOSPC);
    case G_IO_ERROR_FILENAME_TOO_LONG:
        return systemError(ENAMETOOLONG);
    default:
        return systemError(EIO);
    }
}

}  // namespace

std::error_code moveToTrash(const std::string& path)
{
    // GIO takes the name as bytes: names that are not valid UTF-8 are kept.
    GFile* file = g_file_new_for_path(path.c_str());
    GError* error = nullptr;
    const gboolean moved = g_file_trash(file, nullptr, &error);
    g_object_unref(file);
    if (moved)
        return {};
    const std::error_code code = errorOf(error);
    g_clear_error(&error);
    return code;
}

}  // namespace korvala
