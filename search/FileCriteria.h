#pragma once
// Where a search looks (name masks, root folders, levels) and which full paths
// the filters let through. Nothing here fails; Assign throws as every criteria
// class does (search/CustomCriteria.h).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "search/CustomCriteria.h"
#include "search/TargetPaths.h"

namespace korvala {

class TFileCriteria : public TCustomCriteria {
public:
    TFileCriteria() = default;
    TFileCriteria(const TFileCriteria& other) : TCustomCriteria() { Assign(other); }
    TFileCriteria& operator=(const TFileCriteria& other)
    {
        Assign(other);
        return *this;
    }

    void Assign(const TCustomCriteria& source) override;
    void Clear() override;
    const char* ClassName() const override { return "TFileCriteria"; }

    // Name masks separated by ";".
    const std::string& FileName() const { return m_fileName; }
    void setFileName(const std::string& value);
    // Root folders separated by ";", each with an optional level prefix.
    const std::string& Location() const { return m_location; }
    void setLocation(const std::string& value);
    // Roots named exactly, each with its own recursion values and the masks of
    // FileName; their targets follow those of Location (an empty name is
    // skipped). This is how a folder whose name holds ">", "<", ";" or blanks
    // at its ends is searched.
    const std::vector<TRootFolder>& Folders() const { return m_folders; }
    void setFolders(const std::vector<TRootFolder>& value);
    // Further roots, each a folder and one mask in one path ("/data/*.txt").
    const std::vector<std::string>& Paths() const { return m_paths; }
    void setPaths(const std::vector<std::string>& value);
    void addPath(const std::string& value);
    bool Subfolders() const { return m_subfolders; }
    void setSubfolders(bool value);
    uint16_t MinLevel() const { return m_minLevel; }
    void setMinLevel(uint16_t value);
    uint16_t MaxLevel() const { return m_maxLevel; }
    void setMaxLevel(uint16_t value);
    // Accept (">pattern") and exclude ("pattern" or "<pattern") patterns over
    // full paths, tried in order. Changing them keeps the target cache.
    const std::vector<std::string>& Filters() const { return m_filters; }
    std::vector<std::string>& Filters() { return m_filters; }

    // The targets built from the properties, cached until the next change.
    const TTargetPaths& TargetPaths() const;
    // True while a built target list is cached (for tests of the cache rules).
    bool hasCachedTargets() const { return m_targets != nullptr; }

    // The filters test on Folder + Name.
    bool Matches(std::string_view folder, std::string_view name) const;

private:
    void discardTargets() { m_targets.reset(); }

    std::string m_fileName;
    std::string m_location;
    std::vector<TRootFolder> m_folders;
    std::vector<std::string> m_paths;
    bool m_subfolders = true;
    uint16_t m_minLevel = 0;
    uint16_t m_maxLevel = 0;
    std::vector<std::string> m_filters;
    mutable std::unique_ptr<TTargetPaths> m_targets;
};

}  // namespace korvala
