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

// A web server over a folder of its own for each test, and XDG_RUNTIME_DIR
// in the test's tree, so that the update file is kept there.
class ServedUpdateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        application();
        tree = std::make_unique<TTempTree>();
        served = tree->folder("served");
        runtime = tree->folder("runtime", 0700);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        server = std::make_unique<THttpServer>(served, tree->path("server.log"));
        std::string error;
        ASSERT_TRUE(server->start(error)) << error;
    }

    void TearDown() override
    {
        server.reset();
        ::unsetenv("XDG_RUNTIME_DIR");
        tree.reset();
    }

    // What the server answers for "/update.php".
    void serve(const std::string& content) const { tree->file("served/update.php", content); }
    std::string updateAddress() const { return server->baseAddress() + "/update.php"; }
    std::string keptFile() const { return runtime + "/korvala/update.ini"; }

    std::unique_ptr<TTempTree> tree;
    std::unique_ptr<THttpServer> server;
    std::string served;
    std::string runtime;
};

}  // namespace korvala::test
