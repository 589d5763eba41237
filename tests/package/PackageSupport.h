#pragma once
// What the package tests share: where the sources, the build and the programs
// are, and the checks that need a tool of the desktop's own.

#include <string>
#include <vector>

namespace korvala::test {

std::string sourcePath(const std::string& rel);
std::string buildPath(const std::string& rel);
const std::string& programPath();

// Every file below root, as paths relative to it, sorted.
std::vector<std::string> filesBelow(const std::string& root);

}  // namespace korvala::test
