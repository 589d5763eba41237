// korvala-cli hash, verify and compare, run as real processes.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Files.h"
#include "Process.h"
#include "TempTree.h"
#include "hash/DigestContext.h"
#include "tools/hash/HashReport.h"

using korvala::HashAlgorithm;
using korvala::test::TTempTree;

namespace {

std::string digestOf(HashAlgorithm a, const std::string& data)
{
    return korvala::digestOfBytes(a, data.data(), data.size());
}

korvala::test::ProcessResult cli(const std::vector<std::string>& args)
{
    return korvala::test::runCli(args);
}

class HashCli : public ::testing::Test {
protected:
    TTempTree dir;
    std::string data = korvala::test::randomBytes(12345, 21);
    std::string file = dir.file("data.bin", data);
    std::string other = dir.file("other.bin", "other contents");
};

}  // namespace

TEST_F(HashCli, DefaultReportIsCrc32Md5Sha1)
{
    const auto r = cli({"hash", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Filename   : " + file + "\n" + "CRC32      : " + digestOf(HashAlgorithm::haCRC32, data) + "\n"
                         + "MD5        : " + digestOf(HashAlgorithm::haMD5, data) + "\n"
                         + "SHA-1      : " + digestOf(HashAlgorithm::haSHA1, data) + "\n\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(HashCli, ChosenAlgorithmsInListOrderAndLowercase)
{
    const auto r = cli({"hash", "-a", "sha-256", "-a", "CRC32", "--lowercase", file, other});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string expected =
        "Filename   : " + file + "\nCRC32      : " + korvala::asciiLowercase(digestOf(HashAlgorithm::haCRC32, data))
        + "\nSHA-256    : " + korvala::asciiLowercase(digestOf(HashAlgorithm::haSHA256, data)) + "\n\n"
        + "Filename   : " + other + "\nCRC32      : "
        + korvala::asciiLowercase(digestOf(HashAlgorithm::haCRC32, "other contents")) + "\nSHA-256    : "
        + korvala::asciiLowercase(digestOf(HashAlgorithm::haSHA256, "other contents")) + "\n\n";
    EXPECT_EQ(r.out, expected);

    const auto all = cli({"hash", "-a", "all", file});
    EXPECT_EQ(all.exitCode, 0);
    std::string lines;
    for (int k = 0; k < korvala::HashAlgorithmCount; ++k)
        lines += std::string(korvala::HashReportLabels[static_cast<std::size_t>(k)])
                 + digestOf(static_cast<HashAlgorithm>(k), data) + "\n";
    EXPECT_EQ(all.out, "Filename   : " + file + "\n" + lines + "\n");
}

TEST_F(HashCli, FailingDigestEndsTheRunAfterTheReportSoFar)
{
    const std::string gone = dir.path() + "/gone.bin";
    const auto r = cli({"hash", "-a", "CRC32", "-a", "MD5", file, gone, other});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "Filename   : " + file + "\nCRC32      : " + digestOf(HashAlgorithm::haCRC32, data)
                         + "\nMD5        : " + digestOf(HashAlgorithm::haMD5, data) + "\n\nFilename   : " + gone
                         + "\nCRC32      : 00000000\n");
    EXPECT_EQ(r.err, "TFileStreamW: Cannot open file \"" + gone + "\". No such file or directory\n");

    const auto crcOnly = cli({"hash", "-a", "crc32", gone});
    EXPECT_EQ(crcOnly.exitCode, 0);
    EXPECT_EQ(crcOnly.out, "Filename   : " + gone + "\nCRC32      : 00000000\n\n");
}

TEST_F(HashCli, BadUsageExitsWithTwo)
{
    EXPECT_EQ(cli({"hash", "-a", "SHA256", file}).exitCode, 2);
    EXPECT_EQ(cli({"hash"}).exitCode, 2);
    EXPECT_EQ(cli({"verify", "-a", "MD6", file, "00"}).exitCode, 2);
    EXPECT_EQ(cli({"compare", file}).exitCode, 2);
}

TEST_F(HashCli, VerifySameAndDifferent)
{
    const std::string sha1 = digestOf(HashAlgorithm::haSHA1, data);
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* out;
    } cases[] = {
        {{"verify", "-a", "SHA-1", file, korvala::asciiLowercase(sha1)}, 0, "File Checksum is SAME\n"},
        {{"verify", "-a", "sha-1", file, sha1 + " "}, 1, "File Checksum is DIFFERENT\n"},
        {{"verify", file, digestOf(HashAlgorithm::haMD5, data)}, 0, "File Checksum is SAME\n"},  // MD5 by default
        {{"verify", "-a", "Tiger-192", file, sha1}, 1, "File Checksum is DIFFERENT\n"},
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.back() << r.err;
        EXPECT_EQ(r.out, c.out);
    }
    const auto missing = cli({"verify", "-a", "MD5", dir.path() + "/gone", "abc"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "TFileStreamW: Cannot open file \"" + dir.path() + "/gone\". No such file or directory\n");
}

TEST_F(HashCli, CompareTwoFiles)
{
    const auto same = cli({"compare", "-a", "SHA-256", file, file});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    const std::string d = digestOf(HashAlgorithm::haSHA256, data);
    EXPECT_EQ(same.out, "1st File Checksum : " + d + "\n2nd File Checksum : " + d + "\nBoth File Checksum are SAME\n");

    const auto differ = cli({"compare", file, other});  // CRC32 by default
    EXPECT_EQ(differ.exitCode, 1);
    EXPECT_EQ(differ.out, "1st File Checksum : " + digestOf(HashAlgorithm::haCRC32, data)
                              + "\n2nd File Checksum : " + digestOf(HashAlgorithm::haCRC32, "other contents")
                              + "\nBoth File Checksum are DIFFERENT\n");

    const auto missing = cli({"compare", "-a", "SHA-1", file, dir.path() + "/gone"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "Cannot open file \"" + dir.path() + "/gone\". No such file or directory\n");
}

// `korvala-cli compare a b && rm b` must not go on when a file was not read:
// with CRC32, the comparer's default, a missing file or a folder would have
// the CRC32 of an empty file. Each case is the open error and status 1.
TEST_F(HashCli, FilesThatCannotBeOpenedAreNeverTheSame)
{
    const std::string gone = dir.path() + "/gone";
    const std::string empty = dir.file("empty.bin", "");
    const std::string folder = dir.folder("sub");
    const std::string goneText = "Cannot open file \"" + gone + "\". No such file or directory\n";
    const std::string folderText = "Cannot open file \"" + folder + "\". Is a directory\n";
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"compare", gone, dir.path() + "/also gone"}, goneText},
        {{"compare", empty, gone}, goneText},
        {{"compare", folder, empty}, folderText},
        {{"compare", "-a", "crc32", empty, folder}, folderText},
        {{"verify", "-a", "CRC32", gone, "00000000"}, goneText},
        {{"verify", "-a", "CRC32", folder, "00000000"}, folderText},
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args[c.args.size() - 2] << " " << c.args.back();
        EXPECT_EQ(r.out, "") << c.args[c.args.size() - 2] << " " << c.args.back();
        EXPECT_EQ(r.err, c.err);
    }
    // The shell line from above leaves the file alone.
    const std::string kept = dir.file("kept.bin", "");
    const auto shell = korvala::test::runProcess(
        {"/bin/sh", "-c", "\"$0\" compare \"$1\" \"$2\" && rm -- \"$2\"", korvala::test::cliPath(), gone, kept});
    EXPECT_EQ(shell.exitCode, 1) << shell.err;
    EXPECT_EQ(::access(kept.c_str(), F_OK), 0) << kept << " was removed";
}

