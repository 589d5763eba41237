#include "platform/Paths.h"

#include <vector>

namespace korvala {

std::string absolutePath(std::string_view path)
{
    std::string full;
    if (path.empty() || path.front() != '/')
        full = currentFolder();
    if (!path.empty()) {
        full += '/';
        full += path;
    }
    // A last component that is empty, "." or ".." names a folder by its form.
    const std::string_view tail = std::string_view(full).substr(full.rfind('/') + 1);
    const bool endsInFolder = !path.empty() && (tail.empty() || tail == "." || tail == "..");

    std::vector<std::string_view> parts;
    std::string_view rest = full;
    while (!rest.empty()) {
        const size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (std::string_view p : parts) {
        out += '/';
        out += p;
    }
    if (out.empty() || endsInFolder)
        out += '/';
    return out;
}

std::string currentFolder()
{
    std::string folder;
    if (currentFolder(folder))
        return "/";
    return folder;
}

}  // namespace korvala
