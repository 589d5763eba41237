#pragma once
// The update check: the servers, where the update file is kept, and the
// check itself (connection test, download, reading the product's section,
// comparing versions), which reports to a view: the window shows it in its
// labels and boxes, the command line prints it.

#include <array>
#include <functional>
#include <string>

#include "update/Download.h"

namespace korvala {

// This program's version.
inline constexpr const char* kProgramVersion = KORVALA_VERSION;
// This program's section in the update file.
inline constexpr int kProductNumber = 53;
// The path of the update file on every server, after the base address.
inline constexpr const char* kUpdatePath = "/update.php";
// The name the update file is kept under in the temporary folder.
inline constexpr const char* kUpdateFileName = "update.ini";

inline constexpr const char* kNotConnectedText = "You're not Connected to Internet!";
inline constexpr const char* kUpdateFailedText =
    "Update Check failed!\r\rPlease check your Internet Connection or Choose another Server!";

struct TUpdateServer {
    int number;               // 1, 2, 3 as the server buttons read
    std::string baseAddress;  // without a trailing "/"
    bool dead;                // shown disabled, its hint ending in " (DEAD)"
};

// The one server that answers.
inline constexpr int kLiveServer = 2;
// The three servers. The base address of server 2 is replaced by the
// environment variable KORVALA_UPDATE_SERVER when that holds an http or
// https address (for packagers' mirrors and for tests); anything else there
// is ignored.
std::array<TUpdateServer, 3> updateServers();
// base address + "/update.php", a trailing "/" of the base not doubled.
std::string updateAddressOf(const std::string& baseAddress);

// The folder the update file is kept in, with a trailing "/": the user's
// private temporary folder, $XDG_RUNTIME_DIR/korvala/, else
// ${TMPDIR:-/tmp}/korvala-UID/. Only named here; the check creates it.
std::string GetTempFolder();

enum class TUpdateOutcome { Failed, NoUpdate, NewUpdate };

struct TUpdateResult {
    TUpdateOutcome outcome = TUpdateOutcome::Failed;
    std::string latest = "-";  // the published version, "-" when not known
    std::string downloadLink;  // only with NewUpdate, and only a web address
};

// "Update Check failed!", "NO Updates Available" or "NEW Updates Available,
// Click here to Download!".
const char* updateResultText(TUpdateOutcome outcome);

class TUpdateCheckView {
public:
    virtual ~TUpdateCheckView() = default;
    // The result as it stands now; a later call replaces it.
    virtual void showResult(const TUpdateResult& result) = 0;
    // A message for the user, after the result it belongs to: an error
    // dialog, or a plain message box.
    virtual void showMessage(const std::string& text, bool errorIcon) = 0;
};

// The check's connection test: a server on this machine is reached without
// any network; for any other server, IsConnectedToNetwork.
bool IsConnectedFor(const std::string& updateAddress);

struct TUpdateCheckOptions {
    // The connection test, given the update address.
    std::function<bool(const std::string& updateAddress)> isConnected = IsConnectedFor;
    TDownloadOptions download;
};

// The check of `current` against the update file at updateAddress, section
// `section`, on the calling thread:
// - not connected: Failed and the error "You're not Connected to Internet!";
// - the temporary folder cannot be made or the old update file cannot be
//   removed: Failed and the plain box with kUpdateFailedText; nothing is
//   fetched or read then, so the check goes on as with a missing file;
// - the download's result is not looked at: the file, its section and its
//   "Version" tell. None of them (or an empty "Version"): Failed and the error
//   dialog with kUpdateFailedText; else NewUpdate (with "DLink" when that is a
//   web address) or NoUpdate.
void RunUpdateCheck(const std::string& current, const std::string& updateAddress, int section,
    TUpdateCheckView& view, const TUpdateCheckOptions& options = {});

}  // namespace korvala
