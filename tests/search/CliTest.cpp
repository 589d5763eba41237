// korvala-cli seek as a user runs it: output, exit status, options.

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SearchTestSupport.h"
#include "platform/FileAttributes.h"

namespace korvala {
namespace {

using test::TempTree;

struct CliRun {
    int status = -1;
    std::string out;
};

std::string quote(const std::string& s)
{
    std::string q(1, '\'');
    for (char c : s) {
        if (c == '\'')
            q.append("'\\''");
        else
            q.push_back(c);
    }
    q.push_back('\'');
    return q;
}

CliRun seek(const std::vector<std::string>& args)
{
    std::string cmd = std::string(KORVALA_CLI_PATH) + " seek";
    for (const std::string& a : args) {
        cmd.push_back(' ');
        cmd.append(quote(a));
    }
    cmd += " 2>/dev/null";
    CliRun r;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0)
        r.out.append(buf.data(), n);
    int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.file("a.txt", std::string(700, 'a') + " Needle here");
        t.file("b.log", "no match");
        t.file("README", "plain");
        t.dir("sub");
        t.file("sub/c.txt", "needles");
        t.file("sub/.d.txt", "hidden");
    }
    TempTree t;
};

TEST_F(CliTest, PathsInEngineOrderAndExitStatus)
{
    CliRun r = seek({"--name", "*.txt", t.root()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, t.path("a.txt") + "\n" + t.path("sub/c.txt") + "\n");

    r = seek({"--name", "*.nothing", t.root()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");

    r = seek({"--name", "*.txt", "--no-subfolders", t.root() + "/"});
    EXPECT_EQ(r.out, t.path("a.txt") + "\n");

    // A location that is not a folder is skipped; nothing left means no match.
    r = seek({t.path("missing"), t.path("a.txt")});
    EXPECT_EQ(r.status, 1);

    r = seek({"--name", "*.txt", "1>" + t.root()});  // level prefix: root only
    EXPECT_EQ(r.out, t.path("a.txt") + "\n");
}

TEST_F(CliTest, ContentAttributesAndSize)
{
    EXPECT_EQ(seek({"--contains", "needle", t.root()}).out, t.path("a.txt") + "\n" + t.path("sub/c.txt") + "\n");
    EXPECT_EQ(seek({"--contains", "needle", "--whole-word", t.root()}).out, t.path("a.txt") + "\n");
    EXPECT_EQ(seek({"--contains", "Needle", "--case-sensitive", t.root()}).out, t.path("a.txt") + "\n");
    EXPECT_EQ(seek({"--contains", "needle", "--exclude", "--name", "*.txt;*.log", t.root()}).out,
        t.path("b.log") + "\n");
    EXPECT_EQ(seek({"--attr", "Hidden=set", t.root()}).out, t.path("sub/.d.txt") + "\n");
    CliRun r = seek({"--attr", "Directory=ignore", "--name", "sub", t.root()});
    EXPECT_EQ(r.out, t.path("sub") + "\n");
    EXPECT_EQ(seek({"--min-size", "1KB", t.root()}).status, 1);
    EXPECT_EQ(seek({"--min-size", "700", "--max-size", "1kb", t.root()}).out, t.path("a.txt") + "\n");
    EXPECT_EQ(seek({"--modified-before", "2000-01-01", t.root()}).status, 1);
    EXPECT_EQ(seek({"--modified-after", "2000-01-01,00:00", "--name", "README", t.root()}).out,
        t.path("README") + "\n");
}

TEST_F(CliTest, RowsAndBadUsage)
{
    ASSERT_FALSE(setFileAttributes(t.path("a.txt"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    CliRun r = seek({"--rows", "--name", "a.txt;sub", "--attr", "Directory=ignore", t.root()});
    ASSERT_EQ(r.status, 0);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < r.out.size()) {
        size_t nl = r.out.find('\n', start);
        lines.push_back(r.out.substr(start, nl - start));
        start = nl + 1;
    }
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, lines[0].find('\t', 12) + 1), "a.txt\t1\t_R_A_\t");
    EXPECT_EQ(lines[0].substr(lines[0].rfind('\t') + 1), t.root() + "/");
    EXPECT_EQ(lines[1].substr(0, 17), "sub\tFolder\t____D\t");

    EXPECT_EQ(seek({"--attr", "Bogus=set", t.root()}).status, 2);
    EXPECT_EQ(seek({"--attr", "Hidden=maybe", t.root()}).status, 2);
    EXPECT_EQ(seek({"--min-size", "12XB", t.root()}).status, 2);
    EXPECT_EQ(seek({"--created-after", "2020-13-01", t.root()}).status, 2);
    EXPECT_EQ(seek({"--created-after", "25:00", t.root()}).status, 2);
    EXPECT_EQ(seek({}).status, 2);  // a location is required
}

}  // namespace
}  // namespace korvala
