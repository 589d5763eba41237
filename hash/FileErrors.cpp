#include "hash/FileErrors.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace korvala {

std::string expandedPath(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(path), ec);
    if (ec)
        return path;
    return full.lexically_normal().string();
}

namespace {
std::string fileErrorText(const char* prefix, const char* what, const std::string& path, int errnum)
{
    return std::string(prefix) + "Cannot " + what + " file \"" + expandedPath(path) + "\". " + std::strerror(errnum);
}
}  // namespace

std::string cannotOpenFileText(const std::string& path, int errnum)
{
    return fileErrorText("", "open", path, errnum);
}

std::string streamCannotOpenFileText(const std::string& path, int errnum)
{
    return fileErrorText("TFileStreamW: ", "open", path, errnum);
}

std::string streamCannotCreateFileText(const std::string& path, int errnum)
{
    return fileErrorText("TFileStreamW: ", "create", path, errnum);
}

std::string cannotReadFileText(const std::string& path, int errnum)
{
    return fileErrorText("", "read", path, errnum);
}

}  // namespace korvala
