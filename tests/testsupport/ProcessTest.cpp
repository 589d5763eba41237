// runProcess runs what it is asked, as whom it is asked, and reports what the
// program did: the CLI tests build on it.

#include <unistd.h>

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "Files.h"
#include "Process.h"

namespace korvala::test {
namespace {

TEST(Process, ReportsOutputsStatusAndSignal)
{
    const ProcessResult exited = runProcess({"sh", "-c", "echo out; echo err >&2; exit 3"});
    EXPECT_EQ(exited.exitCode, 3);
    EXPECT_EQ(exited.signal, 0);
    EXPECT_EQ(exited.out, "out\n");
    EXPECT_EQ(exited.err, "err\n");

    const ProcessResult killed = runProcess({"sh", "-c", "kill -TERM $$"});
    EXPECT_EQ(killed.exitCode, -1);
    EXPECT_EQ(killed.signal, 15);

    EXPECT_THROW(runProcess({"/nonexistent/program"}), std::runtime_error);
}

// Far more input than a pipe holds, echoed back: both directions are served
// at once.
TEST(Process, FeedsStandardInputWhileReading)
{
    const std::string input = randomBytes(1 << 20, 3);
    const ProcessResult r = runProcess({"cat"}, {.input = input});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_TRUE(r.out == input) << "got " << r.out.size() << " of " << input.size() << " bytes";
}

TEST(Process, ExtraEnvironmentReplacesTheTestsOwn)
{
    const ProcessResult r = runProcess({"printenv", "HOME", "KORVALA_EXTRA"},
        {.env = {"HOME=/elsewhere", "KORVALA_EXTRA=1"}});
    EXPECT_EQ(r.out, "/elsewhere\n1\n") << describe(r);
}

TEST(Process, UnprivilegedRunsAsNobodyWithoutGroups)
{
    const ProcessResult r = runProcess({"id", "-u"}, {.unprivileged = true});
    ASSERT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_EQ(r.out, "65534\n");
    EXPECT_EQ(runProcess({"id", "-G"}, {.unprivileged = true}).out, "65534\n");
}

TEST(Process, RunAsNobodyAnswersFromTheOrdinaryUser)
{
    EXPECT_EQ(runAsNobody([] { return std::to_string(::getuid()) + "/" + std::to_string(::getgid()); }),
        "65534/65534");
    EXPECT_EQ(runAsNobody([]() -> std::string { throw std::runtime_error("refused"); }), "exception: refused");
}

}  // namespace
}  // namespace korvala::test
