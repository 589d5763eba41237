#pragma once
// The roots of a search: each a folder with the masks listed in it and how deep
// the walk goes below it. Nothing here throws or fails: text that is not a level
// leaves the level as it was.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Paths.h"  // absolutePath, which the search's callers use with the targets

namespace korvala {

struct TTargetPath {
    std::string Folder;              // absolute, always ending in "/"
    std::vector<std::string> Masks;  // in order; duplicates stay
    bool Subfolders = true;
    uint16_t MinLevel = 0;
    uint16_t MaxLevel = 0;
};

// A root folder named exactly: its name is never read for a level prefix nor
// cut at ";", so any folder name can be a root. A relative folder is made
// absolute against the working folder when the targets are built.
struct TRootFolder {
    std::string Folder;
    bool Subfolders = true;
    uint16_t MinLevel = 0;
    uint16_t MaxLevel = 0;

    bool operator==(const TRootFolder&) const = default;
};

// An ordered list that owns its targets. Folders are looked up byte for byte:
// two folders whose names differ only in case are two folders here.
class TTargetPaths {
public:
    size_t Count() const { return m_items.size(); }
    TTargetPath& operator[](size_t i) { return *m_items[i]; }
    const TTargetPath& operator[](size_t i) const { return *m_items[i]; }
    // Index of the target with this folder, or -1.
    int IndexOf(std::string_view folder) const;
    TTargetPath& Add(const std::string& folder);
    void Delete(size_t i) { m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i)); }
    void Clear() { m_items.clear(); }

private:
    std::vector<std::unique_ptr<TTargetPath>> m_items;
};

// The prefix part of the target-folder syntax: sets the recursion values from
// a prefix "N>", "MIN-MAX>", ">" or "<" and returns the trimmed folder text
// after it (the whole item, trimmed, when it has no prefix).
std::string_view ParseTargetPrefix(std::string_view item, bool& subfolders, uint16_t& minLevel, uint16_t& maxLevel);

// The folder as a target holds it: absolute against the working folder, with a
// trailing "/". Nothing in it is parsed or trimmed.
std::string TargetFolderOf(std::string_view folder);

// The target-folder syntax of one location item: an optional prefix "N>",
// "MIN-MAX>", ">" (sub-folders on, levels as given) or "<" (sub-folders off)
// before a folder, which is made absolute against the current folder and given
// a trailing "/". The recursion values start from the ones passed in.
std::string ParseTargetFolder(std::string_view item, bool& subfolders, uint16_t& minLevel, uint16_t& maxLevel);

}  // namespace korvala
