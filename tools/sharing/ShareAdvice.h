#pragma once
// One line saying what to do about the usual reasons `net usershare` fails,
// read from what it printed.

#include <string>

namespace korvala {

// Empty when the output shows none of the usual causes.
std::string shareAdvice(const std::string& netOutput);

}  // namespace korvala
