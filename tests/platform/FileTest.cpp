// Files through platform/File.h on real files, FIFOs, devices, links and pipes:
// what a content reader refuses, no-follow writing, reads and writes with their
// ends, copies of every size through both copy paths, new outputs that appear
// under their final name only when complete, and access times kept.

#include "platform/File.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "TempTree.h"

namespace korvala {
namespace {

std::string contentsOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string randomText(size_t size, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string s(size, '\0');
    for (char& c : s)
        c = static_cast<char>(rng());
    return s;
}

// The names in a folder, to see that no temporary file is left behind.
std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class FileTest : public ::testing::Test {
protected:
    test::TTempTree tmp;
};

TEST_F(FileTest, ContentReadingOpensRegularFilesOnlyAndNeverWaits)
{
    const std::string regular = tmp.file("regular.txt", "abc");
    const std::string fifo = tmp.path() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string link = tmp.path() + "/link";
    ASSERT_EQ(::symlink(regular.c_str(), link.c_str()), 0);
    const std::string socketPath = tmp.path() + "/socket";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    struct Case {
        std::string path;
        std::error_code expected;  // empty: opens
    };
    const Case cases[] = {
        {regular, {}},
        {link, {}},  // a link to a regular file is followed
        {fifo, PlatformErrc::notRegularFile},  // no writer: a plain open would wait for ever
        {"/dev/null", PlatformErrc::notRegularFile},
        {"/dev/zero", PlatformErrc::notRegularFile},  // its reads would never end
        {tmp.path(), systemError(EISDIR)},
        {tmp.path() + "/missing", systemError(ENOENT)},
        {socketPath, PlatformErrc::notRegularFile},  // turned down on its name, as FIFOs and devices are
    };
    for (const Case& c : cases) {
        TFile file;
        const std::error_code ec = file.open(c.path, TOpenOptions::contentRead());
        EXPECT_EQ(ec, c.expected) << c.path << ": " << ec.message();
        EXPECT_EQ(file.isOpen(), !c.expected) << c.path;
    }
    ::close(sock);

    // The refusal reads as the system's "invalid argument" family, with its own text.
    const std::error_code refused = PlatformErrc::notRegularFile;
    EXPECT_EQ(refused, std::errc::invalid_argument);
    EXPECT_EQ(refused.message(), "Not a regular file");

    // A FIFO that has a writer is refused too: content readers never read pipes.
    const int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    TFile file;
    EXPECT_EQ(file.open(fifo, TOpenOptions::contentRead()), PlatformErrc::notRegularFile);
    ::close(writer);

    // What is opened is read in full and is not inherited by started programs.
    ASSERT_FALSE(file.open(regular, TOpenOptions::contentRead()));
    char buffer[8];
    size_t got = 0;
    ASSERT_FALSE(file.readFull(buffer, sizeof buffer, got));
    EXPECT_EQ(std::string(buffer, got), "abc");
    EXPECT_NE(::fcntl(file.descriptor(), F_GETFD) & FD_CLOEXEC, 0);
}

// A name the listing gave as a regular file may have been replaced since; the
// saved look must not turn that into a wait or a read through a new link.
TEST_F(FileTest, ListedRegularFilesAreOpenedWithoutTheLookButStillSafely)
{
    TOpenOptions listed = TOpenOptions::contentRead();
    listed.listedAsRegular = true;

    const std::string regular = tmp.file("regular.txt", "abc");
    TFile file;
    ASSERT_FALSE(file.open(regular, listed));
    char buffer[8];
    size_t got = 0;
    ASSERT_FALSE(file.readFull(buffer, sizeof buffer, got));
    EXPECT_EQ(std::string(buffer, got), "abc");

    const std::string link = tmp.path() + "/now-a-link";
    ASSERT_EQ(::symlink("/dev/zero", link.c_str()), 0);
    EXPECT_EQ(file.open(link, listed), systemError(ELOOP));

    const std::string fifo = tmp.path() + "/now-a-fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_FALSE(file.open(fifo, listed));
    ASSERT_FALSE(file.readFull(buffer, sizeof buffer, got));  // no writer: the end, at once
    EXPECT_EQ(got, 0u);
}

TEST_F(FileTest, NoFollowWritingRefusesALinkAndLeavesItsTargetAlone)
{
    const std::string target = tmp.file("target.txt", "keep me");
    const std::string link = tmp.path() + "/link";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);

    TFile file;
    EXPECT_EQ(file.open(link, TOpenOptions::writeNoFollow()), systemError(ELOOP));
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(contentsOf(target), "keep me");

