#include "tools/sharing/ShareListing.h"

#include <algorithm>

#include "tools/sharing/SambaCommands.h"

namespace korvala {
namespace {

const char kNotStarted[] = "The Server service is not started.";
const char kCompleted[] = "The command completed successfully.";

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t from = 0;
    while (from <= text.size()) {
        const size_t nl = text.find('\n', from);
        const size_t end = nl == std::string::npos ? text.size() : nl;
        std::string line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        if (nl == std::string::npos)
            break;
        from = nl + 1;
    }
    return lines;
}

// White space and control characters, as the trim of the listing removes them.
bool isTrimmed(unsigned char c)
{
    return c <= ' ';
}

std::string trim(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && isTrimmed(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && isTrimmed(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

// A section header "[name]": the name between the first "[" and the last "]".
bool sectionName(const std::string& line, std::string& name)
{
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return false;
    name = line.substr(1, line.size() - 2);
    return true;
}

// "key=value" (usershare files) or "key = value" (testparm), any indentation.
bool keyValue(const std::string& line, std::string& key, std::string& value)
{
    const size_t eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    key = trim(line.substr(0, eq));
    value = line.substr(eq + 1);
    if (!value.empty() && value.front() == ' ')
        value.erase(0, 1);
    return true;
}

template <typename Accept>
std::vector<TShareEntry> parseSections(const std::string& text, Accept accept)
{
    std::vector<TShareEntry> shares;
    bool inShare = false;
    for (const std::string& line : splitLines(text)) {
        std::string name, key, value;
        if (sectionName(trim(line), name)) {
            inShare = accept(name);
            if (inShare)
                shares.push_back({name, {}, {}});
            continue;
        }
        if (!inShare || !keyValue(line, key, value))
            continue;
        if (key == "path")
            shares.back().folder = value;
        else if (key == "comment")
            shares.back().comment = value;
    }
    return shares;
}

void appendPadded(std::string& out, const std::string& text, size_t width, size_t indent)
{
    out += text;
    if (text.size() < width) {
        out.append(width - text.size(), ' ');
    } else {
        out += '\n';
        out.append(indent + width, ' ');
    }
}

}  // namespace

std::vector<TShareEntry> parseUsershareInfo(const std::string& text)
{
    return parseSections(text, [](const std::string&) { return true; });
}

std::vector<TShareEntry> parseConfiguredShares(const std::string& text)
{
    return parseSections(text, [](const std::string& name) {
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        return lower != "global";
    });
}

std::string shareTable(const std::vector<TShareEntry>& shares)
{
    constexpr size_t NameWidth = 13, FolderWidth = 32;
    std::string out = "Share name   Resource                        Remark\n\n";
    out += std::string(79, '-') + "\n";
    for (const TShareEntry& s : shares) {
        appendPadded(out, s.name, NameWidth, 0);
        appendPadded(out, s.folder, FolderWidth, NameWidth);
        out += s.comment;
        while (!out.empty() && out.back() == ' ')
            out.pop_back();
        out += '\n';
    }
    return out;
}

std::string shareListingText()
{
    if (!samba::serverRunning())
        return kNotStarted;
    std::vector<TShareEntry> shares =
        parseConfiguredShares(samba::run("testparm", {"-s", "--suppress-prompt"}).output);
    const std::vector<TShareEntry> users = parseUsershareInfo(samba::run("net", {"usershare", "info"}).output);
    shares.insert(shares.end(), users.begin(), users.end());
    return shareTable(shares);
}

std::string formatShareListing(const std::string& output)
{
    std::string text = trim(output);
    std::vector<std::string> lines = splitLines(text);
    if (!lines.empty() && lines.back() == kCompleted)
        lines.pop_back();
    // A line break in front of the rest (the empty first line), then one
    // blank in front of every line.
    std::string memo = " ";
    for (const std::string& line : lines)
        memo += "\n " + line;
    if (lines.empty())
        memo += "\n ";
    if (memo.find(kNotStarted) != std::string::npos)
        return kNotStarted;
    return memo;
}

std::string GetShareInfo()
{
    return formatShareListing(shareListingText());
}

}  // namespace korvala

