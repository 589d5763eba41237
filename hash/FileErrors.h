#pragma once
// Texts of the errors raised when a digest cannot read its file.

#include <string>

namespace korvala {

// The full path the user would see: relative paths are made absolute against
// the working folder and "." and ".." are resolved by name (links are kept).
std::string expandedPath(const std::string& path);

// "Cannot open file \"<expanded path>\". <system message>"
std::string cannotOpenFileText(const std::string& path, int errnum);
// "TFileStreamW: Cannot open file \"<expanded path>\". <system message>"
std::string streamCannotOpenFileText(const std::string& path, int errnum);
// "TFileStreamW: Cannot create file \"<expanded path>\". <system message>"
std::string streamCannotCreateFileText(const std::string& path, int errnum);
// "Cannot read file \"<expanded path>\". <system message>": a read that fails
// after the file was opened.
std::string cannotReadFileText(const std::string& path, int errnum);

}  // namespace korvala
