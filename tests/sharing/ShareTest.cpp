// Sharing through a private Samba server on 127.0.0.1 whose users may share
// folders: shares made and removed with the engine are the ones the server
// offers, hostile names and comments are shared intact or refused, and each
// usual failure says what net said.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include <sys/stat.h>

#include "Process.h"
#include "SmbServer.h"
#include "TempTree.h"
#include "platform/KorvalaError.h"
#include "tools/sharing/DSiWin32.h"
#include "tools/sharing/ShareListing.h"

namespace korvala {
namespace {

using test::TSmbServer;
using test::TTempTree;

const char kPassword[] = "k0rvala-test";

// One running server for the suite, with root as a Samba user (its shares
// admit no guests).
class ShareTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_root = std::make_unique<TTempTree>();
        s_server = test::startUsershareServer(s_root->root(), kPassword, s_error);
    }
    static void TearDownTestSuite()
    {
        s_server.reset();
        s_root.reset();
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_server) << "could not start a private smbd: " << s_error;
        ::setenv("KORVALA_SMB_CONF", s_server->config().c_str(), 1);
    }
    void TearDown() override
    {
        for (const std::string& name : m_made)
            (void)DSiUnshareFolder(name);
        ::unsetenv("KORVALA_SMB_CONF");
    }
    // Shares and remembers to remove the share after the test.
    TShareOutcome share(const std::string& folder, const std::string& name, const std::string& comment)
    {
        TShareOutcome r = DSiShareFolder(folder, name, comment);
        if (r.done)
            m_made.push_back(name);
        return r;
    }
    static std::string offered()
    {
        std::string output, error;
        EXPECT_TRUE(s_server->listShares("root", kPassword, output, error)) << error;
        return output;
    }

    static std::unique_ptr<TTempTree> s_root;
    static std::unique_ptr<TSmbServer> s_server;
    static std::string s_error;
    std::vector<std::string> m_made;
};

std::unique_ptr<TTempTree> ShareTest::s_root;
std::unique_ptr<TSmbServer> ShareTest::s_server;
std::string ShareTest::s_error;

TEST_F(ShareTest, ShareIsOfferedListedReadableAndRemoved)
{
    const std::string folder = s_root->folder("data/Shared Folder");
    s_root->file("data/Shared Folder/hello.txt", "hello through the share");
    const TShareOutcome r = share(folder, "docs", "My documents");
    ASSERT_TRUE(r.done) << r.message;

    EXPECT_NE(offered().find("docs"), std::string::npos);
    std::string output, error;
    ASSERT_TRUE(s_server->clientAs("docs", "root", kPassword, "get hello.txt -", output, error)) << error;
    EXPECT_NE(output.find("hello through the share"), std::string::npos) << output;

    const std::string memo = GetShareInfo();
    EXPECT_EQ(memo.rfind(" \n Share name   Resource", 0), 0u) << memo;
    EXPECT_NE(memo.find("\n docs         " + folder), std::string::npos) << memo;
    EXPECT_NE(memo.find("My documents"), std::string::npos) << memo;
    EXPECT_NE(memo.find("\n share        "), std::string::npos) << "the configured share is listed too:\n" << memo;

    const TShareOutcome removed = DSiUnshareFolder("docs");
    EXPECT_TRUE(removed.done) << removed.message;
    m_made.clear();
    EXPECT_EQ(GetShareInfo().find("docs"), std::string::npos);
    EXPECT_EQ(offered().find("docs"), std::string::npos);
}

TEST_F(ShareTest, HostileNamesAndCommentsAreSharedIntactOrRefused)
{
    const std::string folder = s_root->folder("data/hostile");
    // Shared as they are: nothing is read as an option or by a shell.
    struct Intact {
        const char* name;
        const char* comment;
    } intact[] = {
        {"-dash", "-c"},
        {"it's", "$(touch /tmp/korvala-share-injected) `id` 'q' \"dq\" ;"},
        {"sp ace", "--help"},
    };
    for (const Intact& c : intact) {
        const TShareOutcome r = share(folder, c.name, c.comment);
        ASSERT_TRUE(r.done) << c.name << ": " << r.message;
        const std::string memo = GetShareInfo();
        EXPECT_NE(memo.find(std::string("\n ") + c.name), std::string::npos) << memo;
        EXPECT_NE(memo.find(c.comment), std::string::npos) << memo;
    }
    struct stat st;
    EXPECT_NE(::stat("/tmp/korvala-share-injected", &st), 0);

    // Refused with what net printed and what to do.
    const TShareOutcome semicolon = share(folder, "a;b", "x");
    EXPECT_FALSE(semicolon.done);
    EXPECT_NE(semicolon.message.find("contains invalid characters"), std::string::npos) << semicolon.message;
    EXPECT_NE(semicolon.message.find("A share name cannot contain"), std::string::npos) << semicolon.message;

    // A line break would break Samba's share file: refused before net runs.
    for (const auto& [name, comment] : {std::pair<std::string, std::string>{"nl", "two\nlines"}, {"n\nl", "x"}}) {
        const TShareOutcome r = share(folder, name, comment);
        EXPECT_FALSE(r.done);
        EXPECT_NE(r.message.find("line break"), std::string::npos) << r.message;
    }
    EXPECT_EQ(GetShareInfo().find("two"), std::string::npos);
}

