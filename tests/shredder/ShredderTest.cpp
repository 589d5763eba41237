// ShredFile and ShredList on real files: what each pass writes (read back
// before the deletion), the list walked from its end, entries passed over,
// read-only files refused to root too, links never followed, aborts between
// files, a pass that cannot be written, and the warning's extra line.

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DirectoryEntries.h"
#include "Files.h"
#include "SmallTmpfs.h"
#include "TempTree.h"
#include "platform/KorvalaError.h"
#include "tools/shredder/ProgramRandom.h"
#include "tools/shredder/Shredder.h"

namespace korvala {
namespace {

using test::randomBytes;
using test::pathExists;
using test::readFile;
using test::TTempTree;

const std::string kWarning =
    "This process will remove these files permanently and make these files Unrecoverable!\r\r"
    "Do you want to Continue ?";


// What a ShredList run did: the positions it reported, in order.
struct TListRun {
    std::vector<size_t> done;
    bool completed = false;
    int accepted = 0;
    std::string error;
};

TListRun shredList(const std::vector<std::string>& list, int cancelAt = 0)
{
    TListRun run;
    int asked = 0;
    try {
        run.completed = ShredList(list, [&] { return cancelAt > 0 && ++asked >= cancelAt; },
            [&] { ++run.accepted; }, [&](size_t position) { run.done.push_back(position); });
    } catch (const KorvalaError& e) {
        run.error = e.what();
    }
    return run;
}

class ShredderTest : public ::testing::Test {
protected:
    TTempTree tmp;
};

TEST_F(ShredderTest, EachPassWritesTheNextBlockOfTheGeneratorOverTheWholeLength)
{
    for (const size_t size : {size_t{10000}, size_t{0}, size_t{3 << 20}}) {
        SCOPED_TRACE(std::to_string(size) + " bytes");
        const std::string path = tmp.file("victim.bin", randomBytes(size, 4));
        // What the program-wide generator will give from here.
        TLinearCongruential expected{programRandomState()};
        std::vector<std::string> seen;
        ShredFile(path, [&](int pass) {
            EXPECT_EQ(pass, static_cast<int>(seen.size()) + 1);
            seen.push_back(readFile(path));
        });
        ASSERT_EQ(seen.size(), 3u);
        for (const std::string& pass : seen) {
            std::string block(kShredBlockSize, '\0');
            expected.fill(reinterpret_cast<unsigned char*>(block.data()), block.size());
            ASSERT_EQ(pass.size(), size) << "the length does not change";
            // From offset 0 the block again and again, the last copy cut
            // (10,000 bytes: 4096, 4096 and 1808).
            for (size_t at = 0; at < size; at += kShredBlockSize)
                ASSERT_EQ(pass.compare(at, kShredBlockSize, block, 0, std::min(kShredBlockSize, size - at)), 0)
                    << "block at " << at;
        }
        EXPECT_EQ(programRandomState(), expected.state) << "one block drawn per pass";
        EXPECT_FALSE(pathExists(path));
    }
}

TEST_F(ShredderTest, GeneratorBytesAreTheTopBitsOfEachNewState)
{
    TLinearCongruential g;
    // state 1, 134775814, ... : top bytes of 0x00000001, 0x08088406, 0x...
    uint32_t state = 0;
    for (int i = 0; i < 1000; ++i) {
        state = state * 134775813u + 1u;
        ASSERT_EQ(g.nextByte(), static_cast<uint8_t>(state >> 24)) << i;
    }
    TLinearCongruential fresh;
    EXPECT_EQ(fresh.nextByte(), 0u);     // state 1
    EXPECT_EQ(fresh.nextByte(), 0x08u);  // state 0x08088406
}

TEST_F(ShredderTest, ListIsWalkedFromItsEndPassingOverWhatIsNoFile)
{
    const std::string outside = tmp.file("outside.txt", "not in the list");
    const std::vector<std::string> list = {
        tmp.file("first \"$(x)\"\nname", "1"),
        tmp.path("gone.txt"),
        tmp.folder("a folder"),
        tmp.symlink("link.txt", outside),
        tmp.fifo("pipe"),
        tmp.file("last.txt", "5"),
    };
    const TListRun run = shredList(list);
    EXPECT_TRUE(run.completed);
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.done, (std::vector<size_t>{5, 0}));
    EXPECT_FALSE(pathExists(list[0]));
    EXPECT_FALSE(pathExists(list[5]));
    // The link stays, and the file it points to was never written.
    EXPECT_TRUE(pathExists(list[3]));
    EXPECT_EQ(readFile(outside), "not in the list");
    EXPECT_TRUE(pathExists(list[2]));
    EXPECT_TRUE(pathExists(list[4]));
}

TEST_F(ShredderTest, ReadOnlyFileStopsTheRunEvenForRoot)
{
    struct Case {
        const char* what;
        mode_t mode;
        bool storedBit;
    };
    for (const Case& c : {Case{"no write permission", 0444, false}, Case{"stored read-only bit", 0644, true}}) {
        SCOPED_TRACE(c.what);
        TTempTree dir;
        const std::string first = dir.file("a.txt", "a");
        const std::string readOnly = dir.file("ro.txt", "keep me", c.mode);
        if (c.storedBit)
            test::setRawXattr(readOnly, "user.DOSATTRIB", "0x1");
        const std::string last = dir.file("c.txt", "c");
        const TListRun run = shredList({first, readOnly, last});
        EXPECT_EQ(run.error, "Cannot open file \"" + readOnly + "\". Permission denied");
        EXPECT_EQ(run.done, std::vector<size_t>{2});
        EXPECT_FALSE(pathExists(last));
        EXPECT_EQ(readFile(readOnly), "keep me");
        EXPECT_EQ(readFile(first), "a");
    }
}

TEST_F(ShredderTest, AbortIsTakenBetweenFiles)
{
    std::vector<std::string> list;
    for (int i = 1; i <= 5; ++i)
        list.push_back(tmp.file(std::string("f").append(std::to_string(i)), randomBytes(5000, static_cast<uint32_t>(i))));
    // The third look, after two files were done, stops the run.
    const TListRun run = shredList(list, 3);
    EXPECT_FALSE(run.completed);
    EXPECT_EQ(run.accepted, 1);
    EXPECT_EQ(run.done, (std::vector<size_t>{4, 3}));
    EXPECT_EQ(test::entryNames(tmp.path()), (std::vector<std::string>{"f1", "f2", "f3"}));
}

TEST_F(ShredderTest, PassThatCannotBeWrittenKeepsTheFile)
{
    // Overwriting the holes of a sparse file needs room the disk does not have.
    test::TSmallTmpfs disk(1 << 20);
    if (!disk.available())
        FAIL() << "cannot run here: cannot mount a small tmpfs: " << disk.reason();
    const std::string path = disk.path("sparse.bin");
    test::writeFile(path, "");
    ASSERT_EQ(::truncate(path.c_str(), 4 << 20), 0);
    try {
        ShredFile(path);
        ADD_FAILURE() << "the shred went through";
    } catch (const KorvalaError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot write file \"" + path + "\". No space left on device");
    }
    EXPECT_TRUE(pathExists(path));
}

