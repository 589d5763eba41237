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

}  // namespace korvala::cli
