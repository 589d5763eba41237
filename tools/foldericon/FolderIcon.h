#pragma once
// The Folder Icon Changer's engine: a folder's icon and tooltip kept in its
// desktop.ini (section ".ShellClassInfo"), the way Windows machines reading
// the folder through a share expect it, with the attributes they look for;
// and the same icon for Linux file managers where the icon is a local file.

#include <optional>
#include <string>
#include <vector>

namespace korvala {

inline constexpr const char* kShellClassInfo = ".ShellClassInfo";

struct TFolderIconSettings {
    std::string iconLocation;
    int iconIndex = 0;
    std::string infoTip;
};

// The folder's desktop.ini settings; the defaults when it has none.
TFolderIconSettings LoadFolderIconSettings(const std::string& folder);

// Writes the customisation. With `copyIcon` and a location ending in ".ico"
// (any case) the icon is copied into the folder (never over a file already
// there) and stored by its name alone. A tooltip (the single folder form)
// also removes "IconResource" and writes "InfoTip"; without one (the batch
// form) both are left alone. Afterwards the icon in the folder is hidden,
// desktop.ini hidden and system, the folder system only. Raises "Unable to
// write to %s" (desktop.ini's path) when desktop.ini cannot be written; the
// steps after it are not done.
void ApplyFolderIcon(const std::string& folder, const std::string& location, int index, bool copyIcon,
    const std::optional<std::string>& infoTip);

// Deletes the folder's desktop.ini; whether there was one. The Linux file
// managers' icon entries this tool added are removed too.
bool ResetFolderIcon(const std::string& folder);

// Whether the folder has a desktop.ini.
bool HasFolderSettings(const std::string& folder);

// The file whose icon the preview shows: the location itself when it is a
// full path (or holds a colon, as a Windows location does), else the location
// inside the folder (one stored relative to the folder).
std::string IconPreviewSource(const std::string& location, const std::string& folder);

// Tells file managers to read the folders again (their modification time set
// to now).
void RefreshShellIcons(const std::vector<std::string>& folders);

}  // namespace korvala
