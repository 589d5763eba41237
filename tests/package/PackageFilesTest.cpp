// The installed desktop files: what the desktop's validators say of them, that
// the manual page and the completion know every subcommand and option the
// command line has, the file list of an install into a temporary DESTDIR, and
// that the file managers' entries all run the page they are named after.

#include <regex>
#include <set>

#include <gtest/gtest.h>

#include <QImage>

#include "PackageSupport.h"
#include "Process.h"
#include "Files.h"
#include "TempTree.h"
#include "app/FileManagerActions.h"

namespace korvala::test {
namespace {

TEST(PackageFiles, PassTheDesktopValidators)
{
    struct Case {
        std::vector<std::string> argv;
    };
    const std::vector<Case> cases = {
        {{"desktop-file-validate", sourcePath("packaging/korvala.desktop")}},
        {{"appstreamcli", "validate", "--no-net", "--no-color",
          sourcePath("packaging/org.korvala.Korvala.metainfo.xml")}},
        {{"groff", "-man", "-z", "-ww", sourcePath("packaging/korvala-cli.1")}},
        {{"groff", "-man", "-z", "-ww", sourcePath("packaging/korvala.1")}},
        {{"man", "--warnings", "-E", "UTF-8", "-l", sourcePath("packaging/korvala-cli.1")}},
    };
    for (const Case& c : cases) {
        RunOptions options;
        options.outputFile = c.argv[0] == "man" ? "/dev/null" : "";
        options.env = {"MANWIDTH=80", "LC_ALL=C.UTF-8"};
        const ProcessResult result = runProcess(c.argv, options);
        EXPECT_EQ(result.exitCode, 0) << c.argv[0] << " " << c.argv.back() << ": " << describe(result)
                                      << result.out;
        // The validators print their findings on either output; only hints
        // and notes of the pedantic kind may stay (the menu categories the
        // entry is meant to have count as more than one main category).
        for (const std::string& line : splitLines(result.out + result.err)) {
            EXPECT_EQ(line.find("error"), std::string::npos) << c.argv[0] << ": " << line;
            EXPECT_EQ(line.find("warning"), std::string::npos) << c.argv[0] << ": " << line;
        }
    }
}

// The subcommands of "korvala-cli --help" and the long options of each
// subcommand's help, e.g. {"hash", {"--algorithm", "--lowercase", "--json"}}.
std::vector<std::pair<std::string, std::vector<std::string>>> commandLine()
{
    std::vector<std::pair<std::string, std::vector<std::string>>> commands;
    const ProcessResult top = runCli({"--help"});
    bool inList = false;
    for (const std::string& line : splitLines(top.out)) {
        if (line == "Subcommands:") {
            inList = true;
            continue;
        }
        std::smatch m;
        static const std::regex entry("^  ([a-z][a-z-]*) ");
        if (inList && std::regex_search(line, m, entry))
            commands.push_back({m[1], {}});
    }
    static const std::regex option("^  (?:-\\w,)?(--[a-z0-9-]+)");
    for (auto& [name, options] : commands) {
        const ProcessResult help = runCli({name, "--help"});
        for (const std::string& line : splitLines(help.out)) {
            std::smatch m;
            if (std::regex_search(line, m, option) && m[1] != "--help")
                options.push_back(m[1]);
        }
    }
    return commands;
}

// A name as the manual page's source writes it: every "-" as "\\-".
std::string manEscaped(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '-')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

TEST(PackageFiles, ManualPageAndCompletionKnowEveryCommandAndOption)
{
    const std::string man = readFile(sourcePath("packaging/korvala-cli.1"));
    const std::string completion = readFile(sourcePath("packaging/bash-completion/korvala-cli"));
    const auto commands = commandLine();
    ASSERT_GE(commands.size(), 18u) << "the help of korvala-cli lists too few subcommands";
    for (const auto& [name, options] : commands) {
        EXPECT_NE(man.find(".SS \"" + manEscaped(name)), std::string::npos)
            << "the manual page has no section for " << name;
        EXPECT_TRUE(std::regex_search(completion, std::regex("[ \"]" + name + "[ \\n\"]")))
            << "the completion does not offer " << name;
        for (const std::string& option : options) {
            EXPECT_NE(man.find(manEscaped(option)), std::string::npos)
                << "the manual page does not name " << name << " " << option;
            EXPECT_NE(completion.find(option), std::string::npos)
                << "the completion does not offer " << name << " " << option;
        }
    }
    EXPECT_NE(man.find(".SH EXIT STATUS"), std::string::npos);
}

TEST(PackageFiles, CompletionOffersWhatFitsTheWordUnderTheCursor)
{
    // Bash with bash-completion loaded runs the completion function as the
    // shell would for the words of each line, the cursor at the end.
    struct Case {
        std::string words;
        std::string offered;
    };
    const std::vector<Case> cases = {
        {"korvala-cli sh", "shred share"},
        {"korvala-cli hash -a SHA-", "SHA-1 SHA-256 SHA-384 SHA-512"},
        {"korvala-cli attrib --hidden c", "clear"},
        {"korvala-cli attrib --hidden=k", "keep"},
        {"korvala-cli seek --n", "--name --no-subfolders --null"},
        {"korvala-cli seek --attr Hi", "Hidden="},
        {"korvala-cli share a", "add"},
        {"korvala-cli dupes --by c", "content"},
        {"korvala-cli split --h", "--help"},
    };
    const std::string harness =
        "source /usr/share/bash-completion/bash_completion && source \"$0\" || exit 9\n"
        "read -r -a COMP_WORDS <<< \"$1\"\n"
        "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMP_LINE=$1; COMP_POINT=${#COMP_LINE}\n"
        "_korvala_cli 2>/dev/null; echo \"${COMPREPLY[*]}\"\n";
    for (const Case& c : cases) {
        const ProcessResult run = runProcess(
            {"bash", "-c", harness, sourcePath("packaging/bash-completion/korvala-cli"), c.words});
        EXPECT_EQ(run.exitCode, 0) << c.words << ": " << describe(run);
        EXPECT_EQ(run.out, c.offered + "\n") << c.words;
    }
}

TEST(PackageFiles, InstallIntoDestdirPutsEveryFileInPlace)
{
    TTempTree tree;
    RunOptions options;
    options.env = {"DESTDIR=" + tree.path("root")};
    const ProcessResult install =
        runProcess({KORVALA_CMAKE, "--install", KORVALA_BINARY_DIR, "--prefix", "/usr"}, options);
    ASSERT_EQ(install.exitCode, 0) << describe(install);

    std::vector<std::string> expected = {
        "usr/bin/korvala",
        "usr/bin/korvala-cli",
        "usr/share/applications/korvala.desktop",
        "usr/share/bash-completion/completions/korvala-cli",
        "usr/share/doc/korvala/changelog.gz",
        "usr/share/doc/korvala/copyright",
        "usr/share/icons/hicolor/scalable/apps/korvala.svg",
        "usr/share/kio/servicemenus/korvala-all.desktop",
        "usr/share/kio/servicemenus/korvala-files.desktop",
        "usr/share/kio/servicemenus/korvala-folders.desktop",
        "usr/share/man/man1/korvala-cli.1.gz",
        "usr/share/man/man1/korvala.1.gz",
        "usr/share/metainfo/org.korvala.Korvala.metainfo.xml",
    };
    const std::vector<int> sizes = {16, 22, 24, 32, 48, 64, 128, 256};
    for (int size : sizes)
        expected.push_back("usr/share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) +
                           "/apps/korvala.png");
    for (const TFileManagerAction& action : fileManagerActions())
        expected.push_back(std::string("usr/share/nemo/actions/korvala-") + action.page + ".nemo_action");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesBelow(tree.path("root")), expected);

