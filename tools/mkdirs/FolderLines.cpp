#include "tools/mkdirs/FolderLines.h"

#include <cerrno>

#include "platform/File.h"
#include "platform/KorvalaError.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"

namespace korvala {
namespace {

// The path without one trailing "/".
std::string withoutTrailingSlash(std::string path)
{
    if (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

}  // namespace

bool isFolderLine(const std::string& line)
{
    return line.starts_with("/") || line.starts_with("~/");
}

std::string folderOfLine(const std::string& line)
{
    if (!line.starts_with("~/"))
        return line;
    const std::string home = homeFolder();
    if (home.empty())
        return {};
    return withoutTrailingSlash(home) + line.substr(1);
}

bool ForceFolder(const std::string& path, std::error_code& why)
{
    why.clear();
    if (path.empty())
        throw KorvalaError("Unable to create directory");
    // Down from the root one folder at a time, each missing one created on
    // the way: the same folders in the same order as creating the parent
    // first, with each step relative to the folder above it, so that a path
    // of any depth or length costs time in its length.
    if (path.front() != '/') {
        why = systemError(ENOENT);  // a relative path has no root to start from
        return false;
    }
    TFile at;
    if ((why = openFolderAt(kWorkingFolder, "/", at)))
        return false;
    size_t from = 0;
    while (from < path.size()) {
        const size_t slash = path.find('/', from);
        const size_t end = slash == std::string::npos ? path.size() : slash;
        const std::string name = path.substr(from, end - from);
        from = end + 1;
        if (name.empty())
            continue;
        TFile next;
        std::error_code e = openFolderAt(at.descriptor(), name, next);
        if (e == std::errc::no_such_file_or_directory) {
            // Made meanwhile by someone else: a folder is there all the same.
            const std::error_code made = createFolderAt(at.descriptor(), name);
            if (made && made != std::errc::file_exists) {
                why = made;
                return false;
            }
            e = openFolderAt(at.descriptor(), name, next);
        }
        if (e) {
            why = e;
            return false;
        }
        at = std::move(next);
    }
    return true;
}

TFolderLinesResult CreateFolderLines(const std::vector<std::string>& lines)
{
    TFolderLinesResult result;
    std::vector<bool> kept(lines.size(), false);
    for (size_t i = lines.size(); i-- > 0;) {
        const std::string& line = lines[i];
        if (!isFolderLine(line))
            continue;
        kept[i] = true;
        const std::string folder = folderOfLine(line);
        std::error_code why;
        if (folder.empty())
            result.failures.push_back({line, "The home folder is not known."});
        else if (!ForceFolder(folder, why))
            result.failures.push_back({line, why.message()});
    }
    for (size_t i = 0; i < lines.size(); ++i)
        if (kept[i])
            result.lines.push_back(lines[i]);
    return result;
}

std::string folderFailuresText(const std::vector<TFolderFailure>& failures)
{
    std::string text = failures.size() == 1 ? "This folder could not be created:" : "These folders could not be created:";
    for (const TFolderFailure& f : failures)
        text += "\n" + f.line + " : " + f.reason;
    return text;
}

}  // namespace korvala
