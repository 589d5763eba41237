#pragma once
// The Sharing page's listing: every share the local Samba server offers (the
// shares of its configuration and the users' shares), one line each with its
// name, folder and comment under a header line.

#include <string>
#include <vector>

namespace korvala {

struct TShareEntry {
    std::string name;
    std::string folder;
    std::string comment;
};

// The users' shares from the text `net usershare info` prints.
std::vector<TShareEntry> parseUsershareInfo(const std::string& text);
// The shares of a configuration from the text `testparm -s` prints ([global]
// is not a share).
std::vector<TShareEntry> parseConfiguredShares(const std::string& text);
// The table: the header line, a rule and one line per share in fixed columns;
// a name or folder too long for its column ends its line and the rest follows
// on the next, indented to the next column.
std::string shareTable(const std::vector<TShareEntry>& shares);

// Every share the server offers, configured ones first; "The Server service is
// not started." when smbd does not answer.
std::string shareListingText();

// The listing as the memo shows it: trimmed, a last line "The command
// completed successfully." dropped, an empty first line, one blank in front of
// every line; only "The Server service is not started." when that sentence
// appears anywhere.
std::string formatShareListing(const std::string& output);

// GetShareInfo: the listing as the memo shows it.
std::string GetShareInfo();

}  // namespace korvala
