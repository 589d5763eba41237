// The text of a ".hidden" list: one name per line, lines ended by "\n". Lines
// are compared byte for byte (a name may hold any byte but '/' and NUL), and
// lines this program does not touch are kept exactly as they were.

#include "platform/HiddenList.h"

namespace korvala {
namespace {

// Calls `line` with each line of `contents` (without its "\n") and whether it
// had one; stops early when `line` returns false.
template <typename Line>
void forEachLine(std::string_view contents, Line line)
{
    size_t start = 0;
    while (start < contents.size()) {
        const size_t end = contents.find('\n', start);
        const bool ended = end != std::string_view::npos;
        const size_t stop = ended ? end : contents.size();
        if (!line(contents.substr(start, stop - start), ended))
            return;
        start = stop + 1;
    }
}

}  // namespace

bool hiddenListHas(std::string_view contents, std::string_view name)
{
    if (name.empty())
        return false;
    bool found = false;
    forEachLine(contents, [&](std::string_view line, bool) {
        found = line == name;
        return !found;
    });
    return found;
}

std::string hiddenListWith(std::string_view contents, std::string_view name)
{
    std::string out(contents);
    if (name.empty() || hiddenListHas(contents, name))
        return out;
    if (!out.empty() && out.back() != '\n')
        out += '\n';
    out.append(name);
    out += '\n';
    return out;
}

std::string hiddenListWithout(std::string_view contents, std::string_view name)
{
    std::string out;
    out.reserve(contents.size());
    forEachLine(contents, [&](std::string_view line, bool ended) {
        if (line != name) {
            out.append(line);
            if (ended)
                out += '\n';
        }
        return true;
    });
    return out;
}

std::vector<std::string_view> hiddenListNames(std::string_view contents)
{
    std::vector<std::string_view> names;
    forEachLine(contents, [&](std::string_view line, bool) {
        if (!line.empty())
            names.push_back(line);
        return true;
    });
    return names;
}

bool hiddenListIsEmpty(std::string_view contents)
{
    return contents.find_first_not_of('\n') == std::string_view::npos;
}

bool splitListedName(const std::string& path, std::string& folder, std::string& name)
{
    const size_t end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return false;  // empty, or the root
    const size_t slash = path.rfind('/', end);
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    name.assign(path, start, end - start + 1);
    if (name == "." || name == ".." || name.find('\n') != std::string::npos)
        return false;
    if (slash == std::string::npos) {
        folder.assign(1, '.');
    } else {
        const size_t folderEnd = path.find_last_not_of('/', slash);
        if (folderEnd == std::string::npos)
            folder.assign(1, '/');
        else
            folder.assign(path, 0, folderEnd + 1);
    }
    return true;
}

}  // namespace korvala