// KORVALA_HASH_PORTABLE=1 makes the program use its portable kernels; the
// report is the same.
TEST_F(HashCli, PortableKernelsGiveTheSameReport)
{
    const auto accelerated = cli({"hash", "-a", "CRC32", "-a", "SHA-1", "-a", "SHA-256", file});
    const auto portable = korvala::test::runCli({"hash", "-a", "CRC32", "-a", "SHA-1", "-a", "SHA-256", file},
        {.env = {"KORVALA_HASH_PORTABLE=1"}});
    EXPECT_EQ(portable.exitCode, 0);
    EXPECT_EQ(portable.out, accelerated.out);
    EXPECT_NE(portable.out.find(digestOf(HashAlgorithm::haSHA256, data)), std::string::npos);
}

// As root every file is readable; an ordinary user's report stops at the first
// digest that needs the unreadable file (CRC32 writes 00000000 and goes on).
TEST_F(HashCli, UnreadableFileForAnOrdinaryUser)
{
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0) << dir.path();
    const std::string secret = dir.file("secret.bin", "secret", 0600);
    const auto r = korvala::test::runCli({"hash", "-a", "CRC32", "-a", "MD5", secret, other}, {.unprivileged = true});
    EXPECT_EQ(r.exitCode, 1) << korvala::test::describe(r);
    EXPECT_EQ(r.out, "Filename   : " + secret + "\nCRC32      : 00000000\n");
    EXPECT_EQ(r.err, "TFileStreamW: Cannot open file \"" + secret + "\". Permission denied\n");
}