TEST_F(ShareTest, NameInUseIsRefusedNotReplaced)
{
    const std::string first = s_root->folder("data/first");
    const std::string second = s_root->folder("data/second");
    ASSERT_TRUE(share(first, "Taken", "one").done);
    for (const char* name : {"Taken", "TAKEN", "share"}) {
        const TShareOutcome r = share(second, name, "two");
        EXPECT_FALSE(r.done) << name;
        EXPECT_NE(r.message.find("already exists"), std::string::npos) << r.message;
    }
    const std::string memo = GetShareInfo();
    EXPECT_NE(memo.find(first), std::string::npos) << memo;
    EXPECT_EQ(memo.find(second), std::string::npos) << memo;
}

TEST_F(ShareTest, EmptyInputsAndMissingShares)
{
    try {
        DSiShareFolder("", "", "");
        FAIL() << "an empty folder was accepted";
    } catch (const KorvalaError& e) {
        EXPECT_STREQ(e.what(), "DSiShareFolder: empty folder");
    }
    try {
        DSiShareFolder(s_root->root(), "", "");
        FAIL() << "an empty share name was accepted";
    } catch (const KorvalaError& e) {
        EXPECT_STREQ(e.what(), "DSiShareFolder: empty share name");
    }
    EXPECT_TRUE(missingResourceLocation(s_root->path("no such folder")));
    EXPECT_TRUE(missingResourceLocation(s_root->file("a file")));
    EXPECT_FALSE(missingResourceLocation(s_root->root()));
    EXPECT_FALSE(missingResourceLocation(""));

    const TShareOutcome nothing = DSiUnshareFolder("never-shared");
    EXPECT_FALSE(nothing.done);
    EXPECT_NE(nothing.message.find("unable to remove usershare"), std::string::npos) << nothing.message;
    EXPECT_NE(nothing.message.find("no share of that name"), std::string::npos) << nothing.message;

    const TShareOutcome configured = DSiUnshareFolder("share");
    EXPECT_FALSE(configured.done);
    EXPECT_NE(configured.message.find("only the administrator"), std::string::npos) << configured.message;
}

TEST_F(ShareTest, AnOrdinaryUserSharesOnlyOwnFoldersAndNeedsTheShareFolder)
{
    const std::string rootsFolder = s_root->folder("data/roots");
    const std::string answer = test::runAsNobody([&] { return DSiShareFolder(rootsFolder, "notmine", "").message; });
    EXPECT_NE(answer.find("restricted to only sharing directories we own"), std::string::npos) << answer;
    EXPECT_NE(answer.find("You can only share folders you own."), std::string::npos) << answer;

    // A share folder the user may not write: what a user outside the sharing
    // group meets.
    const std::string usershares = s_root->path("usershares");
    ASSERT_EQ(::chmod(usershares.c_str(), 01700), 0);
    const std::string own = s_root->folder("data/nobodys");
    ASSERT_EQ(::chown(own.c_str(), 65534, 65534), 0);
    const std::string denied = test::runAsNobody([&] { return DSiShareFolder(own, "nobodys", "").message; });
    ::chmod(usershares.c_str(), 01770);
    EXPECT_NE(denied.find("sambashare"), std::string::npos) << denied;

    const std::string shared = test::runAsNobody([&] {
        const TShareOutcome r = DSiShareFolder(own, "nobodys", "");
        return std::string(r.done ? "done" : r.message);
    });
    EXPECT_EQ(shared, "done");
    m_made.push_back("nobodys");
}

TEST_F(ShareTest, CommandLineSharesListsAndRemoves)
{
    const test::RunOptions env{.env = {"KORVALA_SMB_CONF=" + s_server->config()}};
    const std::string folder = s_root->folder("data/cli");
    const test::ProcessResult add = test::runCli({"share", "add", "--", "-cli", folder, "from the command line"}, env);
    EXPECT_EQ(add.exitCode, 0) << add.err;
    m_made.push_back("-cli");
    const test::ProcessResult list = test::runCli({"share", "list"}, env);
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_NE(list.out.find("-cli         " + folder), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("from the command line"), std::string::npos) << list.out;

    const test::ProcessResult again = test::runCli({"share", "add", "-CLI", folder}, env);
    EXPECT_EQ(again.exitCode, 2) << "an option-like name needs \"--\" in front: " << again.err;
    const test::ProcessResult missing = test::runCli({"share", "add", "x", s_root->path("data/missing")}, env);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Resource location doesn't exist!\n");

    const test::ProcessResult removed = test::runCli({"share", "remove", "--", "-cli"}, env);
    EXPECT_EQ(removed.exitCode, 0) << removed.err;
    const test::ProcessResult gone = test::runCli({"share", "remove", "--", "-cli"}, env);
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_NE(gone.err.find("unable to remove usershare"), std::string::npos) << gone.err;
}

// Servers that are not running, or do not let users share.
TEST(ShareServerStateTest, StoppedServerAndDisabledUsershares)
{
    TTempTree root;
    TSmbServer stopped(root.folder("stopped"), root.folder("data"));
    stopped.enableUsershares(root.path("usershares"), 0);
    stopped.configureOnly();
    std::string error;
    ASSERT_TRUE(stopped.start(error)) << error;
    ::setenv("KORVALA_SMB_CONF", stopped.config().c_str(), 1);
    EXPECT_EQ(GetShareInfo(), "The Server service is not started.");
    const TShareOutcome r = DSiShareFolder(root.folder("data/x"), "x", "");
    ::unsetenv("KORVALA_SMB_CONF");
    EXPECT_FALSE(r.done);
    EXPECT_NE(r.message.find("usershares are currently disabled"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("usershare max shares"), std::string::npos) << r.message;
}

}  // namespace
}  // namespace korvala
