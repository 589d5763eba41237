#include "tools/foldericon/FolderIcon.h"

#include <algorithm>
#include <cstdlib>

#include "platform/File.h"
#include "platform/FileAttributes.h"
#include "platform/KorvalaError.h"
#include "tools/foldericon/LinuxFolderIcon.h"
#include "tools/foldericon/ProfileText.h"

namespace korvala {
namespace {

std::string withSlash(const std::string& folder)
{
    return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

std::string settingsPath(const std::string& folder)
{
    return withSlash(folder) + "desktop.ini";
}

constexpr size_t kSettingsLimit = 1u << 20;

enum class ReadResult { Missing, Read, TooLarge };

// desktop.ini is a few lines: a file over 1 MiB is not one to edit (writing
// back only what was read would cut it).
ReadResult readWhole(const std::string& path, std::string& bytes)
{
    bytes.clear();
    TFile file;
    if (file.open(path, TOpenOptions::contentRead()))
        return ReadResult::Missing;
    char buffer[65536];
    size_t got = 0;
    while (!file.read(buffer, sizeof buffer, got) && got > 0) {
        bytes.append(buffer, got);
        if (bytes.size() > kSettingsLimit)
            return ReadResult::TooLarge;
    }
    return ReadResult::Read;
}

// The whole file written. A file the user may not write is refused rather
// than replaced, as the system's profile functions refuse it; the new text
// is saved under a temporary name and renamed over the old one, since writing
// in place would leave it truncated when the disk fills up halfway.
std::error_code writeWhole(const std::string& path, const std::string& bytes)
{
    uint32_t word = 0;
    if (!readFileAttributes(path, word) && (word & FILE_ATTRIBUTE_READONLY))
        return std::make_error_code(std::errc::permission_denied);
    TFileStatus status;
    if (!pathStatus(path, false, status) && status.isRegular())
        if (const std::error_code ec = checkAccess(path, acWrite))
            return ec;
    return replaceWholeFile(path, bytes);
}

// A whole attribute word, as the system call of that name sets it.
void setAttributesTo(const std::string& path, uint32_t word)
{
    (void)changeFileAttributes(path, word, STORED_ATTRIBUTE_MASK & ~word);
}

int profileInt(const std::optional<std::string>& text)
{
    if (!text)
        return 0;
    const std::string& s = *text;
    size_t i = 0;
    const bool negative = i < s.size() && s[i] == '-';
    if (negative || (i < s.size() && s[i] == '+'))
        ++i;
    long long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9' && value < 100000000; ++i)
        value = value * 10 + (s[i] - '0');
    return static_cast<int>(negative ? -value : value);
}

bool endsWithIco(const std::string& location)
{
    if (location.size() < 4)
        return false;
    std::string ext = location.substr(location.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".ico";
}

std::string fileNameOf(const std::string& location)
{
    const size_t slash = location.find_last_of("/\\");
    return slash == std::string::npos ? location : location.substr(slash + 1);
}

// Copies the icon into the folder unless a file of that name is there.
void copyIconInto(const std::string& location, const std::string& target)
{
    TFile from;
    if (from.open(location, TOpenOptions::contentRead()))
        return;
    TOpenOptions o;
    o.access = TFileAccess::Write;
    o.create = true;
    o.exclusive = true;
    o.noFollow = true;
    TFile to;
    if (to.open(target, o))
        return;
    uint64_t copied = 0;
    const bool failed = static_cast<bool>(copyRange(from, to, UINT64_MAX, copied));
    if (to.close() || failed)
        (void)removeFile(target);
}

}  // namespace

TFolderIconSettings LoadFolderIconSettings(const std::string& folder)
{
    TFolderIconSettings settings;
    std::string bytes;
    if (readWhole(settingsPath(folder), bytes) != ReadResult::Read)
        return settings;
    const TProfileText ini(bytes);
    settings.iconLocation = ini.read(kShellClassInfo, "IconFile").value_or("");
    settings.iconIndex = profileInt(ini.read(kShellClassInfo, "IconIndex"));
    settings.infoTip = ini.read(kShellClassInfo, "InfoTip").value_or("");
    return settings;
}

void ApplyFolderIcon(const std::string& folder, const std::string& location, int index, bool copyIcon,
    const std::optional<std::string>& infoTip)
{
    const std::string ini = folder + "/desktop.ini";
    std::string value = location;
    std::string copied;
    if (copyIcon && endsWithIco(location)) {
        value = fileNameOf(location);
        copied = withSlash(folder) + value;
        copyIconInto(location, copied);
        setAttributesTo(copied, FILE_ATTRIBUTE_HIDDEN);
    }
    std::string bytes;
    if (readWhole(ini, bytes) == ReadResult::TooLarge)
        throw KorvalaError("Unable to write to " + ini);
    TProfileText text(bytes);
    if (infoTip)
        text.remove(kShellClassInfo, "IconResource");
    text.write(kShellClassInfo, "IconFile", value);
    text.write(kShellClassInfo, "IconIndex", std::to_string(index));
    if (infoTip)
        text.write(kShellClassInfo, "InfoTip", *infoTip);
    if (writeWhole(ini, text.bytes()))
        throw KorvalaError("Unable to write to " + ini);
    setAttributesTo(ini, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    setAttributesTo(folder, FILE_ATTRIBUTE_SYSTEM);
    applyLinuxFolderIcon(folder, copied.empty() ? IconPreviewSource(location, folder) : copied, index);
}

bool HasFolderSettings(const std::string& folder)
{
    TFileStatus st;
    return !pathStatus(settingsPath(folder), false, st);
}

bool ResetFolderIcon(const std::string& folder)
{
    removeLinuxFolderIcon(folder);
    if (!HasFolderSettings(folder))
        return false;
    (void)removeFile(settingsPath(folder));
    return true;
}

std::string IconPreviewSource(const std::string& location, const std::string& folder)
{
    if (location.starts_with("/") || location.find(':') != std::string::npos)
        return location;
    return withSlash(folder) + location;
}

void RefreshShellIcons(const std::vector<std::string>& folders)
{
    for (const std::string& folder : folders)
        (void)touchModified(folder);
}

}  // namespace korvala
