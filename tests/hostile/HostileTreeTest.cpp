// Trees built to trip a walker or a reader, run through korvala-cli as an
// ordinary user: a link loop, links into /proc and /dev, a FIFO (and a link
// to it), a socket, a folder the user may not enter, and a chain of 10,000
// folders. Every command ends, lists what it can read, passes over the rest,
// and never opens what is not a regular file.

#include <algorithm>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Files.h"
#include "HostileSupport.h"
#include "Process.h"
#include "TempTree.h"

namespace korvala::test {
namespace {

std::vector<std::string> sortedLines(const std::string& text)
{
    std::vector<std::string> lines = splitLines(text);
    std::sort(lines.begin(), lines.end());
    return lines;
}

// The names in the rows of `dupes` output (its third cell).
std::vector<std::string> dupesNames(const std::string& out)
{
    std::vector<std::string> names;
    for (const std::string& line : splitLines(out)) {
        const size_t first = line.find('\t'), second = line.find('\t', first + 1);
        names.push_back(line.substr(second + 1, line.find('\t', second + 1) - second - 1));
    }
    std::sort(names.begin(), names.end());
    return names;
}

class HostileTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::chmod(tree.root().c_str(), 0755), 0);
        tree.folder("plain");
        tree.file("plain/a.txt", "same");
        tree.file("plain/b.txt", "same");
        tree.file(".dot", "x");
        tree.symlink("loop", ".");
        tree.symlink("loopA", "loopB");
        tree.symlink("loopB", "loopA");
        tree.symlink("proc", "/proc");
        tree.symlink("dev", "/dev");
        tree.symlink("zero", "/dev/zero");
        tree.symlink("urandom", "/dev/urandom");
        tree.fifo("fifo", 0666);
        ASSERT_EQ(::chmod(tree.path("fifo").c_str(), 0666), 0);
        tree.symlink("fifolink", "fifo");
        bindSocket(tree.path("sock"));
        tree.folder("locked", 0700);
        tree.file("locked/secret.txt", "same");
        tree.file("locked/.hid", "same");
    }

    ProcessResult asNobody(const std::vector<std::string>& args) { return runCli(args, {.unprivileged = true}); }

    TTempTree tree{"/dev/shm"};
};

TEST_F(HostileTree, EveryCommandEndsAndListsOnlyWhatItCanRead)
{
    TFifoWatch fifo(tree.path("fifo"));
    const std::string a = tree.path("plain/a.txt"), b = tree.path("plain/b.txt");

    ProcessResult r = asNobody({"seek", tree.root()});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    const std::vector<std::string> seen = sortedLines(r.out);
    EXPECT_TRUE(std::binary_search(seen.begin(), seen.end(), a)) << r.out;
    for (const std::string& line : seen)
        for (const char* beyond : {"/locked/", "/loop/", "/proc/", "/dev/", "/loopA/"})
            EXPECT_EQ(line.find(tree.root() + beyond), std::string::npos) << line;

    r = asNobody({"seek", "--contains", "same", tree.root()});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_EQ(sortedLines(r.out), (std::vector<std::string>{a, b}));

    r = asNobody({"dupes", "--recursive", tree.root()});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_EQ(dupesNames(r.out), (std::vector<std::string>{"a.txt", "b.txt"})) << r.out;

    r = asNobody({"hidden", tree.root()});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_EQ(r.out, tree.path(".dot") + "\n");

    // CRC32 of what cannot be read is eight zeros and no error.
    const std::vector<std::string> unreadable{"fifo", "fifolink", "sock", "zero", "urandom", "loopA", "locked/secret.txt",
        "dev", "missing"};
    std::vector<std::string> args{"hash", "-a", "CRC32", a};
    for (const std::string& name : unreadable)
        args.push_back(tree.path(name));
    r = asNobody(args);
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    std::string expected = "Filename   : " + a + "\nCRC32      : FC50F144\n\n";
    for (const std::string& name : unreadable)
        expected += "Filename   : " + tree.path(name) + "\nCRC32      : 00000000\n\n";
    EXPECT_EQ(r.out, expected);

    // Every other digest fails to open them: the run ends at the first one.
    for (const char* name : {"fifo", "fifolink", "sock", "zero", "locked/secret.txt"}) {
        r = asNobody({"hash", "-a", "MD5", tree.path(name), a});
        EXPECT_EQ(r.exitCode, 1) << name << ": " << describe(r);
        EXPECT_EQ(r.err.rfind("TFileStreamW: Cannot open file \"" + tree.path(name) + "\". ", 0), 0u) << r.err;
        EXPECT_EQ(r.out, "Filename   : " + tree.path(name) + "\n");
    }

    EXPECT_FALSE(fifo.openedByOthers()) << "a command opened the FIFO";
}

// A chain of 10,000 folders: paths far beyond PATH_MAX, reached by every
// command as any other path is.
class DeepTree : public ::testing::Test {
protected:
    static constexpr int kDepth = 10000;
    static constexpr int kFilled[] = {10, 5000, kDepth};

    void SetUp() override
    {
        ASSERT_EQ(::chmod(tree.root().c_str(), 0755), 0);
        int fd = ::open(tree.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        std::string path = tree.root();
        for (int level = 1; level <= kDepth; ++level) {
            ASSERT_EQ(::mkdirat(fd, "d", 0755), 0) << level;
            const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = next;
            path += "/d";
            if (std::find(std::begin(kFilled), std::end(kFilled), level) != std::end(kFilled)) {
                for (const char* name : {"x.txt", "y.txt"}) {
                    const int file = ::openat(fd, name, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
                    ASSERT_EQ(::write(file, "same", 4), 4);
                    ::close(file);
                    files.push_back(path + "/" + name);
                }
            }
        }
        const int hid = ::openat(fd, ".hid", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ::close(hid);
        hidden = path + "/.hid";
        ::close(fd);
        std::sort(files.begin(), files.end());
    }

    TTempTree tree{"/dev/shm"};
    std::vector<std::string> files;
    std::string hidden;
};

TEST_F(DeepTree, EveryCommandReachesTheDeepestFolder)
{
    ProcessResult r = runCli({"seek", "--name", "*.txt", tree.root()}, {.unprivileged = true});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_EQ(sortedLines(r.out), files);

    r = runCli({"dupes", "--recursive", tree.root()}, {.unprivileged = true});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    const std::vector<std::string> rows = splitLines(r.out);
    EXPECT_EQ(rows.size(), files.size());
    for (const std::string& row : rows)
        EXPECT_EQ(row.rfind("0\tFC50F144\t", 0), 0u) << row.substr(0, 200);

    r = runCli({"hidden", "--json", tree.root()}, {.unprivileged = true});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_EQ(r.out, "{\"path\":\"" + hidden + "\",\"attributes\":\"__H__\",\"attribute_word\":2,\"hidden_by_name\":true}\n");

    r = runCli({"hash", "-a", "CRC32", "-a", "SHA-1", files.back()}, {.unprivileged = true});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_EQ(r.out, "Filename   : " + files.back() + "\nCRC32      : FC50F144\nSHA-1      : "
                         "FF3390557335BA88D37755E41514BEB03BC499EC\n\n");
}

}  // namespace
}  // namespace korvala::test
