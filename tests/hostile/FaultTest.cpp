// Faults: a full disk under the desktop.ini editor and the .hidden writer, and
// Ctrl+C at random moments of every long tool. Each leaves a state that says
// what was done: existing files intact, no temporary files, outputs either
// absent or made of whole steps, every item changed wholly or not at all.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "DirectoryEntries.h"
#include "Files.h"
#include "Process.h"
#include "SmallTmpfs.h"
#include "TempTree.h"
#include "platform/FileAttributes.h"
#include "platform/KorvalaError.h"
#include "tools/foldericon/FolderIcon.h"

namespace korvala::test {
namespace {

// "f" and the number (GCC 12 warns wrongly about "f" + std::to_string).
std::string fileNumber(int i)
{
    std::string name = std::to_string(i);
    name.insert(name.begin(), 'f');
    return name;
}

// Fills the file system that holds `folder` until nothing more fits.
void fillDisk(const std::string& folder)
{
    const std::string path = folder + "/filler";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path << ": " << std::strerror(errno);
    const std::string block(4096, 'f');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    ASSERT_EQ(errno, ENOSPC) << std::strerror(errno);
    while (::write(fd, block.data(), 1) > 0) {
    }
    ::close(fd);
}

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(disk.available()) << "cannot mount a small tmpfs: " << disk.reason();
        folder = disk.path("f");
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    }
    TSmallTmpfs disk{1 << 20};
    std::string folder;
};

TEST_F(FullDisk, TheDesktopIniEditorKeepsTheOldFile)
{
    std::string old = "[.ShellClassInfo]\r\nIconFile=old.ico\r\nIconIndex=0\r\n";
    for (int i = 0; old.size() < 3000; ++i)
        old += "; line " + std::to_string(i) + "\r\n";
    const std::string ini = folder + "/desktop.ini";
    writeFile(ini, old);
    fillDisk(disk.root());
    try {
        // The new text needs more room than the old one frees.
        ApplyFolderIcon(folder, "/usr/share/icons/new.ico", 3, false, std::string(3000, 't'));
        ADD_FAILURE() << "the edit succeeded on a full disk";
    } catch (const KorvalaError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + ini);
    }
    EXPECT_EQ(readFile(ini), old);
    EXPECT_EQ(entryNames(folder), std::vector<std::string>{"desktop.ini"});
}

