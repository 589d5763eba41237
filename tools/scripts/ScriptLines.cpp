#include "tools/scripts/ScriptLines.h"

#include "platform/Accounts.h"

namespace korvala {
namespace {

// BODY, unless the item has become a symbolic link.
std::string unlessLink(const std::string& quoted, const std::string& body)
{
    return "if [ -L " + quoted + " ]; then printf 'Skipped, a symbolic link: %s\\n' " + quoted +
        " >&2; false; else " + body + "; fi";
}

}  // namespace

std::string shellQuoted(const std::string& path)
{
    std::string quoted = "'";
    for (char c : path) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string administratorsGroup()
{
    return groupExists("sudo") || !groupExists("wheel") ? "sudo" : "wheel";
}

std::string takeOwnershipLine(const std::string& path, const std::string& adminGroup)
{
    const std::string p = shellQuoted(path);
    return unlessLink(p, "sudo chown -- \"$(id -un)\": " + p + " && sudo setfacl -m " + shellQuoted("g:" + adminGroup + ":rwX") +
        " -- " + p);
}

std::string protectLine(const std::string& path)
{
    const std::string p = shellQuoted(path);
    return unlessLink(p, "{ if [ -O " + p + " ]; then chmod u= -- " + p + "; else sudo setfacl -m u:\"$(id -un)\":--- -- " +
        p + "; fi; } && sudo chattr +i -- " + p);
}

std::string unprotectLine(const std::string& path)
{
    const std::string p = shellQuoted(path);
    return unlessLink(p, "sudo chattr -i -- " + p + " && if [ -O " + p + " ]; then chmod u+rwX -- " + p +
        "; else sudo setfacl -m u:\"$(id -un)\":rwX -- " + p + "; fi");
}

}  // namespace korvala
