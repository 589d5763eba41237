// korvala-cli update-check against a real web server on 127.0.0.1: what it
// prints and its exit status for each kind of answer.

#include <gtest/gtest.h>

#include "Process.h"
#include "UpdateTestSupport.h"

namespace korvala {
namespace {

using namespace test;

class UpdateCliTest : public ServedUpdateTest {
protected:
    ProcessResult updateCheck(std::vector<std::string> args = {}) const
    {
        args.insert(args.begin(), "update-check");
        return runCli(args, {.env = {"KORVALA_UPDATE_SERVER=" + server->baseAddress(), "XDG_RUNTIME_DIR=" + runtime}});
    }
};

const char kFailedLines[] = "Update Check failed!\n\nPlease check your Internet Connection or Choose another Server!\n";

TEST_F(UpdateCliTest, PrintsBothVersionsAndTheResult)
{
    const struct {
        const char* name;
        const char* served;
        int exitCode;
        std::string out;
        std::string err;
    } cases[] = {
        {"newer", "[53]\nVersion=2016.10\nDLink=https://k.example/get?v=2016.10\n", 3,
            "Current version: 2016.8\nLatest version: 2016.10\nNEW Updates Available, Click here to Download!\n"
            "Download: https://k.example/get?v=2016.10\n", ""},
        {"newer, file: link", "[53]\nVersion=2017\nDLink=file:///etc/passwd\n", 3,
            "Current version: 2016.8\nLatest version: 2017\nNEW Updates Available, Click here to Download!\n", ""},
        {"same", "[53]\nVersion=2016.8\n", 0,
            "Current version: 2016.8\nLatest version: 2016.8\nNO Updates Available\n", ""},
        {"escape sequences in the version", "[53]\nVersion=2016.8\x1b]0;owned\x07\n", 0,
            "Current version: 2016.8\nLatest version: 2016.8?]0;owned?\nNO Updates Available\n", ""},
        {"no section 53", "[54]\nVersion=2099\n", 1,
            "Current version: 2016.8\nLatest version: -\nUpdate Check failed!\n", kFailedLines},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        serve(c.served);
        const ProcessResult r = updateCheck();
        EXPECT_EQ(r.exitCode, c.exitCode) << describe(r);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

TEST_F(UpdateCliTest, AMissingFileIsAFailure)
{
    const ProcessResult r = updateCheck();
    EXPECT_EQ(r.exitCode, 1) << describe(r);
    EXPECT_EQ(r.out, "Current version: 2016.8\nLatest version: -\nUpdate Check failed!\n");
    EXPECT_EQ(r.err, kFailedLines);
    EXPECT_EQ(requests(), 1);
}

TEST_F(UpdateCliTest, ServerOptionTakesAWebAddressOnly)
{
    serve("[53]\nVersion=2016.9\n", "other/update.php");
    ProcessResult r = updateCheck({"--server", server->baseAddress() + "/other"});
    EXPECT_EQ(r.exitCode, 3) << describe(r);
    EXPECT_NE(r.out.find("Latest version: 2016.9\n"), std::string::npos) << r.out;

    tree->folder("local");
    tree->file("local/update.php", "[53]\nVersion=2099\n");
    for (const std::string& bad : {"file://" + tree->path("local"), tree->path("local"), std::string("ftp://127.0.0.1")}) {
        SCOPED_TRACE(bad);
        r = updateCheck({"--server", bad});
        EXPECT_EQ(r.exitCode, 2) << describe(r);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(requests(), 1);
}

}  // namespace
}  // namespace korvala
