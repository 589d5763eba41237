// A tree of 1,000,000 files, made once per run on tmpfs: the search, the
// duplicate scan, the hidden scan and the digests over all of it finish, list
// exactly what is there, and keep their memory bounded.

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
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

// 10 folders of 100 folders of 1000 files. The first file of every leaf
// folder has a dot name (hidden); file j holds the text of j % 500, so every
// file has 1999 others with its bytes and its size is shared by many more.
constexpr int kTop = 10;
constexpr int kMiddle = 100;
constexpr int kFiles = 1000;
constexpr size_t kTotal = size_t(kTop) * kMiddle * kFiles;
constexpr size_t kHidden = size_t(kTop) * kMiddle;
constexpr long kMemoryLimitMb = 300;

std::string fileName(int j)
{
    char name[16];
    std::snprintf(name, sizeof name, j == 0 ? ".f%03d" : "f%03d", j);
    return name;
}

std::string leafFolder(int top, int middle)
{
    char name[32];
    std::snprintf(name, sizeof name, "d%d/s%02d", top, middle);
    return name;
}

// Made on first use and removed when the run ends (a global environment), so
// that a run of other tests alone does not pay for it.
class TMillionTree : public ::testing::Environment {
public:
    static const TTempTree& get()
    {
        if (!s_tree)
            s_tree = make();
        return *s_tree;
    }
private:
    // Two threads, each making every other top folder (creating files costs
    // system calls, not disk).
    static std::unique_ptr<TTempTree> make()
    {
        auto tree = std::make_unique<TTempTree>("/dev/shm");
        const std::string root = tree->root();
        std::atomic<bool> failed{false};
        auto makeTops = [&](int first) {
            for (int t = first; t < kTop; t += 2)
                if (!makeTop(root, t))
                    failed = true;
        };
        std::thread other(makeTops, 1);
        makeTops(0);
        other.join();
        if (failed)
            ADD_FAILURE() << "cannot make the tree in " << root << ": " << std::strerror(errno);
        return tree;
    }

    static bool makeTop(const std::string& root, int t)
    {
        const std::string top = root + "/d" + std::to_string(t);
        if (::mkdir(top.c_str(), 0755) != 0)
            return false;
        for (int m = 0; m < kMiddle; ++m) {
            const std::string leaf = root + "/" + leafFolder(t, m);
            if (::mkdir(leaf.c_str(), 0755) != 0)
                return false;
            const int folder = ::open(leaf.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            for (int j = 0; j < kFiles; ++j) {
                const int fd = ::openat(folder, fileName(j).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
                const std::string text = std::to_string(j % 500);
                const bool written = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
                if (fd >= 0)
                    ::close(fd);
                if (!written) {
                    ::close(folder);
                    return false;
                }
            }
            ::close(folder);
        }
        return true;
    }

public:
    // The top folders go in two threads too; the tree's own removal then
    // finds it nearly empty.
    void TearDown() override
    {
        if (!s_tree)
            return;
        auto removeTops = [](int first) {
            for (int t = first; t < kTop; t += 2)
                EXPECT_TRUE(removeTree(s_tree->path(std::string("d").append(std::to_string(t))))) << std::strerror(errno);
        };
        std::thread other(removeTops, 1);
        removeTops(0);
        other.join();
        s_tree.reset();
    }

private:
    static inline std::unique_ptr<TTempTree> s_tree;
};

::testing::Environment* const g_millionTree = ::testing::AddGlobalTestEnvironment(new TMillionTree);

class MillionFiles : public ::testing::Test {
protected:
    const TTempTree& tree = TMillionTree::get();
    TTempTree scratch{"/dev/shm"};
    const std::string output = scratch.path("out");
};

TEST_F(MillionFiles, SeekListsEveryVisibleFile)
{
    const ProcessResult r = runCli({"seek", tree.root()}, {.outputFile = output});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_EQ(r.err, "Searching process completed!\n");
    EXPECT_EQ(countLines(output), kTotal - kHidden);
    checkPeakMemory("seek", r, kMemoryLimitMb);
}

TEST_F(MillionFiles, DupesGroupsEveryFile)
{
    const ProcessResult r = runCli({"dupes", "--recursive", tree.root()}, {.outputFile = output});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_EQ(r.err, "Scanning process Completed!\n");
    EXPECT_EQ(countLines(output), kTotal);
    checkPeakMemory("dupes", r, kMemoryLimitMb);
}

TEST_F(MillionFiles, HiddenFindsEveryDotName)
{
    const ProcessResult r = runCli({"hidden", tree.root()});
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_EQ(r.err, "Scanning process completed, Now you can Reveal Hidden Files/Folders!\n");
    const std::vector<std::string> lines = splitLines(r.out);
    EXPECT_EQ(lines.size(), kHidden);
    for (const std::string& line : lines)
        if (!line.starts_with(tree.root() + "/d") || !line.ends_with("/.f000")) {
            ADD_FAILURE() << "not a hidden file of the tree: " << line;
            break;
        }
    checkPeakMemory("hidden", r, kMemoryLimitMb);
}

// The digests take files, not folders, and an argument list holds a few
// megabytes: one run gets as many files of the tree as it can take (as xargs
// would hand them over), spread over all its folders.
TEST_F(MillionFiles, HashReportsEveryFileOfAFullArgumentList)
{
    std::vector<std::string> args{"hash"};
    for (int t = 0; t < kTop; ++t)
        for (int m = 0; m < kMiddle; ++m)
            for (int j = 0; j < 20; ++j)
                args.push_back(tree.path(leafFolder(t, m) + "/" + fileName(j * 50)));
    const ProcessResult r = runCli(args, {.outputFile = output});
    ASSERT_EQ(r.exitCode, 0) << describe(r);
    EXPECT_EQ(countLines(output), (args.size() - 1) * 5);  // name, three digests, empty line
    checkPeakMemory("hash", r, kMemoryLimitMb);
}

}  // namespace
}  // namespace korvala::test
