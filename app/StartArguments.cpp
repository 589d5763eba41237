#include "app/StartArguments.h"

#include "platform/Paths.h"

namespace {

struct TPageName {
    const char* name;
    int tool;
    const char* toolName;
};

// The names a user types; the file managers' actions use those of hash,
// duplicates, shred, attributes, datetime, hidden and folder-icon. The pages
// that cannot be reached (Explorer, File/Folder Information, Renamer) have none.
constexpr TPageName kPageNames[] = {
    {"attributes", 0, "Attribute Changer"},
    {"datetime", 1, "DateTime Changer"},
    {"duplicates", 2, "Duplicate Finder"},
    {"shred", 5, "File Shredder"},
    {"folder-icon", 6, "Folder Icon Changer"},
    {"hash", 7, "Hash"},
    {"hidden", 8, "Hidden Revealer"},
    {"protect", 9, "Protector"},
    {"seek", 11, "Seeker"},
    {"share", 12, "Sharing"},
    {"split-join", 13, "Splitter & Joiner"},
    {"take-ownership", 14, "Take Ownership"},
    {"mkdirs", 16, "Batch Folder Creator"},
};

}  // namespace

int toolOfPageName(const std::string& name)
{
    for (const TPageName& page : kPageNames)
        if (name == page.name)
            return page.tool;
    return -1;
}

std::string startUsage()
{
    std::string text =
        "usage: korvala [--page NAME] [PATH...]\n"
        "       korvala --screenshot FILE [--page NAME]\n"
        "\n"
        "Opens the window on the tool page NAME with the paths taken as if they\n"
        "were dropped onto it. When Korvala runs already, its window shows the\n"
        "page and takes the paths instead.\n"
        "\n"
        "Pages:\n";
    for (const TPageName& page : kPageNames) {
        std::string line = "  " + std::string(page.name);
        line.resize(18, ' ');
        text += line + page.toolName + "\n";
    }
    text += "\n"
            "--screenshot saves a picture of the window (with the page NAME, which may\n"
            "also be a tool button's hint such as \"Seeker\") and exits.\n"
            "A path that starts with '-' follows \"--\".\n";
    return text;
}

TStartArguments parseStartArguments(const std::vector<std::string>& args)
{
    TStartArguments result;
    bool options = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            result.help = true;
        } else if (options && (arg == "--page" || arg == "--screenshot")) {
            if (i + 1 >= args.size()) {
                result.error = arg + " needs a value";
                return result;
            }
            (arg == "--page" ? result.pageName : result.screenshot) = args[++i];
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            result.error = "unknown option \"" + arg + "\"";
            return result;
        } else if (!arg.empty()) {
            result.paths.push_back(korvala::absolutePath(arg));
        }
    }
    if (!result.pageName.empty()) {
        result.tool = toolOfPageName(result.pageName);
        // A screenshot also takes a button's hint; the window resolves that.
        if (result.tool < 0 && result.screenshot.empty()) {
            result.error = "no tool page named \"" + result.pageName + "\"";
            return result;
        }
    }
    if (!result.screenshot.empty() && !result.paths.empty())
        result.error = "--screenshot takes no paths";
    return result;
}