    ASSERT_FALSE(file.open(target, TOpenOptions::writeNoFollow()));
    ASSERT_FALSE(file.writeAll("KEEP", 4));
    ASSERT_FALSE(file.close());
    EXPECT_EQ(contentsOf(target), "KEEP me");
}

TEST_F(FileTest, ReadsAndWritesReportTheirEnds)
{
    const std::string path = tmp.path() + "/data.bin";
    TOpenOptions create;
    create.access = TFileAccess::ReadWrite;
    create.create = true;
    create.exclusive = true;
    TFile file;
    ASSERT_FALSE(file.open(path, create));
    EXPECT_EQ(TFile().open(path, create), systemError(EEXIST));

    const std::string data = randomText(10000, 1);
    ASSERT_FALSE(file.writeAll(data.data(), data.size()));
    uint64_t size = 0;
    ASSERT_FALSE(file.size(size));
    EXPECT_EQ(size, data.size());

    int64_t position = -1;
    ASSERT_FALSE(file.seek(0, TSeekFrom::Begin, position));
    EXPECT_EQ(position, 0);
    std::string back(12000, '\0');
    size_t got = 0;
    ASSERT_FALSE(file.readFull(back.data(), back.size(), got));
    EXPECT_EQ(got, data.size());  // short: the end of the file
    EXPECT_EQ(back.substr(0, got), data);
    ASSERT_FALSE(file.read(back.data(), back.size(), got));
    EXPECT_EQ(got, 0u);

    // Positioned reads and writes leave the position where it was.
    ASSERT_FALSE(file.writeAllAt(100, "XYZ", 3));
    char three[3];
    ASSERT_FALSE(file.readAt(100, three, 3, got));
    EXPECT_EQ(std::string(three, got), "XYZ");
    ASSERT_FALSE(file.readAt(9998, three, 3, got));
    EXPECT_EQ(got, 2u);
    ASSERT_FALSE(file.seek(0, TSeekFrom::Current, position));
    EXPECT_EQ(position, static_cast<int64_t>(data.size()));

    ASSERT_FALSE(file.resize(50));
    ASSERT_FALSE(file.flush());
    TFileStatus st;
    ASSERT_FALSE(file.status(st));
    EXPECT_TRUE(st.isRegular());
    EXPECT_EQ(st.size, 50u);

    // A reader that is handed bytes in pieces (a pipe) still fills its buffer.
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    TFile pipeIn = TFile::adopt(fds[0]);
    ASSERT_EQ(::write(fds[1], "abc", 3), 3);
    ASSERT_EQ(::write(fds[1], "defg", 4), 4);
    ::close(fds[1]);
    char seven[16];
    ASSERT_FALSE(pipeIn.readFull(seven, sizeof seven, got));
    EXPECT_EQ(std::string(seven, got), "abcdefg");

    // A closed file fails every call with EBADF instead of touching descriptor -1.
    TFile closed;
    EXPECT_EQ(closed.read(seven, 1, got), systemError(EBADF));
    EXPECT_EQ(closed.writeAll("x", 1), systemError(EBADF));
    EXPECT_FALSE(closed.close());
    EXPECT_EQ(TFile().openAt(-1, "data.bin", TOpenOptions::contentRead()), systemError(EBADF));
}

TEST_F(FileTest, CopiesEverySizeInTheKernelAndThroughMemory)
{
    const size_t MiB = 1 << 20;
    for (size_t n : {size_t(0), size_t(1), MiB - 1, MiB, MiB + 1, 3 * MiB + 5}) {
        SCOPED_TRACE(n);
        const std::string data = randomText(n, static_cast<unsigned>(n));
        const std::string source = tmp.file("source.bin", data);
        TFile from, to;
        ASSERT_FALSE(from.open(source, TOpenOptions::contentRead()));
        TOpenOptions out;
        out.access = TFileAccess::Write;
        out.create = true;
        out.truncate = true;
        const std::string target = tmp.path() + "/copy.bin";
        ASSERT_FALSE(to.open(target, out));
        uint64_t copied = 99;
        ASSERT_FALSE(copyRange(from, to, UINT64_MAX, copied));
        EXPECT_EQ(copied, n);
        ASSERT_FALSE(to.close());
        EXPECT_TRUE(contentsOf(target) == data);

        // Through memory: a pipe is no file the kernel copies from.
        int fds[2];
        ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        TFile pipeIn = TFile::adopt(fds[0]);
        const std::string small = data.substr(0, std::min<size_t>(n, 60000));  // what fits the pipe
        ASSERT_EQ(::write(fds[1], small.data(), small.size()), static_cast<ssize_t>(small.size()));
        ::close(fds[1]);
        ASSERT_FALSE(to.open(target, out));
        ASSERT_FALSE(copyRange(pipeIn, to, UINT64_MAX, copied));
        EXPECT_EQ(copied, small.size());
        ASSERT_FALSE(to.close());
        EXPECT_TRUE(contentsOf(target) == small);
    }

    // A length below the size copies that much and moves both positions on.
    const std::string data = randomText(5000, 7);
    TFile from, to;
    ASSERT_FALSE(from.open(tmp.file("five.bin", data), TOpenOptions::contentRead()));
    TOpenOptions out;
    out.access = TFileAccess::ReadWrite;
    out.create = true;
    ASSERT_FALSE(to.open(tmp.path() + "/part.bin", out));
    uint64_t copied = 0;
    ASSERT_FALSE(copyRange(from, to, 1000, copied));
    EXPECT_EQ(copied, 1000u);
    ASSERT_FALSE(copyRange(from, to, 1000, copied));
    EXPECT_EQ(copied, 1000u);
    int64_t position = 0;
    ASSERT_FALSE(to.seek(0, TSeekFrom::Current, position));
    EXPECT_EQ(position, 2000);
    EXPECT_TRUE(contentsOf(tmp.path() + "/part.bin") == data.substr(0, 2000));
}

TEST_F(FileTest, NewOutputAppearsOnlyWhenCommitted)
{
    const std::string final = tmp.file("out.txt", "the old contents");

    // Abandoned (a failed run): the old file stays, no temporary is left.
    {
        TNewOutput output;
        ASSERT_FALSE(output.create(final));
        EXPECT_EQ(output.temporaryPath().rfind(tmp.path() + "/.out.txt.", 0), 0u) << output.temporaryPath();
        ASSERT_FALSE(output.file().writeAll("half", 4));
        EXPECT_EQ(contentsOf(final), "the old contents");
    }
    EXPECT_EQ(contentsOf(final), "the old contents");
    EXPECT_EQ(namesIn(tmp.path()), std::vector<std::string>{"out.txt"});

    // Committed: the new contents replace the old ones under the final name.
    {
        TNewOutput output;
        ASSERT_FALSE(output.create(final, 0640));
        ASSERT_FALSE(output.file().writeAll("new", 3));
        ASSERT_FALSE(output.commit());
        EXPECT_FALSE(output.file().isOpen());
    }
    EXPECT_EQ(contentsOf(final), "new");
    EXPECT_EQ(namesIn(tmp.path()), std::vector<std::string>{"out.txt"});
    struct stat st {};
    ASSERT_EQ(::stat(final.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0600, 0600u);
    EXPECT_EQ(st.st_mode & 0007, 0u);

    // A rename that fails (a folder holds the final name) keeps that folder and
    // leaves no temporary behind.
    const std::string taken = tmp.folder("taken");
    tmp.file("taken/inside", "x");
    {
        TNewOutput output;
        ASSERT_FALSE(output.create(taken));
        ASSERT_FALSE(output.file().writeAll("data", 4));
        EXPECT_TRUE(output.commit());
    }
    EXPECT_EQ(namesIn(tmp.path()), (std::vector<std::string>{"out.txt", "taken"}));
    EXPECT_EQ(contentsOf(taken + "/inside"), "x");

    // No folder to write in: the error of creating the temporary file.
    TNewOutput nowhere;
    EXPECT_EQ(nowhere.create(tmp.path() + "/missing/out.txt"), systemError(ENOENT));
    EXPECT_EQ(nowhere.commit(), systemError(EBADF));
}

TEST_F(FileTest, ContentReadingKeepsTheAccessTime)
{
    // An access time older than the modification time is updated by any read
    // under the usual mount options, so a read that keeps it shows here.
    auto ageAccessTime = [](const std::string& path) {
        const timespec times[2] = {{1000000000, 0}, {0, UTIME_OMIT}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    };
    auto accessSeconds = [](const std::string& path) {
        struct stat st {};
        ::stat(path.c_str(), &st);
        return st.st_atim.tv_sec;
    };
    auto readAll = [](const std::string& path, const TOpenOptions& options) {
        TFile file;
        ASSERT_FALSE(file.open(path, options));
        char buffer[64];
        size_t got = 0;
        ASSERT_FALSE(file.readFull(buffer, sizeof buffer, got));
        EXPECT_EQ(got, 12u);
    };

    const std::string plain = tmp.file("plain.txt", "some content");
    ageAccessTime(plain);
    readAll(plain, TOpenOptions{});
    if (accessSeconds(plain) == 1000000000)
        FAIL() << "cannot run here: this mount does not record access times";

    const std::string kept = tmp.file("kept.txt", "some content");
    ageAccessTime(kept);
    readAll(kept, TOpenOptions::contentRead());
    EXPECT_EQ(accessSeconds(kept), 1000000000);
}

TEST_F(FileTest, PathStatusAndAccess)
{
    const std::string regular = tmp.file("f.txt", "12345");
    const std::string link = tmp.path() + "/link";
    ASSERT_EQ(::symlink(tmp.path().c_str(), link.c_str()), 0);
    TFileStatus st;
    ASSERT_FALSE(pathStatus(regular, false, st));
    EXPECT_TRUE(st.isRegular());
    EXPECT_EQ(st.size, 5u);
    ASSERT_FALSE(pathStatus(link, false, st));
    EXPECT_EQ(st.kind, TFileKind::Symlink);
    ASSERT_FALSE(pathStatus(link, true, st));
    EXPECT_TRUE(st.isDirectory());
    EXPECT_EQ(pathStatus(tmp.path() + "/gone", true, st), systemError(ENOENT));
    EXPECT_EQ(st.kind, TFileKind::Missing);

    EXPECT_FALSE(checkAccess(regular, acRead | acWrite));
    EXPECT_EQ(checkAccess(tmp.path() + "/gone", acRead), systemError(ENOENT));
}

}  // namespace
}  // namespace korvala
