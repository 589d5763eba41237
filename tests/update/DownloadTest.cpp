// DownloadToFile against real servers on 127.0.0.1: only a whole 2xx answer
// becomes the file, and a failure never leaves a partial or foreign file.

#include <gtest/gtest.h>

#include <QSslConfiguration>

#include "Files.h"
#include "HttpServer.h"
#include "Process.h"
#include "UpdateTestSupport.h"
#include "update/Download.h"

namespace korvala {
namespace {

using namespace test;

class DownloadTest : public ServedUpdateTest {
protected:
    std::string target() const { return tree->path("runtime/update.ini"); }
};

TEST_F(DownloadTest, AWholeAnswerReplacesTheFile)
{
    serve("[53]\nVersion=2016.9\n");
    tree->file("runtime/update.ini", "old");
    ASSERT_TRUE(DownloadToFile(updateAddress(), target()));
    EXPECT_EQ(readFile(target()), "[53]\nVersion=2016.9\n");
    EXPECT_EQ(requests(), 1);
}

TEST_F(DownloadTest, ANotFoundAnswerIsAFailureAndLeavesTheFileAlone)
{
    tree->file("runtime/update.ini", "old");
    EXPECT_FALSE(DownloadToFile(updateAddress(), target()));
    EXPECT_EQ(readFile(target()), "old");  // the 404 page is not written over it
    EXPECT_FALSE(DownloadToFile(updateAddress(), tree->path("runtime/fresh.ini")));
    EXPECT_FALSE(fileExists(tree->path("runtime/fresh.ini")));
    EXPECT_EQ(namesIn(runtime), std::set<std::string>({"update.ini"}));  // no temporary file left
    EXPECT_EQ(requests(), 2);
}

TEST_F(DownloadTest, AddressesThatAreNotWebAddressesAreNotFetched)
{
    const std::string local = tree->file("local.ini", "[53]\nVersion=2099\n");
    const std::string addresses[] = {"file://" + local, local, "ftp://127.0.0.1/update.php", "", "http://",
        "127.0.0.1:" + std::to_string(server->port()) + "/update.php", "data:text/plain,[53]"};
    for (const std::string& address : addresses) {
        SCOPED_TRACE(address);
        EXPECT_FALSE(IsWebAddress(address));
        EXPECT_FALSE(DownloadToFile(address, target()));
        EXPECT_FALSE(fileExists(target()));
    }
    EXPECT_EQ(requests(), 0);
    EXPECT_TRUE(IsWebAddress("HTTPS://k.example/x"));
    EXPECT_TRUE(IsWebAddress(server->baseAddress()));
}

TEST_F(DownloadTest, AFileThatCannotBeWrittenIsAFailure)
{
    serve("[53]\nVersion=2016.9\n");
    EXPECT_FALSE(DownloadToFile(updateAddress(), tree->path("missing-folder/update.ini")));
    tree->folder("runtime/update.ini");  // a folder stands under the name
    EXPECT_FALSE(DownloadToFile(updateAddress(), target()));
}

TEST(DownloadHttpsTest, OnlyAServerWithATrustedCertificateIsBelieved)
{
    application();
    TTempTree dir;
    const std::string certificate = dir.path("certificate.pem");
    const std::string key = dir.path("key.pem");
    const ProcessResult made = runProcess({"openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt",
        "ec_paramgen_curve:prime256v1", "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
        "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", certificate});
    ASSERT_EQ(made.exitCode, 0) << describe(made);
    dir.folder("served");
    dir.file("served/update.php", "[53]\nVersion=2099\n");
    THttpServer server(dir.path("served"), dir.path("server.log"), certificate, key);
    std::string error;
    ASSERT_TRUE(server.start(error)) << error;
    ASSERT_EQ(server.baseAddress().rfind("https://127.0.0.1:", 0), 0u);
    // A certificate of its own making: the answer must not be taken.
    EXPECT_FALSE(DownloadToFile(server.baseAddress() + "/update.php", dir.path("update.ini")));
    EXPECT_FALSE(fileExists(dir.path("update.ini")));

    // Once the certificate is trusted, the same server is believed.
    const QSslConfiguration before = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusting = before;
    ASSERT_TRUE(trusting.addCaCertificates(QString::fromStdString(certificate)));
    QSslConfiguration::setDefaultConfiguration(trusting);
    EXPECT_TRUE(DownloadToFile(server.baseAddress() + "/update.php", dir.path("update.ini")));
    QSslConfiguration::setDefaultConfiguration(before);
    EXPECT_EQ(readFile(dir.path("update.ini")), "[53]\nVersion=2099\n");
}

TEST(DownloadCannedTest, TruncatedHugeAndNonSuccessAnswersAreFailures)
{
    application();
    TTempTree dir;
    const std::string target = dir.path("update.ini");
    const std::string huge(2 * 1024 * 1024, 'x');
    const struct {
        const char* name;
        std::string response;
        bool ok;
    } cases[] = {
        {"whole", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\nhello", true},
        {"no content length, closed at the end", "HTTP/1.0 200 OK\r\n\r\nhello", true},
        {"204 without a body", "HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n", true},
        {"body cut short", "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\nhello", false},
        {"above the size limit", "HTTP/1.0 200 OK\r\n\r\n" + huge, false},
        {"server error", "HTTP/1.1 500 Oops\r\nContent-Length: 5\r\nConnection: close\r\n\r\nhello", false},
        {"redirect nowhere", "HTTP/1.1 302 Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", false},
        {"redirect to a local file", "HTTP/1.1 302 Found\r\nLocation: file:///etc/hostname\r\nContent-Length: 0\r\n"
            "Connection: close\r\n\r\n", false},
        {"not HTTP at all", "hello\r\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TCannedHttpServer server(c.response);
        ASSERT_TRUE(server.listening());
        ::unlink(target.c_str());
        EXPECT_EQ(DownloadToFile(server.baseAddress() + "/update.php", target), c.ok);
        EXPECT_EQ(fileExists(target), c.ok);
        EXPECT_EQ(namesIn(dir.path()).size(), c.ok ? 1u : 0u);
        if (c.ok) {
            EXPECT_EQ(readFile(target), c.response.substr(c.response.find("\r\n\r\n") + 4));
        }
    }
}

TEST(DownloadCannedTest, AServerThatNeverAnswersEndsAtTheTimeout)
{
    application();
    TTempTree dir;
    TCannedHttpServer silent("", false);
    ASSERT_TRUE(silent.listening());
    TDownloadOptions options;
    options.timeoutMs = 200;
    EXPECT_FALSE(DownloadToFile(silent.baseAddress() + "/update.php", dir.path("update.ini"), options));
    EXPECT_EQ(silent.connections(), 1);
    EXPECT_FALSE(fileExists(dir.path("update.ini")));
}

}  // namespace
}  // namespace korvala