TEST_F(ShredderTest, WarningSaysWhenOverwritingMayNotReachTheOldBlocks)
{
    const std::string plain = tmp.file("plain.txt");
    EXPECT_EQ(shredWarningText({plain}), kWarning);
    EXPECT_EQ(shredWarningText({tmp.path("missing")}), kWarning);

    // A file of an overlay's lower layer is copied up when it is opened for
    // writing: the lower copy is never overwritten.
    const std::string lower = tmp.folder("lower"), upper = tmp.folder("upper"), work = tmp.folder("work"),
                      merged = tmp.folder("merged");
    tmp.file("lower/old.txt", "old");
    const std::string options = "lowerdir=" + lower + ",upperdir=" + upper + ",workdir=" + work;
    if (::mount("overlay", merged.c_str(), "overlay", 0, options.c_str()) != 0)
        FAIL() << "cannot run here: cannot mount an overlay";
    const std::string text = shredWarningText({plain, merged + "/old.txt"});
    ::umount2(merged.c_str(), MNT_DETACH);
    EXPECT_EQ(text,
        "This process will remove these files permanently and make these files Unrecoverable!\r\r"
        "Some of these files lie on a copy-on-write or network file system: overwriting them there may not "
        "reach the blocks that held their old contents.\r\rDo you want to Continue ?");
}

}  // namespace
}  // namespace korvala
