// The update check from the connection test to the result, against a real
// web server on 127.0.0.1, and where its servers and its file are.

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Files.h"
#include "UpdateTestSupport.h"
#include "update/UpdateCheck.h"

namespace korvala {
namespace {

using namespace test;

// What the check showed, in order: "result OUTCOME LATEST LINK", "error TEXT"
// or "box TEXT".
class TRecordingView final : public TUpdateCheckView {
public:
    std::vector<std::string> shown;

    void showResult(const TUpdateResult& result) override
    {
        static const char* const names[] = {"Failed", "NoUpdate", "NewUpdate"};
        shown.push_back(std::string("result ") + names[static_cast<int>(result.outcome)] + " " + result.latest + " " +
            result.downloadLink);
    }
    void showMessage(const std::string& text, bool errorIcon) override
    {
        shown.push_back((errorIcon ? "error " : "box ") + text);
    }
};

const std::string kFailed = "result Failed - ";
const std::string kFailedError = std::string("error ") + kUpdateFailedText;
const std::string kFailedBox = std::string("box ") + kUpdateFailedText;

class UpdateCheckTest : public ServedUpdateTest {
protected:
    std::vector<std::string> check(const TUpdateCheckOptions& options = {}) const
    {
        TRecordingView view;
        RunUpdateCheck("2016.8", updateAddress(), kProductNumber, view, options);
        return view.shown;
    }
};

TEST_F(UpdateCheckTest, TheServedFileDecidesTheResult)
{
    const struct {
        const char* name;
        const char* served;  // nullptr: no file on the server (404)
        std::vector<std::string> shown;
    } cases[] = {
        {"newer", "[53]\nVersion=2016.9\nDLink=https://k.example/get\n", {"result NewUpdate 2016.9 https://k.example/get"}},
        {"newer without a link", "[53]\nVersion=2017\n", {"result NewUpdate 2017 "}},
        {"same version", "[53]\nVersion=2016.8\nDLink=https://k.example/get\n", {"result NoUpdate 2016.8 "}},
        {"older", "[53]\nVersion=2015.12.9\n", {"result NoUpdate 2015.12.9 "}},
        {"a fourth part only", "[53]\nVersion=2016.8.0.5\n", {"result NoUpdate 2016.8.0.5 "}},
        {"file: link", "[53]\nVersion=2016.9\nDLink=file:///bin/sh\n", {"result NewUpdate 2016.9 "}},
        {"local path link", "[53]\nVersion=2016.9\nDLink=/usr/bin/xterm\n", {"result NewUpdate 2016.9 "}},
        {"other scheme link", "[53]\nVersion=2016.9\nDLink=javascript:alert(1)\n", {"result NewUpdate 2016.9 "}},
        {"link with an escape", "[53]\nVersion=2016.9\nDLink=https://k.example/\x1b[2J\n", {"result NewUpdate 2016.9 "}},
        {"no section 53", "[52]\nVersion=2016.9\n", {kFailed, kFailedError}},
        {"empty Version", "[53]\nVersion=\nDLink=https://k.example/get\n", {kFailed, kFailedError}},
        {"Version \"-\"", "[53]\nVersion=-\n", {kFailed, kFailedError}},
        {"not an INI file", "<html>captive portal</html>", {kFailed, kFailedError}},
        {"missing file", nullptr, {kFailed, kFailedError}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::unlink((served + "/update.php").c_str());
        if (c.served)
            serve(c.served);
        EXPECT_EQ(check(), c.shown);
    }
}

TEST_F(UpdateCheckTest, ALastCheckIsNeverReadAgain)
{
    serve("[53]\nVersion=2016.9\n");
    ASSERT_EQ(check(), std::vector<std::string>({"result NewUpdate 2016.9 "}));
    EXPECT_EQ(readFile(keptFile()), "[53]\nVersion=2016.9\n");
    ::unlink((served + "/update.php").c_str());
    EXPECT_EQ(check(), std::vector<std::string>({kFailed, kFailedError}));
    EXPECT_FALSE(fileExists(keptFile()));
}

TEST_F(UpdateCheckTest, WithoutAConnectionTheServerIsNotAsked)
{
    serve("[53]\nVersion=2016.9\n");
    TUpdateCheckOptions options;
    std::string asked;
    options.isConnected = [&](const std::string& address) {
        asked = address;
        return false;
    };
    EXPECT_EQ(check(options), std::vector<std::string>({kFailed, std::string("error ") + kNotConnectedText}));
    EXPECT_EQ(asked, updateAddress());
    EXPECT_EQ(requests(), 0);
    // A server on this machine needs no network.
    EXPECT_TRUE(IsConnectedFor(updateAddress()));
    EXPECT_TRUE(IsConnectedFor("http://localhost:1/update.php"));
    EXPECT_TRUE(IsConnectedFor("http://[::1]:1/update.php"));
}

TEST_F(UpdateCheckTest, APreparationThatFailsShowsBothMessagesAndReadsNothing)
{
    serve("[53]\nVersion=2016.9\n");
    // The private folder's name is taken by a file.
    tree->file("runtime/korvala", "[53]\nVersion=2099\n");
    EXPECT_EQ(check(), std::vector<std::string>({kFailed, kFailedBox, kFailed, kFailedError}));
    EXPECT_EQ(requests(), 0);
}

TEST_F(UpdateCheckTest, AFolderOfAnotherUserIsNotTrusted)
{
    serve("[53]\nVersion=2016.9\n");
    // Another user made the folder first and left an update file of theirs.
    const std::string folder = tree->folder("runtime/korvala", 0777);
    tree->file("runtime/korvala/update.ini", "[53]\nVersion=2099\nDLink=https://elsewhere.example/\n", 0666);
    ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    EXPECT_EQ(check(), std::vector<std::string>({kFailed, kFailedBox, kFailed, kFailedError}));
    EXPECT_EQ(requests(), 0);
}

TEST_F(UpdateCheckTest, TheKeptFileIsPrivateToTheUser)
{
    serve("[53]\nVersion=2016.9\n");
    tree->folder("runtime/korvala", 0755);
    ASSERT_EQ(check(), std::vector<std::string>({"result NewUpdate 2016.9 "}));
    struct stat st {};
    ASSERT_EQ(::stat((runtime + "/korvala").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    ASSERT_EQ(::stat(keptFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
}

TEST_F(UpdateCheckTest, AServerThatNeverAnswersFailsAtTheTimeout)
{
    TCannedHttpServer silent("", false);
    ASSERT_TRUE(silent.listening());
    TUpdateCheckOptions options;
    options.download.timeoutMs = 200;
    TRecordingView view;
    RunUpdateCheck("2016.8", updateAddressOf(silent.baseAddress()), kProductNumber, view, options);
    EXPECT_EQ(view.shown, std::vector<std::string>({kFailed, kFailedError}));
    EXPECT_EQ(silent.connections(), 1);
}

TEST(UpdateServers, ServerTwoCanBeReplacedByAWebAddressOnly)
{
    ::unsetenv("KORVALA_UPDATE_SERVER");
    const auto builtIn = updateServers();
    ASSERT_EQ(builtIn.size(), 3u);
    for (const TUpdateServer& server : builtIn) {
        EXPECT_EQ(server.dead, server.number != kLiveServer);
        EXPECT_EQ(server.baseAddress.rfind("https://", 0), 0u) << server.baseAddress;
    }
    const struct {
        const char* value;
        std::string server2;
    } cases[] = {
        {"http://127.0.0.1:8080", "http://127.0.0.1:8080"},
        {"https://mirror.example/korvala//", "https://mirror.example/korvala"},
        {"file:///tmp", builtIn[1].baseAddress},
        {"/tmp/mirror", builtIn[1].baseAddress},
        {"", builtIn[1].baseAddress},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        ::setenv("KORVALA_UPDATE_SERVER", c.value, 1);
        const auto servers = updateServers();
        EXPECT_EQ(servers[1].baseAddress, c.server2);
        EXPECT_EQ(servers[0].baseAddress, builtIn[0].baseAddress);
        EXPECT_EQ(servers[2].baseAddress, builtIn[2].baseAddress);
    }
    ::unsetenv("KORVALA_UPDATE_SERVER");
    EXPECT_EQ(updateAddressOf("https://k.example/"), "https://k.example/update.php");
    EXPECT_EQ(updateAddressOf("https://k.example"), "https://k.example/update.php");
}

TEST(GetTempFolder, IsTheUsersPrivateFolderWithATrailingSlash)
{
    const std::string uid = std::to_string(::getuid());
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string originalTmpdir = tmpdir ? tmpdir : "";
    const struct {
        const char* runtime;  // nullptr: unset
        const char* tmpdir;
        std::string folder;
    } cases[] = {
        {"/run/user/7", nullptr, "/run/user/7/korvala/"},
        {"/run/user/7/", "/var/tmp", "/run/user/7/korvala/"},
        {nullptr, nullptr, "/tmp/korvala-" + uid + "/"},
        {nullptr, "/var/tmp/", "/var/tmp/korvala-" + uid + "/"},
        {"relative", "also-relative", "/tmp/korvala-" + uid + "/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        c.runtime ? ::setenv("XDG_RUNTIME_DIR", c.runtime, 1) : ::unsetenv("XDG_RUNTIME_DIR");
        c.tmpdir ? ::setenv("TMPDIR", c.tmpdir, 1) : ::unsetenv("TMPDIR");
        EXPECT_EQ(GetTempFolder(), c.folder);
    }
    ::unsetenv("XDG_RUNTIME_DIR");
    tmpdir ? ::setenv("TMPDIR", originalTmpdir.c_str(), 1) : ::unsetenv("TMPDIR");
}

}  // namespace
}  // namespace korvala
