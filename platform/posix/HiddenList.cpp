// The ".hidden" file on POSIX: read without following a link or waiting on a
// FIFO, written through a temporary file and a rename (platform/File.h).

#include "platform/HiddenList.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/File.h"
#include "platform/SystemError.h"

namespace korvala {
namespace {

TOpenOptions listOptions()
{
    TOpenOptions o;
    o.regularOnly = true;  // a FIFO fails at once instead of blocking the open
    o.noFollow = true;     // a link is not a list, and is never written through
    return o;
}

// Reads the opened list whole, refusing one that is too big to be a list.
std::error_code readOpened(TFile& file, std::string& contents, struct stat* status)
{
    struct stat st{};
    if (::fstat(file.descriptor(), &st) != 0)
        return systemError(errno);
    if (static_cast<uint64_t>(st.st_size) > kHiddenListMaxSize)
        return systemError(EFBIG);
    // One byte more than the size: a list that grew meanwhile is still noticed.
    std::string buffer(static_cast<size_t>(st.st_size) + 1, '\0');
    size_t got = 0;
    if (const std::error_code ec = file.readFull(buffer.data(), buffer.size(), got))
        return ec;
    if (got > kHiddenListMaxSize)
        return systemError(EFBIG);
    buffer.resize(got);
    contents = std::move(buffer);
    if (status)
        *status = st;
    return {};
}

std::error_code readList(const std::string& folder, std::string& contents, struct stat* status)
{
    TFile file;
    if (const std::error_code ec = file.open(folder + "/" + kHiddenListName, listOptions()))
        return ec;
    return readOpened(file, contents, status);
}

// Makes the list of `folder` hold `contents`: removed when it names nothing,
// else written whole under a temporary name and renamed over the old one
// (keeping its mode and owner).
std::error_code writeList(const std::string& folder, const std::string& contents)
{
    const std::string path = folder + "/" + kHiddenListName;
    if (hiddenListIsEmpty(contents)) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            return systemError(errno);
        return {};
    }
    return replaceWholeFile(path, contents);
}

}  // namespace

std::error_code readHiddenListAt(int folderFd, std::string& contents)
{
    contents.clear();
    TFile file;
    if (const std::error_code ec = file.openAt(folderFd, kHiddenListName, listOptions()))
        return ec;
    return readOpened(file, contents, nullptr);
}

std::error_code readHiddenList(const std::string& folder, std::string& contents)
{
    contents.clear();
    return readList(folder, contents, nullptr);
}

bool isListedHidden(const std::string& folder, const std::string& name)
{
    std::string contents;
    return !readHiddenList(folder, contents) && hiddenListHas(contents, name);
}

std::error_code changeHiddenList(const std::string& folder, const std::string& name, bool listed,
    THiddenListUndo& undo)
{
    undo = THiddenListUndo{};
    std::string contents;
    struct stat st{};
    const std::error_code ec = readList(folder, contents, &st);
    if (ec && ec != std::errc::no_such_file_or_directory) {
        // Something that is not a list lists no names: there is nothing to
        // remove from it, and it is never replaced by one.
        return listed ? ec : std::error_code{};
    }
    const bool existed = !ec;
    if (hiddenListHas(contents, name) == listed)
        return {};
    const std::string updated = listed ? hiddenListWith(contents, name) : hiddenListWithout(contents, name);
    if (const std::error_code written = writeList(folder, updated))
        return written;
    undo.changed = true;
    undo.existed = existed;
    undo.previous = std::move(contents);
    return {};
}

std::error_code undoHiddenList(const std::string& folder, const THiddenListUndo& undo)
{
    if (!undo.changed)
        return {};
    if (!undo.existed) {
        const std::string path = folder + "/" + kHiddenListName;
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            return systemError(errno);
        return {};
    }
    return writeList(folder, undo.previous);
}

}  // namespace korvala