TEST_F(FullDisk, TheHiddenListKeepsItsLinesAndTheAttributesStay)
{
    const std::string list = folder + "/.hidden";
    std::string old;
    for (int i = 0; old.size() < 3000; ++i) {
        const std::string name = "n" + std::to_string(i);
        writeFile(folder + "/" + name, "");
        old += name + "\n";
    }
    writeFile(list, old);
    writeFile(folder + "/plain", "");
    const std::vector<std::string> before = entryNames(folder);
    fillDisk(disk.root());

    // Unlisting one name, and listing another: each rewrites the list.
    ProcessResult r = runCli({"reveal", folder + "/n1"});
    EXPECT_EQ(r.exitCode, 1) << describe(r);
    EXPECT_NE(r.err.find(folder + "/n1"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    r = runCli({"attrib", "--hidden", "set", folder + "/plain"});
    EXPECT_EQ(r.exitCode, 1) << describe(r);
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;

    EXPECT_EQ(readFile(list), old);
    EXPECT_EQ(entryNames(folder), before);
    EXPECT_NE(getFileAttributes(folder + "/n1") & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(getFileAttributes(folder + "/plain") & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// ---- Ctrl+C at random moments ----

// Runs korvala-cli with `args`, sends Ctrl+C after `delay` (it may land before
// the program watches for it, while it works, or after it ended) and returns
// its exit status (128 + the signal when one ended it).
int interruptedRun(const std::vector<std::string>& args, std::chrono::microseconds delay)
{
    std::vector<std::string> argv{cliPath()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& a : argv)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::signal(SIGINT, SIG_DFL);
        ::execv(pointers[0], pointers.data());
        ::_exit(127);
    }
    std::this_thread::sleep_for(delay);
    ::kill(pid, SIGINT);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Random delays up to about the length of one whole run, from a seed that
// is printed (KORVALA_SEED=N replays a failure).
class RandomInterrupts : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* given = std::getenv("KORVALA_SEED");
        seed = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : std::random_device{}();
        std::cout << "[ seed   ] " << seed << " (KORVALA_SEED=" << seed << " replays it)" << std::endl;
        RecordProperty("seed", std::to_string(seed));
        engine.seed(seed);
    }
    // Runs `args` once to completion to learn how long a run takes, then
    // `rounds` times with Ctrl+C after a random part of that; `prepare` runs
    // before every run and `check` after it with the exit status.
    template <typename Prepare, typename Check>
    void loop(const std::vector<std::string>& args, int rounds, Prepare prepare, Check check)
    {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        const ProcessResult whole = runCli(args);
        ASSERT_EQ(whole.exitCode, 0) << describe(whole);
        check(0);
        const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        std::uniform_int_distribution<long> pick(0, took.count() + 2000);
        for (int round = 0; round < rounds; ++round) {
            prepare();
            const long delay = pick(engine);
            SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round) + ", Ctrl+C after " +
                std::to_string(delay) + " us");
            check(interruptedRun(args, std::chrono::microseconds(delay)));
            if (HasFailure())
                return;
        }
    }

    unsigned seed = 0;
    std::mt19937 engine;
    TTempTree tree{"/dev/shm"};
};

TEST_F(RandomInterrupts, SplitLeavesWholePartsInOrder)
{
    constexpr int kParts = 200;
    const std::string bytes = randomBytes(2 << 20, 3);
    const std::string source = tree.file("s.bin", bytes);
    const size_t partSize = bytes.size() / kParts;
    auto removeParts = [&] {
        for (const std::string& name : entryNames(tree.root()))
            if (name != "s.bin")
                ::unlink(tree.path(name).c_str());
    };
    loop({"split", source, std::to_string(kParts)}, 12, removeParts, [&](int status) {
        const std::vector<std::string> names = entryNames(tree.root());
        const size_t count = names.size() - 1;
        std::string joined;
        for (size_t k = 1; k <= count; ++k) {
            const std::string part = source + "._" + std::to_string(k);
            ASSERT_TRUE(std::binary_search(names.begin(), names.end(), "s.bin._" + std::to_string(k)))
                << "part " << k << " of " << count << " is missing (or not a part: a temporary file was left)";
            const std::string piece = readFile(part);
            if (k < count) {
                EXPECT_EQ(piece.size(), partSize) << part;
            }
            joined += piece;
        }
        EXPECT_TRUE(joined == bytes.substr(0, joined.size())) << "the parts are not the source's first bytes";
        if (status == 0) {
            EXPECT_EQ(joined.size(), bytes.size()) << "a completed split is the whole source";
        }
        EXPECT_TRUE(readFile(source) == bytes) << "the source changed";
    });
}

TEST_F(RandomInterrupts, JoinLeavesNothingOrWholePartsAndNoTemporaryFile)
{
    constexpr int kParts = 200;
    const size_t partSize = 8 << 10;
    std::vector<std::string> parts;
    std::string whole;
    for (int k = 1; k <= kParts; ++k) {
        parts.push_back(randomBytes(partSize, static_cast<uint32_t>(k)));
        tree.file("j.bin._" + std::to_string(k), parts.back());
        whole += parts.back();
    }
    const std::string joined = tree.path("j.bin");
    loop({"join", tree.path("j.bin._1")}, 12, [&] { ::unlink(joined.c_str()); }, [&](int status) {
        EXPECT_EQ(entryNames(tree.root()).size(), static_cast<size_t>(kParts) + (::access(joined.c_str(), F_OK) == 0))
            << "a temporary file was left";
        if (::access(joined.c_str(), F_OK) != 0) {
            EXPECT_NE(status, 0) << "a completed join left no output";
            return;
        }
        const std::string got = readFile(joined);
        EXPECT_EQ(got.size() % partSize, 0u) << "the output ends inside a part";
        EXPECT_TRUE(got == whole.substr(0, got.size())) << "the output is not the parts' first bytes";
        if (status == 0) {
            EXPECT_EQ(got.size(), whole.size()) << "a completed join holds every part";
        }
    });
}

TEST_F(RandomInterrupts, ShredLeavesEachFileIntactOrGone)
{
    constexpr int kFiles = 60;
    std::vector<std::string> contents;
    for (int i = 0; i < kFiles; ++i)
        contents.push_back(randomBytes(8192, static_cast<uint32_t>(100 + i)));
    std::vector<std::string> args{"shred", "--yes"};
    for (int i = 0; i < kFiles; ++i)
        args.push_back(tree.path(fileNumber(i)));
    loop(args, 12, [&] {
        for (int i = 0; i < kFiles; ++i)
            tree.file(fileNumber(i), contents[i]);
    }, [&](int status) {
        size_t left = 0;
        for (const std::string& name : entryNames(tree.root())) {
            ASSERT_EQ(name[0], 'f') << "left behind: " << name;
            const int i = std::stoi(name.substr(1));
            EXPECT_TRUE(readFile(tree.path(name)) == contents[i]) << name << " was overwritten but not deleted";
            ++left;
        }
        if (status == 0) {
            EXPECT_EQ(left, 0u);
        }
    });
}

TEST_F(RandomInterrupts, AttributeAndTimeChangesAreWholeForEveryFile)
{
    constexpr int kFiles = 300;
    std::vector<std::string> files;
    for (int i = 0; i < kFiles; ++i)
        files.push_back(tree.file(fileNumber(i), ""));
    std::vector<std::string> attrib{"attrib", "--hidden", "set", "--system", "set"};
    attrib.insert(attrib.end(), files.begin(), files.end());
    loop(attrib, 10, [&] {
        // The stored bits back to archive alone, and the folder's list of
        // hidden names gone.
        for (const std::string& f : files)
            ASSERT_FALSE(setFileAttributes(f, FILE_ATTRIBUTE_ARCHIVE));
        ::unlink(tree.path(".hidden").c_str());
    }, [&](int status) {
        // The files are done in list order: those changed come first.
        bool unchangedSeen = false;
        for (const std::string& f : files) {
            const uint32_t word = getFileAttributes(f) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
            ASSERT_TRUE(word == 0 || word == (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) << f << ": " << word;
            ASSERT_FALSE(unchangedSeen && word != 0) << f << " was changed after a file before it was skipped";
            unchangedSeen = unchangedSeen || word == 0;
        }
        if (status == 0) {
            EXPECT_FALSE(unchangedSeen);
        }
    });

    std::vector<std::string> times{"times", "--set", "modified=2001-02-03,10:20:30", "--set",
        "accessed=2001-02-03,10:20:30"};
    times.insert(times.end(), files.begin(), files.end());
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    loop(times, 10, [&] {
        for (const std::string& f : files)
            ASSERT_EQ(::utimensat(AT_FDCWD, f.c_str(), old, 0), 0);
    }, [&](int status) {
        bool unchangedSeen = false;
        for (const std::string& f : files) {
            struct stat st {};
            ASSERT_EQ(::stat(f.c_str(), &st), 0);
            const bool modified = st.st_mtim.tv_sec != old[1].tv_sec, accessed = st.st_atim.tv_sec != old[0].tv_sec;
            ASSERT_EQ(modified, accessed) << f << ": one time changed without the other";
            ASSERT_FALSE(unchangedSeen && modified) << f << " was changed after a file before it was skipped";
            unchangedSeen = unchangedSeen || !modified;
        }
        if (status == 0) {
            EXPECT_FALSE(unchangedSeen);
        }
    });
}

}  // namespace
}  // namespace korvala::test
