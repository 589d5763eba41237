#include "platform/ErrorTexts.h"

#include "platform/Paths.h"

namespace korvala {
namespace {

// The path as the user would see it: expanded, and a folder named "." or
// "dir/" without the trailing "/" the expansion keeps (the root stays "/").
// An empty path stays empty rather than turn into the working folder.
std::string shownPath(const std::string& path)
{
    if (path.empty())
        return path;
    std::string shown = absolutePath(path);
    while (shown.size() > 1 && shown.back() == '/')
        shown.pop_back();
    return shown;
}

std::string fileErrorText(const char* prefix, const char* what, const std::string& path, const std::error_code& ec)
{
    return std::string(prefix) + "Cannot " + what + " file \"" + shownPath(path) + "\". " + ec.message();
}

}  // namespace

std::string systemErrorText(int errnum)
{
    return systemErrorText(std::error_code(errnum, std::generic_category()));
}

std::string systemErrorText(const std::error_code& ec)
{
    // The platform's own codes give the number of the errno value they stand for.
    const int number = ec.category() == std::generic_category() ? ec.value() : ec.default_error_condition().value();
    return "System Error.  Code: " + std::to_string(number) + ".\r\n" + ec.message();
}

std::string cannotOpenFileText(const std::string& path, const std::error_code& ec)
{
    return fileErrorText("", "open", path, ec);
}

std::string cannotReadFileText(const std::string& path, const std::error_code& ec)
{
    return fileErrorText("", "read", path, ec);
}

std::string cannotWriteFileText(const std::string& path, const std::error_code& ec)
{
    return fileErrorText("", "write", path, ec);
}

std::string cannotCreateFileText(const std::string& path, const std::error_code& ec)
{
    return fileErrorText("", "create", path, ec);
}

std::string streamCannotOpenFileText(const std::string& path, const std::error_code& ec)
{
    return fileErrorText("TFileStreamW: ", "open", path, ec);
}

std::string streamCannotCreateFileText(const std::string& path, const std::error_code& ec)
{
    return fileErrorText("TFileStreamW: ", "create", path, ec);
}

std::string cannotAssignText(const std::string& sourceClass, const std::string& targetClass)
{
    return "Cannot assign a " + sourceClass + " to a " + targetClass;
}

std::string listIndexOutOfBoundsText(int position)
{
    return "List index out of bounds (" + std::to_string(position) + ")";
}

std::string cannotWriteOutputText(int errnum)
{
    return "Cannot write the output. " + std::error_code(errnum, std::generic_category()).message();
}

std::string invalidSettingTypeText(const std::string& valueName)
{
    return "Invalid data type for '" + valueName + "'";
}

}  // namespace korvala
