// absolutePath: the one full-path expansion of the program, used by the error
// texts and the search's target folders alike.

#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "TempTree.h"

namespace korvala {
namespace {

// Runs the body with the working folder set to `folder`, then puts it back.
template <typename Body>
void inFolder(const std::string& folder, Body body)
{
    const std::string saved = std::filesystem::current_path().string();
    ASSERT_EQ(::chdir(folder.c_str()), 0);
    body();
    ASSERT_EQ(::chdir(saved.c_str()), 0);
}

TEST(AbsolutePath, ResolvesNamesAndKeepsAFolderSlash)
{
    test::TTempTree tmp;
    const std::string cwd = tmp.path();
    struct Case {
        const char* path;
        std::string expected;
    };
    const Case cases[] = {
        {"/tmp/x", "/tmp/x"},
        {"/tmp/x/", "/tmp/x/"},  // names a folder: the slash stays
        {"/tmp//x///", "/tmp/x/"},
        {"/tmp/./x/../y", "/tmp/y"},
        {"/tmp/x/.", "/tmp/x/"},
        {"/tmp/x/..", "/tmp/"},
        {"/../..", "/"},
        {"/", "/"},
        {"//", "/"},
        {"a/b", cwd + "/a/b"},
        {"./sub/../gone.txt", cwd + "/gone.txt"},
        {".", cwd + "/"},
        {"..", std::filesystem::path(cwd).parent_path().string() + "/"},
        {"", cwd},  // the working folder itself
        {"caf\xC3\xA9/\xFF", cwd + "/caf\xC3\xA9/\xFF"},  // bytes pass through
    };
    inFolder(cwd, [&] {
        for (const Case& c : cases)
            EXPECT_EQ(absolutePath(c.path), c.expected) << '"' << c.path << '"';
        EXPECT_EQ(currentFolder(), cwd);
    });
}

// The error texts used the standard library's expansion before; every path a
// user can type gives the same text as then.
TEST(AbsolutePath, AgreesWithTheStandardExpansion)
{
    test::TTempTree tmp;
    const char* paths[] = {"/tmp/x/", "x/y/", "x/./y", "x/../../y", "/a/b/../../..", "./", "x//y", "/x/y/.."};
    inFolder(tmp.path(), [&] {
        for (const char* p : paths)
            EXPECT_EQ(absolutePath(p), std::filesystem::absolute(p).lexically_normal().string()) << p;
    });
}

}  // namespace
}  // namespace korvala
