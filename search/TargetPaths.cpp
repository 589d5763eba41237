#include "search/TargetPaths.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/Paths.h"
#include "search/Wildcard.h"

namespace korvala {

int TTargetPaths::IndexOf(std::string_view folder) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i]->Folder == folder)
            return static_cast<int>(i);
    return -1;
}

TTargetPath& TTargetPaths::Add(const std::string& folder)
{
    m_items.push_back(std::make_unique<TTargetPath>());
    m_items.back()->Folder = folder;
    return *m_items.back();
}

namespace {

// A level text: an integer (optional sign), stored as a 16-bit unsigned value.
// Text that is not an integer leaves the level as it was.
void parseLevel(std::string_view text, uint16_t& level)
{
    std::string t(trimText(text));
    if (t.empty())
        return;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(t.c_str(), &end, 10);
    // The whole text must be the number: strtol stops at a NUL inside it too.
    if (errno != 0 || end != t.c_str() + t.size() || v < INT_MIN || v > INT_MAX)
        return;
    level = static_cast<uint16_t>(v);
}

}  // namespace

std::string_view ParseTargetPrefix(std::string_view item, bool& subfolders, uint16_t& minLevel, uint16_t& maxLevel)
{
    std::string_view rest = item;
    size_t gt = item.find('>');
    if (gt != std::string_view::npos) {
        std::string_view prefix = trimText(item.substr(0, gt));
        rest = item.substr(gt + 1);
        subfolders = true;
        if (!prefix.empty()) {
            size_t dash = prefix.find('-');
            if (dash != std::string_view::npos) {
                parseLevel(prefix.substr(0, dash), minLevel);
                parseLevel(prefix.substr(dash + 1), maxLevel);
            } else {
                parseLevel(prefix, maxLevel);
                minLevel = 0;
            }
        }
    } else {
        size_t lt = item.find('<');
        if (lt != std::string_view::npos) {
            rest = item.substr(lt + 1);
            subfolders = false;
        }
    }
    return trimText(rest);
}

std::string TargetFolderOf(std::string_view folder)
{
    std::string full = absolutePath(folder);
    if (full.back() != '/')
        full += '/';
    return full;
}

std::string ParseTargetFolder(std::string_view item, bool& subfolders, uint16_t& minLevel, uint16_t& maxLevel)
{
    return TargetFolderOf(ParseTargetPrefix(item, subfolders, minLevel, maxLevel));
}

}  // namespace korvala
