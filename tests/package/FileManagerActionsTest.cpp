// "korvala --install-file-manager-actions" and "--remove-file-manager-actions"
// run for real on a temporary home: the Nautilus scripts and Thunar's action
// list they write, what they leave of the user's own entries, and the
// Nautilus script handing hostile names over whole.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QXmlStreamReader>

#include "PackageSupport.h"
#include "Files.h"
#include "Process.h"
#include "TempTree.h"
#include "app/FileManagerActions.h"

namespace korvala::test {
namespace {

class FileManagerActions : public ::testing::Test {
protected:
    ProcessResult korvala(const std::string& option, std::vector<std::string> extraEnv = {})
    {
        RunOptions options;
        options.env = {"HOME=" + home, "XDG_DATA_HOME=", "XDG_CONFIG_HOME=",
                       "XDG_CONFIG_DIRS=" + tree.path("etc-xdg"), "QT_QPA_PLATFORM="};
        options.env.insert(options.env.end(), extraEnv.begin(), extraEnv.end());
        return runProcess({programPath(), option}, options);
    }
    std::string script(const std::string& title) const { return scripts + "/Korvala: " + title; }

    TTempTree tree;
    std::string home = tree.folder("home");
    std::string scripts = home + "/.local/share/nautilus/scripts";
    std::string uca = home + "/.config/Thunar/uca.xml";
};

// The unique ids and commands of the actions in a Thunar list, in order;
// fails the test when the list is not well-formed XML.
std::vector<std::pair<std::string, std::string>> thunarActions(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> actions;
    QXmlStreamReader xml(QByteArray::fromStdString(text));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("unique-id"))
            actions.push_back({xml.readElementText().toStdString(), ""});
        else if (xml.name() == QLatin1String("command") && !actions.empty())
            actions.back().second = xml.readElementText().toStdString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " in\n" << text;
    return actions;
}

TEST_F(FileManagerActions, InstallTwiceThenRemoveOnAFreshHome)
{
    ProcessResult run = korvala("--install-file-manager-actions");
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    const std::string firstList = readFile(uca);
    const auto actions = thunarActions(firstList);
    ASSERT_EQ(actions.size(), fileManagerActions().size());
    for (size_t i = 0; i < actions.size(); ++i) {
        const TFileManagerAction& action = fileManagerActions()[i];
        EXPECT_EQ(actions[i].first, std::string("korvala-") + action.page);
        EXPECT_EQ(actions[i].second, std::string("korvala --page ") + action.page + " %F");
        // "/" cannot stand in a file name: the script's name reads the same
        // with the division slash.
        std::string title = action.title;
        if (const size_t slash = title.find('/'); slash != std::string::npos)
            title.replace(slash, 1, "\u2215");
        struct stat st {};
        ASSERT_EQ(::stat(script(title).c_str(), &st), 0) << script(title);
        EXPECT_EQ(st.st_mode & 0777, 0755u) << script(title);
        EXPECT_NE(readFile(script(title)).find(std::string("exec korvala --page ") + action.page + " \"$@\""),
                  std::string::npos);
    }

    // A second install replaces ours instead of adding them again.
    run = korvala("--install-file-manager-actions");
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(readFile(uca), firstList);

    run = korvala("--remove-file-manager-actions");
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_TRUE(filesBelow(scripts).empty());
    EXPECT_TRUE(thunarActions(readFile(uca)).empty()) << readFile(uca);
}

TEST_F(FileManagerActions, KeepTheUsersOwnEntriesByteForByte)
{
    // The user's list, with a comment, CRLF line ends, odd spacing and an
    // action whose name mentions Korvala without being ours.
    const std::string userList =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- mine -->\r\n<actions>\r\n"
        "<action><icon>utilities-terminal</icon><name>Open Terminal Here</name>"
        "<unique-id>1234567890-1</unique-id><command>exo-open --launch TerminalEmulator</command>"
        "<description>Korvala: not one of Korvala's</description><patterns>*</patterns><directories/></action>\r\n"
        "  <action>\r\n\t<name>Second &amp; last</name>\r\n\t<unique-id>42</unique-id>\r\n"
        "\t<command>echo %F</command>\r\n  </action>\r\n</actions>\r\n";
    tree.folder("home/.config/Thunar");
    writeFile(uca, userList);
    tree.folder("home/.local/share/nautilus/scripts");
    writeFile(scripts + "/My own", "#!/bin/sh\necho mine\n");
    // A script of the user's under one of our names stays as it is, and the
    // install says so.
    writeFile(script("Hash"), "#!/bin/sh\necho my hash\n");

    ProcessResult run = korvala("--install-file-manager-actions");
    EXPECT_EQ(run.exitCode, 1) << describe(run);
    EXPECT_NE(run.err.find("Korvala: Hash\" is not Korvala's"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(script("Hash")), "#!/bin/sh\necho my hash\n");
    EXPECT_EQ(readFile(script("Shred")).find("exec korvala --page shred"), readFile(script("Shred")).find("exec"));
    const auto actions = thunarActions(readFile(uca));
    ASSERT_EQ(actions.size(), 2 + fileManagerActions().size());
    EXPECT_EQ(actions[0].first, "1234567890-1");
    EXPECT_EQ(actions[1].first, "42");
    EXPECT_EQ(readFile(uca).substr(0, userList.size() - std::string("</actions>\r\n").size()),
              userList.substr(0, userList.size() - std::string("</actions>\r\n").size()));

    run = korvala("--remove-file-manager-actions");
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(readFile(uca), userList);
    EXPECT_EQ(filesBelow(scripts), (std::vector<std::string>{"Korvala: Hash", "My own"}));
    EXPECT_EQ(readFile(script("Hash")), "#!/bin/sh\necho my hash\n");
}

TEST_F(FileManagerActions, LeaveAThunarFileTheyCannotReadAlone)
{
    tree.folder("home/.config/Thunar");
    for (const std::string& broken : {std::string("not xml at all\n"),
                                      std::string("<actions>\n<action><unique-id>korvala-hash</unique-id>\n")}) {
        writeFile(uca, broken);
        for (const char* option : {"--install-file-manager-actions", "--remove-file-manager-actions"}) {
            const ProcessResult run = korvala(option);
            EXPECT_EQ(run.exitCode, 1) << option << ": " << describe(run);
            EXPECT_NE(run.err.find("is not a list of Thunar actions"), std::string::npos) << run.err;
            EXPECT_EQ(readFile(uca), broken) << option;
        }
    }
}

TEST_F(FileManagerActions, StartFromTheSystemListWhenTheUserHasNone)
{
    // Thunar reads the system's list while the user has none; a new user
    // list made from nothing would hide its entries.
    tree.folder("etc-xdg/Thunar");
    writeFile(tree.path("etc-xdg/Thunar/uca.xml"),
              "<?xml version=\"1.0\"?>\n<actions>\n<action><unique-id>system-1</unique-id>"
              "<command>exo-open</command></action>\n</actions>\n");
    const ProcessResult run = korvala("--install-file-manager-actions");
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    const auto actions = thunarActions(readFile(uca));
    ASSERT_EQ(actions.size(), 1 + fileManagerActions().size());
    EXPECT_EQ(actions[0].first, "system-1");
}

TEST_F(FileManagerActions, BadUsageChangesNothing)
{
    RunOptions options;
    options.env = {"HOME=" + home};
    const ProcessResult run =
        runProcess({programPath(), "--install-file-manager-actions", "--remove-file-manager-actions"}, options);
    EXPECT_EQ(run.exitCode, 2) << describe(run);
    EXPECT_TRUE(filesBelow(home).empty());
}

TEST_F(FileManagerActions, NautilusScriptHandsHostileNamesOverWhole)
{
    ASSERT_EQ(korvala("--install-file-manager-actions").exitCode, 0);
    // A stand-in "korvala" first on PATH records the arguments it gets, one
    // per NUL-terminated record, so every byte of every name shows.
    const std::string bin = tree.folder("bin");
    tree.file("bin/korvala", "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$RECORD\"\n", 0755);
    const std::string folder = tree.folder("shown");
    const std::vector<std::string> names = {"-rf", "a b", "$(touch pwned)", "q\"'`", "line\nfeed",
                                            std::string("bad\xff\xfe"), "/abs/path"};
    RunOptions options;
    options.env = {"PATH=" + bin + ":/usr/bin:/bin", "RECORD=" + tree.path("record")};
    // Run in the folder shown, with the selected names as Nautilus passes
    // them: $1 the folder, $2 the script, then the names.
    std::vector<std::string> argv = {"/bin/sh", "-c", "cd \"$1\" || exit 9; s=$2; shift 2; exec \"$s\" \"$@\"",
                                     "sh", folder, script("Hash")};
    argv.insert(argv.end(), names.begin(), names.end());
    const ProcessResult run = runProcess(argv, options);
    ASSERT_EQ(run.exitCode, 0) << describe(run);

    std::string expected = std::string("--page") + '\0' + "hash" + '\0';
    for (const std::string& name : names)
        expected += (name[0] == '/' ? name : folder + "/" + name) + '\0';
    EXPECT_EQ(readFile(tree.path("record")), expected);
    EXPECT_FALSE(::access((folder + "/pwned").c_str(), F_OK) == 0);
}

}  // namespace
}  // namespace korvala::test
