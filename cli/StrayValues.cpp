#include "StrayValues.h"

#include <CLI/CLI.hpp>

namespace korvala::cli {

void refuseStrayValues(const std::string& option, const std::vector<std::string>& paths,
    const std::function<bool(std::string_view key)>& isKey)
{
    for (const std::string& path : paths) {
        const auto eq = path.find('=');
        if (eq == std::string::npos || !isKey(std::string_view(path).substr(0, eq)))
            continue;
        throw CLI::ValidationError(option,
            "\"" + path + "\" is a value of " + option + ", which takes one value each time: give " + option +
                " before each value (a path of that name: ./" + path + ")");
    }
}

void refuseStrayWords(const std::string& options, const std::vector<std::string>& paths,
    const std::vector<std::string_view>& words)
{
    for (const std::string& path : paths)
        for (std::string_view word : words)
            if (path == word)
                throw CLI::ValidationError(options,
                    "\"" + path + "\" is a value of " + options + ", which take one value each: give the option "
                        "before each value (a path of that name: ./" + path + ")");
}

}  // namespace korvala::cli
