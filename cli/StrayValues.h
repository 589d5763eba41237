#pragma once
// Options such as `seek --attr` and `times --set` take one KEY=VALUE each
// time they are given, so in `seek --attr Hidden=ignore System=ignore DIR`
// the second word is taken as a path, and the run would search a folder
// named "System=ignore" (or change DIR and fail on the word later). A path
// that has the form of such a value is refused as bad usage before anything
// is touched; a file or folder of that name is still reached as ./KEY=VALUE.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvala::cli {

// Throws CLI::ValidationError naming `option` when a word of `paths` is
// KEY=... with a KEY that `isKey` accepts.
void refuseStrayValues(const std::string& option, const std::vector<std::string>& paths,
    const std::function<bool(std::string_view key)>& isKey);

// The same for options whose value is a bare word (`attrib --hidden set`):
// in `attrib --hidden set clear DIR` the word "clear" is taken as a path.
// Throws CLI::ValidationError when a word of `paths` is one of `words`.
void refuseStrayWords(const std::string& options, const std::vector<std::string>& paths,
    const std::vector<std::string_view>& words);

}  // namespace korvala::cli