    for (int size : sizes) {
        const std::string png = tree.path("root/usr/share/icons/hicolor/" + std::to_string(size) + "x" +
                                          std::to_string(size) + "/apps/korvala.png");
        const QImage image(QString::fromStdString(png));
        EXPECT_EQ(image.width(), size) << png;
        EXPECT_EQ(image.height(), size) << png;
        // Drawn, not blank: the middle of the toolbox is opaque.
        EXPECT_GT(qAlpha(image.pixel(size / 2, size * 3 / 4)), 200) << png;
    }
    // The man pages went in compressed and still read as manual pages.
    const ProcessResult man = runProcess({"man", "-l", tree.path("root/usr/share/man/man1/korvala-cli.1.gz")},
                                         {.env = {"MANPAGER=cat", "MANWIDTH=80"}});
    EXPECT_EQ(man.exitCode, 0) << describe(man);
    EXPECT_NE(man.out.find("EXIT STATUS"), std::string::npos);
}

// The value of KEY in the group [GROUP] of a desktop-entry style file.
std::string entryValue(const std::string& text, const std::string& group, const std::string& key)
{
    const size_t start = text.find("[" + group + "]\n");
    if (start == std::string::npos)
        return "<no group " + group + ">";
    const size_t end = text.find("\n[", start + 1);
    const std::string body = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const size_t at = body.find("\n" + key + "=");
    if (at == std::string::npos)
        return "<no key " + key + ">";
    const size_t from = at + key.size() + 2;
    return body.substr(from, body.find('\n', from) - from);
}

TEST(PackageFiles, EveryFileManagerEntryRunsItsPage)
{
    std::vector<std::string> serviceMenus;
    for (const char* file : {"korvala-files", "korvala-all", "korvala-folders"})
        serviceMenus.push_back(readFile(sourcePath(std::string("packaging/filemanager/") + file + ".desktop")));
    for (const TFileManagerAction& action : fileManagerActions()) {
        const std::string name = std::string("Korvala: ") + action.title;
        const std::string exec = std::string("korvala --page ") + action.page + " %F";
        const std::string group = std::string("Desktop Action ") + action.page;
        // Dolphin: the one service menu that holds the action lists it too.
        int holders = 0;
        for (const std::string& menu : serviceMenus) {
            if (menu.find("[" + group + "]") == std::string::npos)
                continue;
            ++holders;
            EXPECT_EQ(entryValue(menu, group, "Name"), name);
            EXPECT_EQ(entryValue(menu, group, "Exec"), exec);
            std::string listed = ";";
            listed += entryValue(menu, "Desktop Entry", "Actions");
            EXPECT_NE(listed.find(std::string(";") + action.page + ";"), std::string::npos) << listed;
        }
        EXPECT_EQ(holders, 1) << action.page;
        const std::string nemo =
            readFile(sourcePath(std::string("packaging/filemanager/nemo/korvala-") + action.page + ".nemo_action"));
        EXPECT_EQ(entryValue(nemo, "Nemo Action", "Name"), name);
        EXPECT_EQ(entryValue(nemo, "Nemo Action", "Exec"), exec);
        const std::string extensions = entryValue(nemo, "Nemo Action", "Extensions");
        EXPECT_EQ(extensions, action.forFiles && action.forFolders ? "any;" : action.forFiles ? "nodirs;" : "dir;")
            << action.page;
    }
}

}  // namespace
}  // namespace korvala::test
