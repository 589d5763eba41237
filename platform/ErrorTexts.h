#pragma once
// Every text the program builds from an error, in one place, so that the same
// failure reads the same wherever it surfaces. The engines throw KorvalaError with
// these texts or hand them to the window; see platform/SystemError.h for how
// codes reach them. A path in a text is the expanded one (absolutePath).

#include <string>
#include <system_error>

namespace korvala {

// "System Error.  Code: %d.\r\n%s": the error number and the system's text.
std::string systemErrorText(int errnum);
std::string systemErrorText(const std::error_code& ec);

// "Cannot open file \"%s\". %s"
std::string cannotOpenFileText(const std::string& path, const std::error_code& ec);
// "Cannot read file \"%s\". %s": a read that fails after the file was opened.
std::string cannotReadFileText(const std::string& path, const std::error_code& ec);
// "Cannot write file \"%s\". %s"
std::string cannotWriteFileText(const std::string& path, const std::error_code& ec);
// "Cannot create file \"%s\". %s": a file the program writes (a part of a
// split, a joined file, a script) could not be made.
std::string cannotCreateFileText(const std::string& path, const std::error_code& ec);
// The file stream's forms: "TFileStreamW: Cannot open file \"%s\". %s" and
// "TFileStreamW: Cannot create file \"%s\". %s".
std::string streamCannotOpenFileText(const std::string& path, const std::error_code& ec);
std::string streamCannotCreateFileText(const std::string& path, const std::error_code& ec);

// "List index out of bounds (%d)": a run reached an entry that the user
// removed from its list meanwhile.
std::string listIndexOutOfBoundsText(int position);

// "Cannot write the output. %s": the command line's results could not be
// written (a full disk, a closed pipe).
std::string cannotWriteOutputText(int errnum);

// "Invalid data type for '%s'": a per-user setting holds another kind of value.
std::string invalidSettingTypeText(const std::string& valueName);

// A calendar date or a time of day that does not exist.
inline constexpr const char* kDateEncodeErrorText = "Invalid argument to date encode";
inline constexpr const char* kTimeEncodeErrorText = "Invalid argument to time encode";

// "Cannot assign a %s to a %s": criteria of one class given to another.
std::string cannotAssignText(const std::string& sourceClass, const std::string& targetClass);

}  // namespace korvala
