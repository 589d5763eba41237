#pragma once
// What the update tests share: the one application object that the
// downloads need, a served folder on a real web server on 127.0.0.1, and
// the private temporary folder of the check pointed into a test's tree.

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "Files.h"
#include "HttpServer.h"
#include "TempTree.h"

namespace korvala::test {

inline QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "test_update";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

inline bool fileExists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The names in a folder, "." and ".." left out.
inline std::set<std::string> namesIn(const std::string& folder)
{
    std::set<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                names.insert(entry->d_name);
        ::closedir(dir);
    }
    return names;
}

// One web server on 127.0.0.1 for a suite, over a folder that each test
// fills anew, and XDG_RUNTIME_DIR in a fresh folder of each test, so that
// the update file is kept there.
class ServedUpdateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        application();
        s_root = std::make_unique<TTempTree>();
        s_server = THttpServer::started(s_root->folder("served"), s_root->path("server.log"), s_error);
    }
    static void TearDownTestSuite()
    {
        s_server.reset();
        s_root.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_server) << "could not start python3 -m http.server: " << s_error;
        server = s_server.get();
        served = s_root->path("served");
        removeTree(served);
        s_root->folder("served");
        tree = std::make_unique<TTempTree>();
        runtime = tree->folder("runtime", 0700);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        m_requestsBefore = server->requests();
    }

    void TearDown() override
    {
        ::unsetenv("XDG_RUNTIME_DIR");
        tree.reset();
    }

    // What the server answers for "/update.php", and for other names.
    void serve(const std::string& content, const std::string& name = "update.php") const
    {
        const size_t slash = name.rfind('/');
        if (slash != std::string::npos)
            s_root->folder("served/" + name.substr(0, slash));
        s_root->file("served/" + name, content);
    }
    std::string updateAddress() const { return server->baseAddress() + "/update.php"; }
    std::string keptFile() const { return runtime + "/korvala/update.ini"; }
    // The requests the server took during this test.
    int requests() const { return server->requests() - m_requestsBefore; }

    std::unique_ptr<TTempTree> tree;  // the test's own files
    THttpServer* server = nullptr;
    std::string served;
    std::string runtime;

private:
    int m_requestsBefore = 0;
    static inline std::unique_ptr<TTempTree> s_root;
    static inline std::unique_ptr<THttpServer> s_server;
    static inline std::string s_error;
};

}  // namespace korvala::test
