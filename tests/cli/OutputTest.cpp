// korvala-cli output that cannot be written (a full disk) fails the run: a
// script must not take a report that never arrived for a success.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Process.h"
#include "TempTree.h"

namespace korvala {
namespace {

TEST(CliOutput, AFullDiskFailsEveryCommand)
{
    test::TTempTree tree;
    const std::string file = tree.file("a.txt", "x");
    const std::vector<std::vector<std::string>> cases = {
        {"attrib", file},
        {"times", file},
        {"seek", "--name", "a.txt", tree.root()},
        {"seek", "--json", "--name", "a.txt", tree.root()},
        {"seek", "-0", "--name", "a.txt", tree.root()},
        {"hash", file},
        {"hash", "--json", file},
        {"verify", "-a", "MD5", file, "9DD4E461268C8034F5C8564E155C67A6"},
        {"compare", file, file},
    };
    for (const auto& args : cases) {
        const test::ProcessResult written = test::runCli(args);
        ASSERT_EQ(written.exitCode, 0) << args[0] << ": " << test::describe(written);
        const test::ProcessResult r = test::runCli(args, {.outputFile = "/dev/full"});
        EXPECT_EQ(r.exitCode, 1) << args[0] << ": " << test::describe(r);
        const std::string text = "Cannot write the output. No space left on device\n";
        EXPECT_TRUE(r.err.size() >= text.size() && r.err.compare(r.err.size() - text.size(), text.size(), text) == 0)
            << args[0] << ": " << r.err;
    }
}

}  // namespace
}  // namespace korvala
