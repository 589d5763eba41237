#include "tools/sharing/DSiWin32.h"

#include <algorithm>
#include <vector>

#include "platform/File.h"
#include "platform/KorvalaError.h"
#include "platform/LibraryCache.h"
#include "tools/sharing/SambaCommands.h"
#include "tools/sharing/ShareAdvice.h"
#include "tools/sharing/ShareListing.h"

namespace korvala {
namespace {

// The access list of a new share: full control for everyone (the well-known
// SID of "Everyone", which net would otherwise have to look up through a
// running server).
const char kEveryoneFull[] = "S-1-1-0:f";

bool hasControlCharacter(const std::string& s)
{
    return std::any_of(s.begin(), s.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

std::string lowerAscii(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// Samba compares share names without regard to case.
bool listed(const std::vector<TShareEntry>& shares, const std::string& name)
{
    const std::string wanted = lowerAscii(name);
    return std::any_of(shares.begin(), shares.end(), [&](const TShareEntry& s) { return lowerAscii(s.name) == wanted; });
}

std::vector<TShareEntry> configuredShares()
{
    return parseConfiguredShares(samba::run("testparm", {"-s", "--suppress-prompt"}).output);
}

bool nameInUse(const std::string& name)
{
    return listed(parseUsershareInfo(samba::run("net", {"usershare", "info"}).output), name) ||
        listed(configuredShares(), name);
}

TShareOutcome refused(std::string message)
{
    return {false, std::move(message)};
}

// Runs net with `arguments` after "--", so that nothing the user typed (a
// name or comment starting with "-") is read as an option.
TShareOutcome runNet(std::vector<std::string> arguments)
{
    const samba::TCommandResult r = samba::run("net", arguments);
    if (!r.started)
        return refused("The program \"net\" could not be run. Install the package samba-common-bin.");
    if (r.exitStatus == 0)
        return {true, {}};
    std::string message = r.output;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    if (message.empty())
        message = "net ended with status " + std::to_string(r.exitStatus) + ".";
    if (const std::string advice = shareAdvice(r.output); !advice.empty())
        message += "\n" + advice;
    return refused(message);
}

}  // namespace

TShareOutcome DSiShareFolder(const std::string& folder, const std::string& name, const std::string& comment)
{
    if (folder.empty())
        throw KorvalaError("DSiShareFolder: empty folder");
    if (name.empty())
        throw KorvalaError("DSiShareFolder: empty share name");
    if (hasControlCharacter(name) || hasControlCharacter(folder) || hasControlCharacter(comment))
        return refused("A share name, folder or comment cannot hold a line break or another control character.");
    if (nameInUse(name))
        return refused("A share named \"" + name + "\" already exists.\n"
            "Stop sharing it first, or choose another name.");
    return runNet({"usershare", "add", "--", name, folder, comment, kEveryoneFull, "guest_ok=n"});
}

bool missingResourceLocation(const std::string& folder)
{
    TFileStatus st;
    return !folder.empty() && (pathStatus(folder, true, st) || !st.isDirectory());
}

TShareOutcome DSiUnshareFolder(const std::string& name)
{
    if (hasControlCharacter(name))
        return refused("A share name cannot hold a line break or another control character.");
    if (listed(configuredShares(), name))
        return refused("\"" + name + "\" is shared by the server's configuration (smb.conf); "
            "only the administrator can stop sharing it.");
    return runNet({"usershare", "delete", "--", name});
}

void* GetLibraryProc(const std::string& library, const std::string& entry)
{
    return loadLibraryFunction(library, entry);
}

}  // namespace korvala
