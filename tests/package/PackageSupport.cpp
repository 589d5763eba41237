#include "PackageSupport.h"

#include <algorithm>
#include <filesystem>

namespace korvala::test {

std::string sourcePath(const std::string& rel)
{
    return std::string(KORVALA_SOURCE_DIR) + "/" + rel;
}

std::string buildPath(const std::string& rel)
{
    return std::string(KORVALA_BINARY_DIR) + "/" + rel;
}

const std::string& programPath()
{
    static const std::string path = KORVALA_PROGRAM;
    return path;
}

std::vector<std::string> filesBelow(const std::string& root)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (!entry.is_directory())
            files.push_back(std::filesystem::relative(entry.path(), root).string());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace korvala::test
