#pragma once
// Pattern matching and list splitting of the search criteria.

#include <string>
#include <string_view>
#include <vector>

namespace korvala {

// Matches Text against Pattern without regard to case: "?" one character,
// "*" any run. A "?" that follows a "*", or stands at the end of the pattern
// when the text is used up, may match nothing ("ab" matches "ab?", "a*?b"
// matches "ab").
bool WildcardMatch(std::string_view text, std::string_view pattern);

// Cuts the text at every ";", trims each piece (characters up to and including
// the blank), drops empty pieces and pieces equal, without regard to case, to an
// earlier one; keeps the order.
std::vector<std::string> SplitList(std::string_view text);

// As SplitList, but pieces are compared with regard to case: folders on this
// platform's file systems differ when their names differ in case.
std::vector<std::string> SplitFolderList(std::string_view text);

// Removes characters up to and including the blank from both ends.
std::string_view trimText(std::string_view text);

}  // namespace korvala
