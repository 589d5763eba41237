#include "search/FileCriteria.h"

#include "search/Wildcard.h"

namespace korvala {

void TFileCriteria::Assign(const TCustomCriteria& source)
{
    const auto& s = sourceAs<TFileCriteria>(source);
    if (&s == this)
        return;
    setFileName(s.m_fileName);
    setLocation(s.m_location);
    setFolders(s.m_folders);
    setPaths(s.m_paths);
    setSubfolders(s.m_subfolders);
    setMinLevel(s.m_minLevel);
    setMaxLevel(s.m_maxLevel);
    m_filters = s.m_filters;
}

void TFileCriteria::Clear()
{
    m_fileName.clear();
    m_location.clear();
    m_folders.clear();
    m_paths.clear();
    m_filters.clear();
    m_subfolders = true;
    m_minLevel = 0;
    m_maxLevel = 0;
    discardTargets();
}

void TFileCriteria::setFileName(const std::string& value)
{
    if (value != m_fileName) {
        m_fileName = value;
        discardTargets();
    }
}

void TFileCriteria::setLocation(const std::string& value)
{
    if (value != m_location) {
        m_location = value;
        discardTargets();
    }
}

void TFileCriteria::setFolders(const std::vector<TRootFolder>& value)
{
    if (value != m_folders) {
        m_folders = value;
        discardTargets();
    }
}

void TFileCriteria::setPaths(const std::vector<std::string>& value)
{
    if (value != m_paths) {
        m_paths = value;
        discardTargets();
    }
}

void TFileCriteria::addPath(const std::string& value)
{
    m_paths.push_back(value);
    discardTargets();
}

void TFileCriteria::setSubfolders(bool value)
{
    if (value != m_subfolders) {
        m_subfolders = value;
        discardTargets();
    }
}

void TFileCriteria::setMinLevel(uint16_t value)
{
    if (value != m_minLevel) {
        m_minLevel = value;
        discardTargets();
    }
}

void TFileCriteria::setMaxLevel(uint16_t value)
{
    if (value != m_maxLevel) {
        m_maxLevel = value;
        discardTargets();
    }
}

const TTargetPaths& TFileCriteria::TargetPaths() const
{
    if (m_targets)
        return *m_targets;
    auto targets = std::make_unique<TTargetPaths>();
    std::vector<std::string> masks = SplitList(m_fileName);
    if (masks.empty())
        masks.push_back("*.*");

    auto placeRoot = [&](const TRootFolder& root) -> TTargetPath& {
        int at = targets->IndexOf(root.Folder);
        TTargetPath& t = at >= 0 ? (*targets)[static_cast<size_t>(at)] : targets->Add(root.Folder);
        t.Subfolders = root.Subfolders;
        t.MinLevel = root.MinLevel;
        t.MaxLevel = root.MaxLevel;
        return t;
    };
    auto place = [&](std::string_view folderItem) -> TTargetPath& {
        TRootFolder root{{}, m_subfolders, m_minLevel, m_maxLevel};
        root.Folder = ParseTargetFolder(folderItem, root.Subfolders, root.MinLevel, root.MaxLevel);
        return placeRoot(root);
    };

    for (const std::string& item : SplitFolderList(m_location)) {
        TTargetPath& t = place(item);
        t.Masks.insert(t.Masks.end(), masks.begin(), masks.end());
    }
    for (const TRootFolder& given : m_folders) {
        // An empty name names no folder (made absolute it would be the working
        // folder).
        if (given.Folder.empty())
            continue;
        TRootFolder root = given;
        root.Folder = TargetFolderOf(given.Folder);
        TTargetPath& t = placeRoot(root);
        t.Masks.insert(t.Masks.end(), masks.begin(), masks.end());
    }
    for (const std::string& entry : m_paths) {
        std::string_view path = trimText(entry);
        if (path.empty())
            continue;
        size_t slash = path.rfind('/');
        std::string_view folderPart = slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash + 1);
        std::string_view namePart = slash == std::string_view::npos ? path : path.substr(slash + 1);
        TTargetPath& t = place(folderPart);
        t.Masks.emplace_back(namePart.empty() ? std::string_view("*.*") : namePart);
    }
    m_targets = std::move(targets);
    return *m_targets;
}

bool TFileCriteria::Matches(std::string_view folder, std::string_view name) const
{
    if (m_filters.empty())
        return true;
    std::string full;
    full.reserve(folder.size() + name.size() + 1);
    full += folder;
    full += name;
    if (name.find('.') == std::string_view::npos)
        full += '.';
    for (const std::string& filter : m_filters) {
        std::string_view f = filter;
        if (!f.empty() && f.front() == '>') {
            if (WildcardMatch(full, f.substr(1)))
                return true;
            continue;
        }
        if (!f.empty() && f.front() == '<')
            f.remove_prefix(1);
        if (WildcardMatch(full, f))
            return false;
    }
    return true;
}

}  // namespace korvala
