// System state, console commands and run-time loaded functions, against the real
// machine: /proc, /sys, /bin/sh and the C library.

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <thread>
#include <vector>

#include "platform/ConsoleCommand.h"
#include "platform/LibraryCache.h"
#include "platform/SystemStatus.h"
#include "TempTree.h"

namespace korvala {
namespace {

int openDescriptorCount()
{
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (const dirent* e = ::readdir(dir))
            if (e->d_name[0] != '.')
                ++count;
        ::closedir(dir);
    }
    return count;
}

TEST(SystemStatus, MemoryLoadIsAPercentage)
{
    const uint32_t load = memoryLoadPercent();
    EXPECT_GT(load, 0u);
    EXPECT_LE(load, 100u);
}

TEST(SystemStatus, BatteryIsAPercentageOrUnknown)
{
    const uint32_t battery = batteryLifePercent();
    EXPECT_TRUE(battery <= 100 || battery == BATTERY_LIFE_UNKNOWN) << battery;
}

TEST(SystemStatus, UptimeCountsForward)
{
    const uint64_t first = uptimeMilliseconds();
    EXPECT_GT(first, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint64_t second = uptimeMilliseconds();
    EXPECT_GE(second, first + 30);
}

TEST(SystemStatus, FormatsUptime)
{
    EXPECT_EQ(formatUptime(0), "0 Day(s) 0 Hour(s) 0 Minute(s) 0 Second(s)");
    EXPECT_EQ(formatUptime(90061000), "1 Day(s) 1 Hour(s) 1 Minute(s) 1 Second(s)");
    EXPECT_EQ(formatUptime(86399999), "0 Day(s) 23 Hour(s) 59 Minute(s) 59 Second(s)");
    // Beyond 2^32 ms (49.7 days) the count goes on instead of starting again at 0.
    EXPECT_EQ(formatUptime(4294967296ULL), "49 Day(s) 17 Hour(s) 2 Minute(s) 47 Second(s)");
}

TEST(ConsoleCommand, CapturesOutputAndErrorInOrder)
{
    EXPECT_EQ(runConsoleCommand("echo out; echo err >&2; printf 'last'", ""), "out\nerr\nlast");
    EXPECT_EQ(runConsoleCommand("exit 3", ""), "");
    // Output larger than the pipe holds is read while the command still writes.
    EXPECT_EQ(runConsoleCommand("head -c 300000 /dev/zero | tr '\\0' x", "").size(), 300000u);
}

TEST(ConsoleCommand, CommandGetsDefaultSignals)
{
    // Ignored signals survive exec: a program that ignores SIGPIPE must not pass that
    // on, or "yes" would report a broken pipe instead of ending quietly.
    struct sigaction ignore{}, previous{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &previous);
    const std::string output = runConsoleCommand("yes | head -n 1", "");
    ::sigaction(SIGPIPE, &previous, nullptr);
    EXPECT_EQ(output, "y\n");
}

TEST(ConsoleCommand, RunsInTheWorkingFolder)
{
    test::TTempTree tmp;
    EXPECT_EQ(runConsoleCommand("pwd", tmp.path()), tmp.path() + "\n");
    EXPECT_EQ(runConsoleCommand("echo never", tmp.path() + "/missing"), "");
}

TEST(ConsoleCommand, LeaksNoDescriptors)
{
    // A descriptor of ours without close-on-exec must not reach the command.
    // (A high number, so that it cannot be the one ls opens to list the folder.)
    const int opened = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(opened, 0);
    const int stray = ::fcntl(opened, F_DUPFD, 57);
    ::close(opened);
    ASSERT_GE(stray, 57);
    const int before = openDescriptorCount();
    const std::string listing = runConsoleCommand("ls /proc/self/fd", "");
    EXPECT_EQ(openDescriptorCount(), before);
    EXPECT_EQ(listing.find(std::to_string(stray) + "\n"), std::string::npos) << listing;
    ::close(stray);
}

TEST(LibraryCache, FindsFunctionsAndRemembersMissingOnes)
{
    void* found = loadLibraryFunction("libc.so.6", "strlen");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(reinterpret_cast<size_t (*)(const char*)>(found)("korvala"), 7u);
    EXPECT_EQ(loadLibraryFunction("libc.so.6", "strlen"), found);
    EXPECT_EQ(loadLibraryFunction("libc.so.6", "korvala_no_such_function"), nullptr);
    EXPECT_EQ(loadLibraryFunction("libkorvala-missing.so.9", "strlen"), nullptr);

    std::vector<std::thread> threads;
    std::vector<void*> answers(8);
    for (size_t i = 0; i < answers.size(); ++i)
        threads.emplace_back([&answers, i] { answers[i] = loadLibraryFunction("libm.so.6", "cos"); });
    for (auto& t : threads)
        t.join();
    for (void* a : answers) {
        EXPECT_NE(a, nullptr);
        EXPECT_EQ(a, answers[0]);
    }
}

}  // namespace
}  // namespace korvala
