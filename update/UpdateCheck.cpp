#include "update/UpdateCheck.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "platform/File.h"
#include "platform/Paths.h"
#include "update/UpdateIni.h"
#include "update/Version.h"

namespace korvala {
namespace {

std::string withoutTrailingSlashes(std::string address)
{
    while (!address.empty() && address.back() == '/')
        address.pop_back();
    return address;
}

TUpdateResult failed()
{
    return {};
}

// The folder made private to the user and the old update file removed, so
// that what is read afterwards can only be what this check fetched.
void prepareDownload(const std::string& folder, const std::string& file)
{
    if (folder.empty())
        throw std::runtime_error("no temporary folder");
    if (ensurePrivateFolder(withoutTrailingSlashes(folder)))
        throw std::runtime_error("temporary folder");
    if (const std::error_code e = removeFile(file); e && e != std::errc::no_such_file_or_directory)
        throw std::runtime_error("old update file");
}

}  // namespace

std::array<TUpdateServer, 3> updateServers()
{
    std::array<TUpdateServer, 3> servers = {{
        {1, "https://update1.korvala.example", true},
        {2, "https://update.korvala.example", false},
        {3, "https://update3.korvala.example", true},
    }};
    const char* replacement = std::getenv("KORVALA_UPDATE_SERVER");
    if (replacement && IsWebAddress(replacement))
        servers[kLiveServer - 1].baseAddress = withoutTrailingSlashes(replacement);
    return servers;
}

std::string updateAddressOf(const std::string& baseAddress)
{
    return withoutTrailingSlashes(baseAddress) + kUpdatePath;
}

std::string GetTempFolder()
{
    return userPrivateFolder() + "/";
}

bool IsConnectedFor(const std::string& updateAddress)
{
    return IsLoopbackAddress(updateAddress) || IsConnectedToNetwork();
}

const char* updateResultText(TUpdateOutcome outcome)
{
    switch (outcome) {
    case TUpdateOutcome::NoUpdate: return "NO Updates Available";
    case TUpdateOutcome::NewUpdate: return "NEW Updates Available, Click here to Download!";
    case TUpdateOutcome::Failed: break;
    }
    return "Update Check failed!";
}

void RunUpdateCheck(const std::string& current, const std::string& updateAddress, int section,
    TUpdateCheckView& view, const TUpdateCheckOptions& options)
{
    if (options.isConnected && !options.isConnected(updateAddress)) {
        view.showResult(failed());
        view.showMessage(kNotConnectedText, true);
        return;
    }

    const std::string folder = GetTempFolder();
    const std::string file = folder + kUpdateFileName;
    bool prepared = true;
    try {
        prepareDownload(folder, file);
        (void)DownloadToFile(updateAddress, file, options.download);
    } catch (const std::exception&) {
        prepared = false;
        view.showResult(failed());
        view.showMessage(kUpdateFailedText, false);
    }

    // Without its own private folder the check fetched nothing, and what
    // stands there (another user's folder, say) is not read: it ends as a
    // check whose file is missing.
    const TIniFile ini = prepared ? TIniFile::load(file) : TIniFile();
    const std::string sectionName = std::to_string(section);
    TUpdateResult result;
    result.latest = ini.readString(sectionName, "Version", "-");
    // An empty "Version" tells no more than a missing one.
    if (result.latest.empty() || result.latest == "-") {
        view.showResult(failed());
        view.showMessage(kUpdateFailedText, true);
        return;
    }
    if (IsNewerVersion(current, result.latest)) {
        result.outcome = TUpdateOutcome::NewUpdate;
        const std::string link = ini.readString(sectionName, "DLink", "");
        if (IsWebAddress(link))
            result.downloadLink = link;
    } else {
        result.outcome = TUpdateOutcome::NoUpdate;
    }
    view.showResult(result);
}

}  // namespace korvala
