#include "tools/sharing/ShareAdvice.h"

namespace korvala {
namespace {

struct Cause {
    const char* printed;  // part of what net prints
    const char* advice;
};

// Samba prints these in English whatever the language.
constexpr Cause kCauses[] = {
    {"usershares are currently disabled",
        "Sharing by users is not enabled: ask the administrator to set \"usershare path\" and \"usershare max shares\" "
        "in smb.conf."},
    {"You do not have permission to create a usershare",
        "Only members of the group \"sambashare\" may share folders: ask the administrator to run "
        "\"sudo usermod -aG sambashare $USER\", then log in again."},
    {"cannot open usershare directory",
        "Only members of the group \"sambashare\" may share folders: ask the administrator to run "
        "\"sudo usermod -aG sambashare $USER\", then log in again."},
    {"restricted to only sharing directories we own", "You can only share folders you own."},
    {"maximum number of allowed usershares",
        "The most shares allowed are in use: stop sharing one first, or ask the administrator to raise "
        "\"usershare max shares\"."},
    {"contains invalid characters", "A share name cannot contain any of % < > * ? | / \\ + = ; : \" , or a control character."},
    {"cannot stat path", "The folder to share must exist."},
    {"Maybe smbd is not running", "The file server is not running: press \"Start\"."},
    {"unable to remove usershare", "There is no share of that name to stop sharing."},
};

}  // namespace

std::string shareAdvice(const std::string& netOutput)
{
    for (const Cause& c : kCauses)
        if (netOutput.find(c.printed) != std::string::npos)
            return c.advice;
    return {};
}

}  // namespace korvala
