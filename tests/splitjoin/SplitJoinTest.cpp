// SplitFile and JoinParts on real files: part names and sizes, both join
// schemes, where a join stops, aborts between parts, sources over 4 GiB with
// holes, and failures that must leave nothing behind (a full disk included).

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "DirectoryEntries.h"
#include "Files.h"
#include "SmallTmpfs.h"
#include "TempTree.h"
#include "tools/splitjoin/SplitJoin.h"

namespace korvala {
namespace {

using test::randomBytes;
using test::pathExists;
using test::readFile;
using test::TTempTree;

struct TRunResult {
    TRunEnd end;
    std::string reason;
    int accepted = 0;  // calls of the accept-cancel action
};

// Cancels when the query is asked for the cancelAt-th time (0: never).
TRunResult split(const std::string& source, int parts, int cancelAt = 0)
{
    TRunResult run{};
    int asked = 0;
    run.end = SplitFile(source, parts, [&] { return cancelAt > 0 && ++asked >= cancelAt; },
        [&] { ++run.accepted; }, [&](const std::string& r) { run.reason = r; });
    return run;
}

TRunResult join(const std::string& firstPart, int cancelAt = 0)
{
    TRunResult run{};
    int asked = 0;
    run.end = JoinParts(firstPart, [&] { return cancelAt > 0 && ++asked >= cancelAt; },
        [&] { ++run.accepted; }, [&](const std::string& r) { run.reason = r; });
    return run;
}


class SplitJoinTest : public ::testing::Test {
protected:
    TTempTree tmp;
};

TEST_F(SplitJoinTest, PartSizesAndJoiningBack)
{
    struct Case {
        size_t size;
        int parts;
        std::vector<size_t> sizes;
    };
    const std::vector<Case> cases = {
        {10, 3, {3, 3, 4}},
        {2, 3, {0, 0, 2}},
        {0, 2, {0, 0}},
        {1000, 7, {142, 142, 142, 142, 142, 142, 148}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " bytes into " + std::to_string(c.parts));
        const std::string bytes = randomBytes(c.size, 7);
        const std::string source = tmp.file("s" + std::to_string(c.size) + ".bin", bytes);
        const TRunResult run = split(source, c.parts);
        ASSERT_EQ(run.end, TRunEnd::reCompleted) << run.reason;
        std::string joined;
        for (int i = 1; i <= c.parts; ++i) {
            const std::string part = readFile(source + "._" + std::to_string(i));
            EXPECT_EQ(part.size(), c.sizes[static_cast<size_t>(i - 1)]) << "part " << i;
            joined += part;
        }
        EXPECT_FALSE(pathExists(source + "._" + std::to_string(c.parts + 1)));
        EXPECT_EQ(joined, bytes);
        EXPECT_EQ(run.accepted, 0);

        // The join rebuilds the source under its own name, over the file there.
        test::writeFile(source, "something else");
        const TRunResult back = join(source + "._1");
        ASSERT_EQ(back.end, TRunEnd::reCompleted) << back.reason;
        EXPECT_EQ(readFile(source), bytes);
    }
}

TEST_F(SplitJoinTest, NamesOfPartsAndJoinedFiles)
{
    EXPECT_EQ(splitPartName("/d/movie.avi", 3), "/d/movie.avi._3");
    EXPECT_EQ(splitPartName("/d/noext", 1), "/d/noext._1");
    struct Case {
        const char* first;
        TJoinScheme scheme;
        const char* joined;
        uint64_t number;
        const char* part;
    };
    const Case cases[] = {
        {"/d/movie.avi._1", TJoinScheme::jsUnderscore, "/d/movie.avi", 10, "/d/movie.avi._10"},
        {"/d/data.zip.001", TJoinScheme::jsDigits, "/d/data.zip", 2, "/d/data.zip.002"},
        {"/d/data.zip.001", TJoinScheme::jsDigits, "/d/data.zip", 999, "/d/data.zip.999"},
        {"/d/data.zip.001", TJoinScheme::jsDigits, "/d/data.zip", 1000, "/d/data.zip.1000"},
        {"/d.x/._1", TJoinScheme::jsUnderscore, "/d.x/", 2, "/d.x/._2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(joinSchemeOf(c.first), c.scheme);
        EXPECT_EQ(joinedFileName(c.first), c.joined);
        EXPECT_EQ(joinPartName(c.first, c.scheme, c.number), c.part);
    }
    for (const char* refused : {"/d/a.txt", "/d/noext", "/d.001/noext", "/d/a._01", "/d/a.0001", "/d/a._1x"}) {
        SCOPED_TRACE(refused);
        EXPECT_EQ(joinSchemeOf(refused), TJoinScheme::jsNone);
        const auto why = joinRefusal(refused);
        ASSERT_TRUE(why.has_value());
        EXPECT_NE(why->find(refused), std::string::npos);
        EXPECT_NE(why->find("\"._1\""), std::string::npos);
        EXPECT_NE(why->find("\".001\""), std::string::npos);
    }
}

TEST_F(SplitJoinTest, JoinRunsInNumberOrderUntilTheFirstMissingNumber)
{
    // The three-digit scheme, which the splitter never writes.
    tmp.file("data.zip.001", "one,");
    tmp.file("data.zip.002", "two,");
    tmp.file("data.zip.003", "three");
    tmp.file("data.zip.005", "not reached");
    ASSERT_EQ(join(tmp.path("data.zip.001")).end, TRunEnd::reCompleted);
    EXPECT_EQ(readFile(tmp.path("data.zip")), "one,two,three");

    // Parts 4 and 5 of an earlier split into 5 are still there after a later
    // split into 3: the join takes them too.
    const std::string five = randomBytes(500, 1);
    const std::string three = randomBytes(300, 2);
    const std::string source = tmp.file("movie.avi", five);
    ASSERT_EQ(split(source, 5).end, TRunEnd::reCompleted);
    const std::string part4 = readFile(source + "._4"), part5 = readFile(source + "._5");
    test::writeFile(source, three);
    ASSERT_EQ(split(source, 3).end, TRunEnd::reCompleted);
    ASSERT_EQ(join(source + "._1").end, TRunEnd::reCompleted);
    EXPECT_EQ(readFile(source), three + part4 + part5);

    // Without a second part the joined file is a copy of the first.
    tmp.file("lone.bin._1", "only me");
    ASSERT_EQ(join(tmp.path("lone.bin._1")).end, TRunEnd::reCompleted);
    EXPECT_EQ(readFile(tmp.path("lone.bin")), "only me");
}

TEST_F(SplitJoinTest, AbortedSplitKeepsThePartsSoFarTheLastOneEmpty)
{
    const std::string bytes = randomBytes(9990, 3);
    const std::string source = tmp.file("big.bin", bytes);
    const TRunResult run = split(source, 999, 5);
    EXPECT_EQ(run.end, TRunEnd::reAborted);
    EXPECT_EQ(run.accepted, 1);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(readFile(source + "._" + std::to_string(i)), bytes.substr(static_cast<size_t>(i - 1) * 10, 10));
    EXPECT_EQ(readFile(source + "._5"), "");
    EXPECT_FALSE(pathExists(source + "._6"));
    EXPECT_EQ(readFile(source), bytes);
    EXPECT_EQ(test::entryNames(tmp.path()).size(), 6u) << "no temporary file is left";
}

TEST_F(SplitJoinTest, AbortedJoinKeepsThePartsAppendedSoFar)
{
    tmp.file("f._1", "first,");
    tmp.file("f._2", "second,");
    tmp.file("f._3", "third");
    tmp.file("f", "old contents");
    // Asked once per part after it was opened: the third look stops the run.
    const TRunResult run = join(tmp.path("f._1"), 3);
    EXPECT_EQ(run.end, TRunEnd::reAborted);
    EXPECT_EQ(run.accepted, 1);
    EXPECT_EQ(readFile(tmp.path("f")), "first,second,");
    EXPECT_EQ(test::entryNames(tmp.path()).size(), 4u);
}

// Compares two files byte for byte while reading only where either holds data:
// elsewhere both are holes, which read as zeros.
void expectSameContents(const std::string& a, const std::string& b)
{
    const int fa = ::open(a.c_str(), O_RDONLY | O_CLOEXEC);
    const int fb = ::open(b.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fa, 0) << a;
    ASSERT_GE(fb, 0) << b;
    struct stat sa {}, sb {};
    ::fstat(fa, &sa);
    ::fstat(fb, &sb);
    ASSERT_EQ(sa.st_size, sb.st_size);
    std::vector<std::pair<off_t, off_t>> runs;
    for (int fd : {fa, fb}) {
        for (off_t at = 0; at < sa.st_size;) {
            const off_t start = ::lseek(fd, at, SEEK_DATA);
            if (start < 0)
                break;
            const off_t end = ::lseek(fd, start, SEEK_HOLE);
            runs.emplace_back(start, end);
            at = end;
        }
    }
    std::string bufA(1 << 20, '\0'), bufB(1 << 20, '\0');
    for (const auto& [start, end] : runs) {
        for (off_t at = start; at < end;) {
            const size_t n = static_cast<size_t>(std::min<off_t>(end - at, 1 << 20));
            ASSERT_EQ(::pread(fa, bufA.data(), n, at), static_cast<ssize_t>(n));
            ASSERT_EQ(::pread(fb, bufB.data(), n, at), static_cast<ssize_t>(n));
            ASSERT_TRUE(bufA.compare(0, n, bufB, 0, n) == 0) << "contents differ in the run at " << at;
            at += static_cast<off_t>(n);
        }
    }
    ::close(fa);
    ::close(fb);
}

TEST_F(SplitJoinTest, SparseSourceOverFourGibibytesSplitsAndJoinsBack)
{
    const uint64_t size = (5ULL << 30) + 12345;
    const std::string source = tmp.sparseFile("huge.img", size);
    // Data at the start, across the 4 GiB mark, across the part boundary and at the end.
    const std::vector<std::pair<uint64_t, std::string>> pieces = {
        {0, randomBytes(70000, 1)},
        {(4ULL << 30) - 5000, randomBytes(10000, 2)},
        {size / 3 - 100, randomBytes(200, 3)},
        {size - 3000, randomBytes(3000, 4)},
    };
    {
        const int fd = ::open(source.c_str(), O_WRONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        for (const auto& [offset, bytes] : pieces)
            ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
                static_cast<ssize_t>(bytes.size()));
        ::close(fd);
    }
    ASSERT_EQ(split(source, 3).end, TRunEnd::reCompleted);
    struct stat st {};
    uint64_t allocated = 0;
    for (int i = 1; i <= 3; ++i) {
        ASSERT_EQ(::stat((source + "._" + std::to_string(i)).c_str(), &st), 0);
        EXPECT_EQ(static_cast<uint64_t>(st.st_size), size / 3 + (i == 3 ? size % 3 : 0));
        allocated += static_cast<uint64_t>(st.st_blocks) * 512;
    }
    EXPECT_LT(allocated, 8u << 20) << "holes of the source stay holes in the parts";

    ASSERT_EQ(::rename(source.c_str(), tmp.path("original.img").c_str()), 0);
    ASSERT_EQ(join(source + "._1").end, TRunEnd::reCompleted);
    ASSERT_EQ(::stat(source.c_str(), &st), 0);
    EXPECT_LT(static_cast<uint64_t>(st.st_blocks) * 512, 8u << 20);
    expectSameContents(tmp.path("original.img"), source);
}

TEST_F(SplitJoinTest, FailedSplitSaysWhyAndRemovesItsParts)
{
    const std::string bytes = randomBytes(100, 5);
    const std::string source = tmp.file("s.bin", bytes);
    tmp.folder("s.bin._3");  // part 3 cannot be put in place over a folder
    const TRunResult run = split(source, 4);
    EXPECT_EQ(run.end, TRunEnd::reFailed);
    EXPECT_EQ(run.reason.rfind("Cannot write file \"" + source + "._3\". ", 0), 0u) << run.reason;
    EXPECT_FALSE(pathExists(source + "._1"));
    EXPECT_FALSE(pathExists(source + "._2"));
    EXPECT_FALSE(pathExists(source + "._4"));
    EXPECT_EQ(readFile(source), bytes);
    EXPECT_EQ(test::entryNames(tmp.path()).size(), 2u) << "no temporary file is left";

    struct Case {
        std::string source;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {tmp.path("missing.bin"), "Cannot open file \"" + tmp.path("missing.bin") + "\". No such file or directory"},
        {tmp.fifo("pipe"), "Cannot open file \"" + tmp.path("pipe") + "\". "},
        {tmp.folder("dir"), "Cannot open file \"" + tmp.path("dir") + "\". Is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        const TRunResult r = split(c.source, 2);
        EXPECT_EQ(r.end, TRunEnd::reFailed);
        EXPECT_EQ(r.reason.rfind(c.reason, 0), 0u) << r.reason;
        EXPECT_FALSE(pathExists(c.source + "._1"));
    }
    // A named pipe where a part goes is not replaced by a file.
    const std::string other = tmp.file("other.bin", "xy");
    tmp.fifo("other.bin._2");
    const TRunResult onPipe = split(other, 2);
    EXPECT_EQ(onPipe.end, TRunEnd::reFailed);
    EXPECT_EQ(onPipe.reason.rfind("Cannot create file \"" + other + "._2\". ", 0), 0u) << onPipe.reason;
    EXPECT_FALSE(pathExists(other + "._1"));

    EXPECT_EQ(splitEndText(TRunEnd::reFailed, "why"), "File Splitting process FAILED!\nwhy");
    EXPECT_EQ(joinEndText(TRunEnd::reFailed, "why"), "File Joining process FAILED!\nwhy");
}

TEST_F(SplitJoinTest, FailedJoinLeavesTheFileUnderTheJoinedNameAlone)
{
    tmp.file("out.bin", "precious");
    tmp.file("out.bin._1", "part one");
    tmp.folder("out.bin._2");  // a part that cannot be read
    const TRunResult run = join(tmp.path("out.bin._1"));
    EXPECT_EQ(run.end, TRunEnd::reFailed);
    EXPECT_EQ(run.reason, "Cannot open file \"" + tmp.path("out.bin._2") + "\". Is a directory");
    EXPECT_EQ(readFile(tmp.path("out.bin")), "precious");
    EXPECT_EQ(test::entryNames(tmp.path()).size(), 3u) << "no temporary file is left";

    // A named pipe under the joined name stays.
    TTempTree pipes;
    const std::string pipe = pipes.fifo("p");
    pipes.file("p._1", "one");
    const TRunResult onPipe = join(pipes.path("p._1"));
    EXPECT_EQ(onPipe.end, TRunEnd::reFailed);
    EXPECT_EQ(onPipe.reason.rfind("Cannot create file \"" + pipe + "\". ", 0), 0u) << onPipe.reason;
    EXPECT_EQ(test::entryNames(pipes.path()).size(), 2u);

    // A missing first part writes nothing at all.
    const TRunResult missing = join(tmp.path("out.bin.001"));
    EXPECT_EQ(missing.end, TRunEnd::reFailed);
    EXPECT_EQ(missing.reason,
        "Cannot open file \"" + tmp.path("out.bin.001") + "\". No such file or directory");
    EXPECT_EQ(readFile(tmp.path("out.bin")), "precious");

    // An extension of neither form: the joined name would be the part's own.
    tmp.file("notes", "mine");
    const TRunResult refused = join(tmp.path("notes"));
    EXPECT_EQ(refused.end, TRunEnd::reFailed);
    EXPECT_EQ(refused.reason, *joinRefusal(tmp.path("notes")));
    EXPECT_EQ(readFile(tmp.path("notes")), "mine");
}

TEST_F(SplitJoinTest, JoinNeverReplacesOneOfItsOwnParts)
{
    // The second part is the joined file itself, through a link or a second name.
    for (const bool hardLink : {false, true}) {
        SCOPED_TRACE(hardLink ? "hard link" : "symbolic link");
        TTempTree dir;
        const std::string out = dir.file("m.dat", "the joined file");
        dir.file("m.dat._1", "part one");
        if (hardLink)
            ASSERT_EQ(::link(out.c_str(), dir.path("m.dat._2").c_str()), 0);
        else
            dir.symlink("m.dat._2", "m.dat");
        const TRunResult run = join(dir.path("m.dat._1"));
        EXPECT_EQ(run.end, TRunEnd::reFailed);
        EXPECT_NE(run.reason.find("m.dat._2"), std::string::npos) << run.reason;
        EXPECT_EQ(readFile(out), "the joined file");
        EXPECT_EQ(test::entryNames(dir.path()).size(), 3u);
    }
    // The joined name a link to the first part: the link is replaced, the part kept.
    TTempTree dir;
    dir.file("n.dat._1", "part one");
    dir.symlink("n.dat", "n.dat._1");
    ASSERT_EQ(join(dir.path("n.dat._1")).end, TRunEnd::reFailed);
    EXPECT_EQ(readFile(dir.path("n.dat._1")), "part one");
}

TEST_F(SplitJoinTest, FullDiskFailsBothWaysAndLeavesNothingPartial)
{
    test::TSmallTmpfs disk(1 << 20);
    if (!disk.available())
        FAIL() << "cannot run here: cannot mount a small tmpfs: " << disk.reason();
    const std::string bytes = randomBytes(600 * 1024, 9);
    const std::string source = disk.path("src.bin");
    test::writeFile(source, bytes);
    const TRunResult run = split(source, 2);
    EXPECT_EQ(run.end, TRunEnd::reFailed);
    EXPECT_NE(run.reason.find("No space left on device"), std::string::npos) << run.reason;
    EXPECT_EQ(readFile(source), bytes);
    EXPECT_EQ(test::entryNames(disk.root()), std::vector<std::string>{"src.bin"});

    ::unlink(source.c_str());
    test::writeFile(disk.path("j.bin"), "kept");
    test::writeFile(disk.path("j.bin._1"), randomBytes(400 * 1024, 10));
    test::writeFile(disk.path("j.bin._2"), randomBytes(400 * 1024, 11));
    const TRunResult joined = join(disk.path("j.bin._1"));
    EXPECT_EQ(joined.end, TRunEnd::reFailed);
    EXPECT_EQ(joined.reason.rfind("Cannot write file \"" + disk.path("j.bin") + "\". No space left on device", 0), 0u)
        << joined.reason;
    EXPECT_EQ(readFile(disk.path("j.bin")), "kept");
    EXPECT_EQ(test::entryNames(disk.root()).size(), 3u);
}

}  // namespace
}  // namespace korvala
