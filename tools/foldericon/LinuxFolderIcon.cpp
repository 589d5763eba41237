#include "tools/foldericon/LinuxFolderIcon.h"

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "platform/ConsoleCommand.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "tools/foldericon/IconExtract.h"
#include "tools/foldericon/ProfileText.h"

namespace korvala {
namespace {

const char kDesktopEntry[] = "Desktop Entry";

bool readSmall(const std::string& path, std::string& bytes, size_t limit)
{
    TFile file;
    if (file.open(path, TOpenOptions::contentRead()))
        return false;
    bytes.clear();
    char buffer[65536];
    size_t got = 0;
    while (!file.read(buffer, sizeof buffer, got) && got > 0) {
        bytes.append(buffer, got);
        if (bytes.size() > limit)
            return false;
    }
    return true;
}

bool writeSmall(const std::string& path, const std::string& bytes)
{
    TOpenOptions o = TOpenOptions::writeNoFollow();
    o.create = true;
    o.truncate = true;
    TFile file;
    if (file.open(path, o) || file.writeAll(bytes.data(), bytes.size()))
        return false;
    return !file.close();
}

std::string dataHome()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/')
        return data;
    return homeFolder() + "/.local/share";
}

std::string fileUrl(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

void runGio(const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv = {"gio"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::string output;
    int status = 0;
    (void)runProgram(argv, {}, output, status);  // no GVfs: nothing to do
}

bool isProgramOrLibrary(const std::string& bytes)
{
    return bytes.size() > 2 && bytes[0] == 'M' && bytes[1] == 'Z';
}

}  // namespace

std::string savedIconBase(const std::string& folder)
{
    char name[32];
    std::snprintf(name, sizeof name, "%016zx", std::hash<std::string>{}(absolutePath(folder)));
    return dataHome() + "/korvala/icons/" + name;
}

void applyLinuxFolderIcon(const std::string& folder, const std::string& iconFile, int index)
{
    std::string bytes;
    // Icons are small; a huge "icon" is not read whole.
    if (!readSmall(iconFile, bytes, 64u << 20))
        return;
    std::string icon = absolutePath(iconFile);
    if (isProgramOrLibrary(bytes)) {
        const std::string ico = iconFileBytes(bytes, index);
        if (ico.empty())
            return;
        const std::string png = pngOfIcon(ico);
        const std::string base = savedIconBase(folder);
        const std::string icons = base.substr(0, base.rfind('/'));
        const std::string korvala = icons.substr(0, icons.rfind('/'));
        (void)createFolder(korvala);
        (void)createFolder(icons);
        icon = base + (png.empty() ? ".ico" : ".png");
        if (!writeSmall(icon, png.empty() ? ico : png))
            return;
    }
    const std::string directory = folder + "/.directory";
    std::string existing;
    (void)readSmall(directory, existing, 1u << 20);
    TProfileText entry(existing.empty() ? std::string() : existing);
    if (existing.empty())
        entry = TProfileText("\n");
    entry.write(kDesktopEntry, "Icon", icon);
    (void)writeSmall(directory, existing.empty() ? entry.bytes().substr(1) : entry.bytes());
    runGio({"set", folder, "metadata::custom-icon", fileUrl(icon)});
}

void removeLinuxFolderIcon(const std::string& folder)
{
    const std::string directory = folder + "/.directory";
    std::string existing;
    if (readSmall(directory, existing, 1u << 20)) {
        TProfileText entry(existing);
        if (entry.read(kDesktopEntry, "Icon")) {
            entry.remove(kDesktopEntry, "Icon");
            const std::string rest = entry.bytes();
            // Nothing but the empty section this tool wrote: the file goes.
            if (!entry.sectionHasKeys(kDesktopEntry) && rest.find_first_not_of(" \t\r\n") == rest.find('[') &&
                rest.find('[', rest.find('[') + 1) == std::string::npos)
                (void)removeFile(directory);
            else
                (void)writeSmall(directory, rest);
        }
    }
    runGio({"set", "-t", "unset", folder, "metadata::custom-icon"});
    const std::string base = savedIconBase(folder);
    (void)removeFile(base + ".png");
    (void)removeFile(base + ".ico");
}

}  // namespace korvala
