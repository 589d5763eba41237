#pragma once
// The update information file: an INI text with one section per product,
// read the way the program's INI files are read everywhere. Plain C++ on
// purpose: the file comes from a server, so the reader takes bytes and
// never interprets them (no escapes, no lists, no typed values).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvala {

// The update file of a server can be no bigger than this; a larger one is
// not an update file (and is not kept).
inline constexpr uint64_t kUpdateFileLimit = 1024 * 1024;

class TIniFile {
public:
    struct TEntry {
        std::string section;
        std::string key;
        std::string value;
    };

    TIniFile() = default;

    // Parses INI text: "[section]" lines start a section, "key=value" lines
    // belong to the last section. Names and values lose the blanks around
    // them, a value one pair of enclosing double quotes. Lines starting with
    // ';' or '#', lines without '=', keys before the first section and
    // section lines without their ']' are passed over. Line ends may be
    // "\n", "\r\n" or "\r"; a leading UTF-8 byte order mark is skipped.
    static TIniFile parse(std::string_view text);

    // Reads the file at path. A missing file, one that cannot be read, a
    // folder, a FIFO or a device, and a file above kUpdateFileLimit read as
    // an empty INI file, so every value then has its default.
    static TIniFile load(const std::string& path);

    // The value of key in section, both matched without regard to ASCII
    // case; the first one wins when a key is repeated, and a repeated
    // section counts as one. An empty value is a value.
    std::string readString(std::string_view section, std::string_view key, const std::string& fallback) const;

    const std::vector<TEntry>& entries() const { return m_entries; }

private:
    std::vector<TEntry> m_entries;
};

}  // namespace korvala
