#pragma once
// An INI ("profile") file edited the way the desktop.ini of a folder is: every
// line the edit does not touch is kept byte for byte, an existing key is
// updated in place, a new key goes at the end of its section, a missing
// section is added at the end of the file; sections and keys are matched
// without regard to case (ASCII). A file in UTF-16 (with its byte order mark)
// is read and written in UTF-16; new lines take the line end of the file (CRLF
// for a new file).

#include <optional>
#include <string>
#include <vector>

namespace korvala {

class TProfileText {
public:
    // The file's bytes as stored.
    explicit TProfileText(const std::string& bytes = {});

    // The value of the key (blanks around it and one pair of enclosing quotes
    // removed, cut at 2047 characters), or nothing when the key is missing.
    std::optional<std::string> read(const std::string& section, const std::string& key) const;
    void write(const std::string& section, const std::string& key, const std::string& value);
    // Removes the key's line; nothing when it is missing.
    void remove(const std::string& section, const std::string& key);
    // Whether the section has any key left.
    bool sectionHasKeys(const std::string& section) const;

    // The bytes to store.
    std::string bytes() const;

private:
    struct Line {
        std::string text;  // without its line end, UTF-8 (or the file's own bytes)
        std::string end;   // "\r\n", "\n" or "" (the last line of a file without a final line end)
    };
    // Index of the section header line, or npos.
    size_t findSection(const std::string& section) const;
    // Index one past the section's last line.
    size_t sectionEnd(size_t header) const;
    size_t findKey(size_t header, const std::string& key) const;
    std::string newLineEnd() const;

    std::vector<Line> m_lines;
    bool m_utf16 = false;
};

}  // namespace korvala
