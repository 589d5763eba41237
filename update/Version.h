#pragma once
// Comparing dotted version texts such as "2016.8" and "2016.8.1".

#include <string_view>

namespace korvala {

// True when `latest` is newer than `current`. Both are compared on their
// first three dot-separated numbers (major, minor, release): a missing part
// counts as 0, a part that is not a decimal integer counts as 0, a fourth and
// later part is ignored. An empty text on either side gives false.
bool IsNewerVersion(std::string_view current, std::string_view latest);

}  // namespace korvala
