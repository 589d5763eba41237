#pragma once
// Full paths: what a relative path names from the working folder.
// Errors: see platform/SystemError.h.

#include <string>
#include <string_view>
#include <system_error>

namespace korvala {

// The path made absolute against the working folder, with "." and ".."
// components and repeated "/" removed by name (links are not looked at: "a/.."
// is the working folder even when "a" is a link). A path that ends in "/" (or in
// "." or "..", which name a folder) keeps one trailing "/", so "/tmp/x/" stays
// "/tmp/x/" and "/tmp/x/.." gives "/tmp/"; the root is "/". An empty path gives
// the working folder.
std::string absolutePath(std::string_view path);

// The working folder; "/" when it cannot be found (it was removed).
std::string currentFolder();
std::error_code currentFolder(std::string& folder);

// The user's home folder: $HOME when set, else the one the user database
// gives; empty when neither is known.
std::string homeFolder();

// The user's private folder for the files the program writes for itself (the
// scripts, the update check's file): $XDG_RUNTIME_DIR/korvala, else
// ${TMPDIR:-/tmp}/korvala-UID. Not made here: see ensurePrivateFolder of
// platform/File.h, which also refuses one that another user owns.
std::string userPrivateFolder();

}  // namespace korvala
