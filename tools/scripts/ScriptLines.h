#pragma once
// The shell lines of Take Ownership and the Protector, one per listed item.
// Every path is written single-quoted after "--", so that no byte of a name
// (quotes, "$(...)", a newline, a leading dash) is read as anything but the
// name; the user is "$(id -un)", found when the script runs. A listed item
// that is a symbolic link is skipped with a line saying so: the tools change
// what was listed, never what a link points to.

#include <string>

namespace korvala {

// The path as one single-quoted shell word ("'" written as "'\''").
std::string shellQuoted(const std::string& path);

// The group that administers the machine: "sudo" on Debian, "wheel" where
// there is no "sudo" group.
std::string administratorsGroup();

// The item owned by the user (its group the user's), and the administrators
// given full access through its access list.
std::string takeOwnershipLine(const std::string& path, const std::string& adminGroup);
// The user's own access taken away (the owner's permission bits when the user
// owns it, else a denying access-list entry), then the item made immutable.
std::string protectLine(const std::string& path);
// Immutability removed, then the user given full access again.
std::string unprotectLine(const std::string& path);

}  // namespace korvala
