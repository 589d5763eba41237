#pragma once
// The folder icon for Linux file managers, beside desktop.ini: KDE's
// ".directory" ([Desktop Entry] Icon=) and, where GVfs keeps metadata, the
// folder's "metadata::custom-icon". An icon inside a program or library is
// saved as a PNG under $XDG_DATA_HOME/korvala/icons/ for them to point to.

#include <string>

namespace korvala {

// The icon file `iconFile` (index `index` of a program or library) as the
// folder's icon; nothing when it is not an existing local file.
void applyLinuxFolderIcon(const std::string& folder, const std::string& iconFile, int index);

// Removes what applyLinuxFolderIcon added for the folder.
void removeLinuxFolderIcon(const std::string& folder);

// Where the icon saved for `folder` goes (without its extension).
std::string savedIconBase(const std::string& folder);

}  // namespace korvala
