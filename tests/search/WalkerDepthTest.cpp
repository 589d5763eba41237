// Deep walks: exact paths of long-named chains far beyond PATH_MAX, in
// depth-first order, and walks that run short of descriptors (a low limit in a
// forked child, and korvala-cli under prlimit), and folders opened again by
// name when ".." no longer leads back to them.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Process.h"
#include "TempTree.h"
#include "platform/DirectoryListing.h"
#include "search/FindFileW.h"

namespace korvala {
namespace {

using test::TTempTree;

// Every folder announced ("> " + path) and every match (full path), in order.
class Events : public SearchWalkHandler {
public:
    TFolderIgnore folderChange(const std::string& folder) override
    {
        lines.push_back("> " + folder);
        return fiNone;
    }
    void fileMatch(const std::string& folder, DirectoryListing& listing, size_t index) override
    {
        lines.push_back(folder + std::string(listing.name(index)));
    }
    std::vector<std::string> matches() const
    {
        std::vector<std::string> out;
        for (const auto& l : lines)
            if (l.rfind("> ", 0) != 0)
                out.push_back(l);
        std::sort(out.begin(), out.end());
        return out;
    }
    std::vector<std::string> lines;
    std::atomic<bool> aborted{false};
};

std::vector<std::string> walk(const std::string& root, const std::string& masks, Events& events)
{
    TSearchCriteria c;
    c.Files().setFileName(masks);
    c.Files().setLocation(root);
    SearchWalker w(c, events.aborted, events);
    w.runAll();
    return events.matches();
}

// Makes a chain of `depth` folders named `name` under `root`, folder by folder
// relative to the one before (the full path may be far over PATH_MAX), and
// calls `atLevel` with the descriptor of each level's folder (1 is the first
// folder under the root, `depth` the last).
void makeChain(const std::string& root, int depth, const std::string& name,
    const std::function<void(int fd, int level)>& atLevel)
{
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int level = 1; level <= depth; ++level) {
        ASSERT_EQ(::mkdirat(fd, name.c_str(), 0755), 0) << "level " << level;
        const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
        atLevel(fd, level);
    }
    ::close(fd);
}

void fileAt(int fd, const char* name, const std::string& content = "")
{
    const int f = ::openat(fd, name, O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(f, 0) << name;
    ASSERT_EQ(::write(f, content.data(), content.size()), static_cast<ssize_t>(content.size()));
    ::close(f);
}

// Sixty levels of 250-byte names (15 KB of path) with a file at every level and
// a side folder every tenth level: every path announced and reported is the
// exact byte string, also when the walk keeps only three folders open and must
// reopen ancestors on the way back, and each side folder is walked after
// everything below its sibling, as a depth-first walk does.
TEST(WalkerDepth, LongNamesBeyondPathMaxGiveExactPathsDepthFirst)
{
    TTempTree t;
    const std::string name(250, 'n');
    const int depth = 60;
    makeChain(t.root(), depth, name, [](int fd, int level) {
        std::string file = "f";
        file += std::to_string(level);
        file += ".txt";
        fileAt(fd, file.c_str());
        if (level % 10 == 0) {
            ASSERT_EQ(::mkdirat(fd, "side", 0755), 0);
            const int side = ::openat(fd, "side", O_RDONLY | O_DIRECTORY);
            ASSERT_GE(side, 0);
            fileAt(side, "s.txt");
            ::close(side);
        }
    });

    std::vector<std::string> folders{t.root() + "/"};
    std::vector<std::string> files;
    std::string level = t.root() + "/";
    for (int i = 1; i <= depth; ++i) {
        level += name + "/";
        folders.push_back(level);
        files.push_back(level + "f" + std::to_string(i) + ".txt");
        if (i % 10 == 0) {
            folders.push_back(level + "side/");
            files.push_back(level + "side/s.txt");
        }
    }
    ASSERT_GT(level.size(), 3u * 4096);
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());

    for (size_t maxOpen : {size_t(64), size_t(3)}) {
        SCOPED_TRACE(maxOpen);
        SearchWalker::setMaxOpenFoldersForTests(maxOpen);
        Events e;
        EXPECT_EQ(walk(t.root(), "*.txt", e), files);
        std::vector<std::string> announced;
        std::string current;
        for (const std::string& line : e.lines) {
            if (line.rfind("> ", 0) == 0) {
                const std::string folder = line.substr(2);
                // Depth first: a folder follows its parent or something inside
                // its parent, never a folder elsewhere.
                if (!announced.empty()) {
                    const std::string parent = folder.substr(0, folder.rfind('/', folder.size() - 2) + 1);
                    EXPECT_EQ(current.compare(0, parent.size(), parent), 0) << "after " << current.size();
                }
                current = folder;
                announced.push_back(folder);
            } else {
                // A match is in the folder announced last.
                EXPECT_EQ(line.compare(0, current.size(), current), 0);
                EXPECT_EQ(line.find('/', current.size()), std::string::npos);
            }
        }
        std::sort(announced.begin(), announced.end());
        EXPECT_EQ(announced, folders);
    }
    SearchWalker::setMaxOpenFoldersForTests(64);
}

// Moves the first sub-folder of c to the root once the walk is inside it.
class MovingEvents : public Events {
public:
    explicit MovingEvents(const std::string& root) : m_root(root) {}
    TFolderIgnore folderChange(const std::string& folder) override
    {
        const std::string c = m_root + "/a/b/c/";
        if (!moved && folder.size() == c.size() + 4 && folder.compare(0, c.size(), c) == 0 &&
            folder.compare(c.size() + 1, 3, "/s/") == 0) {
            moved = ::rename((c + folder[c.size()]).c_str(), (m_root + "/moved").c_str()) == 0;
        }
        return Events::folderChange(folder);
    }
    bool moved = false;

private:
    std::string m_root;
};

// Coming back to a closed folder through ".." of a sub-folder that was moved
// away meanwhile finds another folder there: the walk opens it again by name
// from the root and goes on with its other sub-folders at their exact paths.
TEST(WalkerDepth, ReopensByNameWhenASubfolderWasMovedAway)
{
    TTempTree t;
    for (const char* x : {"p", "q"}) {
        t.folder(std::string("a/b/c/") + x + "/s");
        t.file(std::string("a/b/c/") + x + "/f.txt");
    }
    SearchWalker::setMaxOpenFoldersForTests(2);
    MovingEvents e(t.root());
    const std::vector<std::string> m = walk(t.root(), "*.txt", e);
    SearchWalker::setMaxOpenFoldersForTests(64);
    ASSERT_TRUE(e.moved);
    EXPECT_EQ(m, (std::vector<std::string>{t.path("a/b/c/p/f.txt"), t.path("a/b/c/q/f.txt")}));
    size_t sFolders = 0;
    for (const std::string& line : e.lines)
        sFolders += line == "> " + t.path("a/b/c/p/s/") || line == "> " + t.path("a/b/c/q/s/");
    EXPECT_EQ(sFolders, 2u);
}

// A tree for the descriptor tests: a chain of 40 "dd" folders with bottom.txt
// at the end; at level 20 shown.txt, secret.txt and a ".hidden" list naming
// secret.txt; zz/after.txt beside the chain proves the walk came back up.
std::vector<std::string> makeShortageTree(const TTempTree& t)
{
    makeChain(t.root(), 40, "dd", [](int fd, int level) {
        if (level == 20) {
            fileAt(fd, "shown.txt");
            fileAt(fd, "secret.txt");
            fileAt(fd, ".hidden", "secret.txt\n");
        }
        if (level == 40)
            fileAt(fd, "bottom.txt");
    });
    t.folder("zz");
    t.file("zz/after.txt");
    std::string chain = t.root() + "/";
    std::vector<std::string> expected;
    for (int i = 1; i <= 40; ++i) {
        chain += "dd/";
        if (i == 20)
            expected.push_back(chain + "shown.txt");
    }
    expected.push_back(chain + "bottom.txt");
    expected.push_back(t.path("zz/after.txt"));
    std::sort(expected.begin(), expected.end());
    return expected;
}

// Under a descriptor limit with all but four descriptors taken, the walk
// closes ancestors to open each folder and its ".hidden" list, and still finds
// every file, hides what the list names, and comes back up the chain. Under
// the higher limit the walk reads ahead on a second thread until it runs short,
// and then lets go of what it read ahead first.
TEST(WalkerDepth, FindsEverythingWithOnlyFourDescriptorsLeft)
{
    TTempTree t;
    const std::vector<std::string> expected = makeShortageTree(t);
    std::string want;
    for (const auto& p : expected)
        want += p + "\n";

    for (const rlim_t max : {rlim_t(24), rlim_t(200)}) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(pipeFds[0]);
            rlimit limit{max, max};
            if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
                ::_exit(2);
            std::vector<int> taken;
            for (int fd; (fd = ::dup(0)) >= 0;)
                taken.push_back(fd);
            // The write end of the pipe stays: the answer goes out through it.
            for (int i = 0; i < 4 && !taken.empty(); ++i) {
                ::close(taken.back());
                taken.pop_back();
            }
            Events e;
            std::string got;
            for (const auto& p : walk(t.root(), "*.txt", e))
                got += p + "\n";
            for (int fd : taken)
                ::close(fd);
            ::write(pipeFds[1], got.data(), got.size());
            ::_exit(0);
        }
        ::close(pipeFds[1]);
        std::string got;
        char buf[4096];
        for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
            got.append(buf, static_cast<size_t>(n));
        ::close(pipeFds[0]);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(got, want) << "descriptor limit " << max;
    }
}

// korvala-cli itself under `prlimit --nofile=16`: the same matches as without
// a limit.
TEST(WalkerDepth, CliUnderALowDescriptorLimitFindsEverything)
{
    if (!test::haveProgram("prlimit"))
        FAIL() << "cannot run here: prlimit is not installed";
    TTempTree t;
    const std::vector<std::string> expected = makeShortageTree(t);
    const test::ProcessResult r =
        test::runProcess({"prlimit", "--nofile=16", test::cliPath(), "seek", "--name", "*.txt", t.root()});
    ASSERT_EQ(r.exitCode, 0) << test::describe(r);
    std::vector<std::string> lines;
    for (size_t from = 0, to; (to = r.out.find('\n', from)) != std::string::npos; from = to + 1)
        lines.push_back(r.out.substr(from, to - from));
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace korvala
