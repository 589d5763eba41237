#pragma once
// Whole files, test data and raw extended attributes for the tests.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvala::test {

// The bytes of a file; fails the running test (naming the path and the error)
// when it cannot be read.
std::string readFile(const std::string& path);
// Replaces the file's contents; fails the running test when it cannot.
void writeFile(const std::string& path, const std::string& bytes);

// The lines of a program's output, without their line feeds (a last line
// without one counts too).
std::vector<std::string> splitLines(const std::string& text);

// `size` bytes from a fixed pseudo-random sequence (same seed, same bytes).
std::string randomBytes(std::size_t size, std::uint32_t seed);

// The raw bytes of an extended attribute of the entry itself (links not
// followed), or "<absent>".
std::string rawXattr(const std::string& path, const char* name);
// Sets one; fails the running test when it cannot.
void setRawXattr(const std::string& path, const char* name, const std::string& value);

}  // namespace korvala::test
