#pragma once
// The names in a folder and whether a name is there, for tests that check
// what a run left behind (temporary files included).

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvala::test {

// The folder's entries but "." and "..", sorted; empty when it cannot be read.
inline std::vector<std::string> entryNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// Whether something stands under path (a link itself counts, followed or not).
inline bool pathExists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace korvala::test
