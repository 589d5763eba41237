#pragma once
// Fetching a file over HTTP or HTTPS, and whether the machine is online.
// Both run on the calling thread, which needs a QCoreApplication; the wait
// for the server takes no user input, so the window stays as it is (it
// still paints) until the answer or the timeout.

#include <cstdint>
#include <string>

namespace korvala {

struct TDownloadOptions {
    // The whole transfer, from the request to the last byte.
    int timeoutMs = 15000;
    // A body above this size ends the download as failed.
    uint64_t maxBytes = 1024 * 1024;
};

// True for an absolute http or https address with a host: the only kind of
// address the update check fetches or hands to the browser.
bool IsWebAddress(const std::string& address);

// True when the address's host is this machine (localhost, 127.0.0.0/8, ::1).
bool IsLoopbackAddress(const std::string& address);

// HTTP GET of address into file. True exactly when the server answered 2xx
// and the whole body was written; the file is then replaced as a whole.
// Otherwise (not a web address, no answer within the timeout, another status,
// too big a body, a write error) false, and the file is not touched: a failed
// download never leaves a partial file under its name. Never raises.
bool DownloadToFile(const std::string& address, const std::string& file, const TDownloadOptions& options = {});

// Whether the machine has a network connection, by the system's network
// information where a backend for it exists; without one, or while the
// backend does not know, the machine counts as connected.
bool IsConnectedToNetwork();

}  // namespace korvala
