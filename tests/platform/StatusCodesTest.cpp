// The code-returning forms of the console command and the status values: a
// failure says why, where the plain forms can only give an empty or zero value.

#include <gtest/gtest.h>

#include <cerrno>

#include "TempTree.h"
#include "platform/ConsoleCommand.h"
#include "platform/SystemError.h"
#include "platform/SystemStatus.h"

namespace korvala {
namespace {

TEST(StatusCodes, ConsoleCommandSaysWhyItDidNotRun)
{
    test::TTempTree tmp;
    std::string output = "stale";
    EXPECT_EQ(runConsoleCommand("echo never", tmp.path() + "/missing", output), systemError(ENOENT));
    EXPECT_EQ(output, "");
    // A command that runs and fails is no error: its output is the answer.
    EXPECT_FALSE(runConsoleCommand("echo partial; exit 3", tmp.path(), output));
    EXPECT_EQ(output, "partial\n");
}

TEST(StatusCodes, MemoryLoadAndUptime)
{
    uint32_t load = 999;
    ASSERT_FALSE(readMemoryLoad(load));
    EXPECT_LE(load, 100u);
    uint64_t uptime = 0;
    ASSERT_FALSE(readUptime(uptime));
    EXPECT_GT(uptime, 0u);
}

}  // namespace
}  // namespace korvala
