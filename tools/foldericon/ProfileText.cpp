#include "tools/foldericon/ProfileText.h"

#include <algorithm>

#include "platform/TextFold.h"

namespace korvala {
namespace {

constexpr size_t kValueLimit = 2047;

std::string lowerAscii(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string trimmed(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t'))
        ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t'))
        --b;
    return s.substr(a, b - a);
}

// "[name]" (blanks around it allowed): the name.
bool sectionOf(const std::string& line, std::string& name)
{
    const std::string t = trimmed(line);
    if (t.size() < 2 || t.front() != '[')
        return false;
    const size_t close = t.find(']');
    if (close == std::string::npos)
        return false;
    name = t.substr(1, close - 1);
    return true;
}

// "key=value": the key, trimmed.
bool keyOf(const std::string& line, std::string& key)
{
    const std::string t = trimmed(line);
    if (t.empty() || t[0] == ';')
        return false;
    const size_t eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    key = trimmed(line.substr(0, eq));
    return true;
}

// The text after the byte order mark; an unpaired surrogate becomes U+FFFD,
// which the caller's round trip then notices.
std::string utf16ToUtf8(const std::string& bytes)
{
    std::string out;
    auto unit = [&](size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string utf8ToUtf16Bytes(const std::string& text)
{
    std::string out = "\xFF\xFE";
    for (char16_t u : utf8ToUtf16(text)) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    }
    return out;
}

}  // namespace

TProfileText::TProfileText(const std::string& stored)
{
    std::string text = stored;
    // UTF-16 (little endian, as the system writes it) is read through UTF-8
    // when it converts back to the same bytes; otherwise the bytes are kept.
    if (stored.size() >= 2 && stored.size() % 2 == 0 && static_cast<unsigned char>(stored[0]) == 0xFF &&
        static_cast<unsigned char>(stored[1]) == 0xFE) {
        const std::string utf8 = utf16ToUtf8(stored);
        if (utf8ToUtf16Bytes(utf8) == stored) {
            text = utf8;
            m_utf16 = true;
        }
    }
    size_t from = 0;
    while (from < text.size()) {
        const size_t nl = text.find('\n', from);
        if (nl == std::string::npos) {
            m_lines.push_back({text.substr(from), ""});
            break;
        }
        const bool cr = nl > from && text[nl - 1] == '\r';
        m_lines.push_back({text.substr(from, nl - from - (cr ? 1 : 0)), cr ? "\r\n" : "\n"});
        from = nl + 1;
    }
}

std::string TProfileText::newLineEnd() const
{
    for (const Line& l : m_lines)
        if (!l.end.empty())
            return l.end;
    return "\r\n";
}

size_t TProfileText::findSection(const std::string& section) const
{
    const std::string wanted = lowerAscii(section);
    std::string name;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        std::string text = m_lines[i].text;
        // A byte order mark of UTF-8 in front of the first line is not part of it.
        if (i == 0 && text.starts_with("\xEF\xBB\xBF"))
            text.erase(0, 3);
        if (sectionOf(text, name) && lowerAscii(trimmed(name)) == wanted)
            return i;
    }
    return std::string::npos;
}

size_t TProfileText::sectionEnd(size_t header) const
{
    std::string name;
    size_t i = header + 1;
    while (i < m_lines.size() && !sectionOf(m_lines[i].text, name))
        ++i;
    return i;
}

size_t TProfileText::findKey(size_t header, const std::string& key) const
{
    const std::string wanted = lowerAscii(key);
    const size_t end = sectionEnd(header);
    std::string name;
    for (size_t i = header + 1; i < end; ++i)
        if (keyOf(m_lines[i].text, name) && lowerAscii(name) == wanted)
            return i;
    return std::string::npos;
}

std::optional<std::string> TProfileText::read(const std::string& section, const std::string& key) const
{
    const size_t header = findSection(section);
    if (header == std::string::npos)
        return std::nullopt;
    const size_t at = findKey(header, key);
    if (at == std::string::npos)
        return std::nullopt;
    const std::string& line = m_lines[at].text;
    std::string value = trimmed(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') || (value.front() == '\'' && value.back() == '\'')))
        value = value.substr(1, value.size() - 2);
    if (value.size() > kValueLimit)
        value.resize(kValueLimit);
    return value;
}

void TProfileText::write(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string end = newLineEnd();
    size_t header = findSection(section);
    if (header == std::string::npos) {
        // The section goes at the end, after a line end for a last line without one.
        if (!m_lines.empty() && m_lines.back().end.empty())
            m_lines.back().end = end;
        m_lines.push_back({"[" + section + "]", end});
        m_lines.push_back({key + "=" + value, end});
        return;
    }
    if (const size_t at = findKey(header, key); at != std::string::npos) {
        // The key keeps its own spelling and the blanks in front of it.
        std::string& line = m_lines[at].text;
        line = line.substr(0, line.find('=') + 1) + value;
        return;
    }
    // After the section's last line that is not blank.
    size_t insertAt = sectionEnd(header);
    while (insertAt > header + 1 && trimmed(m_lines[insertAt - 1].text).empty())
        --insertAt;
    if (m_lines[insertAt - 1].end.empty())
        m_lines[insertAt - 1].end = end;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), Line{key + "=" + value, end});
}

void TProfileText::remove(const std::string& section, const std::string& key)
{
    const size_t header = findSection(section);
    if (header == std::string::npos)
        return;
    if (const size_t at = findKey(header, key); at != std::string::npos)
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(at));
}

bool TProfileText::sectionHasKeys(const std::string& section) const
{
    const size_t header = findSection(section);
    if (header == std::string::npos)
        return false;
    std::string name;
    for (size_t i = header + 1; i < sectionEnd(header); ++i)
        if (keyOf(m_lines[i].text, name))
            return true;
    return false;
}

std::string TProfileText::bytes() const
{
    std::string text;
    for (const Line& l : m_lines)
        text += l.text + l.end;
    return m_utf16 ? utf8ToUtf16Bytes(text) : text;
}

}  // namespace korvala
