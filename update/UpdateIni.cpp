#include "update/UpdateIni.h"

#include "platform/File.h"

namespace korvala {
namespace {

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

}  // namespace

TIniFile TIniFile::parse(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    TIniFile ini;
    std::string section;
    bool inSection = false;
    while (!text.empty()) {
        const size_t end = text.find_first_of("\r\n");
        std::string_view line = trimmed(text.substr(0, end));
        if (end == std::string_view::npos) {
            text = {};
        } else {
            const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            text.remove_prefix(end + (crlf ? 2 : 1));
        }
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            if (close == std::string_view::npos)
                continue;
            section = std::string(trimmed(line.substr(1, close - 1)));
            inSection = true;
            continue;
        }
        const size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        std::string_view value = trimmed(line.substr(equals + 1));
        if (key.empty())
            continue;
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        ini.m_entries.push_back({section, std::string(key), std::string(value)});
    }
    return ini;
}

TIniFile TIniFile::load(const std::string& path)
{
    TFile file;
    TOpenOptions options;
    options.regularOnly = true;
    if (file.open(path, options))
        return {};
    uint64_t size = 0;
    if (file.size(size) || size > kUpdateFileLimit)
        return {};
    std::string text(static_cast<size_t>(size), '\0');
    size_t got = 0;
    if (file.readFull(text.data(), text.size(), got))
        return {};
    text.resize(got);
    return parse(text);
}

std::string TIniFile::readString(std::string_view section, std::string_view key, const std::string& fallback) const
{
    for (const TEntry& entry : m_entries)
        if (sameName(entry.section, section) && sameName(entry.key, key))
            return entry.value;
    return fallback;
}

}  // namespace korvala
