#include "Files.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include <sys/xattr.h>

#include <gtest/gtest.h>

namespace korvala::test {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path << ": " << std::strerror(errno);
        return {};
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        ADD_FAILURE() << "cannot write " << path << ": " << std::strerror(errno);
}

std::string randomBytes(std::size_t size, std::uint32_t seed)
{
    std::mt19937_64 engine(seed);
    std::string bytes(size, '\0');
    std::size_t i = 0;
    while (i + 8 <= size) {
        const std::uint64_t v = engine();
        std::memcpy(&bytes[i], &v, 8);
        i += 8;
    }
    while (i < size)
        bytes[i++] = static_cast<char>(engine());
    return bytes;
}

std::string rawXattr(const std::string& path, const char* name)
{
    char buffer[512];
    const ssize_t n = ::lgetxattr(path.c_str(), name, buffer, sizeof buffer);
    return n < 0 ? std::string("<absent>") : std::string(buffer, static_cast<size_t>(n));
}

void setRawXattr(const std::string& path, const char* name, const std::string& value)
{
    if (::lsetxattr(path.c_str(), name, value.data(), value.size(), 0) != 0)
        ADD_FAILURE() << "cannot set " << name << " on " << path << ": " << std::strerror(errno);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        out.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return out;
}

}  // namespace korvala::test
