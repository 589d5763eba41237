// Every algorithm over random data of every length around the block
// boundaries, compared with independent programs (openssl, rhash) run as
// processes; the same data fed in odd pieces; portable and accelerated
// kernels against each other.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Files.h"
#include "HexText.h"
#include "Process.h"
#include "TempTree.h"
#include "hash/CpuDispatch.h"
#include "hash/DigestContext.h"
#include "hash/DigestCores.h"
#include "hash/FileDigests.h"

using korvala::HashAlgorithm;
using korvala::test::haveProgram;
using korvala::test::runProcess;
using korvala::test::TTempTree;
using korvala::test::toUpper;

namespace {

std::vector<std::size_t> interestingLengths()
{
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 300; ++n)
        lengths.push_back(n);
    for (std::size_t edge : {512u, 1024u, 2048u, 4096u, 65521u, 65536u})
        for (std::size_t n = edge - 2; n <= edge + 2; ++n)
            lengths.push_back(n);
    for (std::size_t n : {1u << 20, (1u << 20) + 1, (1u << 20) - 1, (1u << 20) + 777})
        lengths.push_back(n);
    return lengths;
}

// The shared random files: one per length, named after the length.
class ReferenceFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new TTempTree();
        for (std::size_t n : interestingLengths()) {
            const std::string data = korvala::test::randomBytes(n, static_cast<std::uint32_t>(n * 2654435761u + 7));
            s_files.push_back({s_dir->file("len-" + std::to_string(n), data), data});
        }
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
        s_files.clear();
    }

    struct File {
        std::string path;
        std::string data;
    };
    static TTempTree* s_dir;
    static std::vector<File> s_files;
};

TTempTree* ReferenceFiles::s_dir = nullptr;
std::vector<ReferenceFiles::File> ReferenceFiles::s_files;

// Runs `argv` + every file path and reads "digest<space>[*]path" lines.
std::map<std::string, std::string> referenceDigests(std::vector<std::string> argv,
                                                    const std::vector<std::string>& paths, bool* ok)
{
    for (const auto& p : paths)
        argv.push_back(p);
    const auto result = runProcess(argv);
    std::map<std::string, std::string> digests;
    *ok = result.exitCode == 0;
    if (!*ok)
        return digests;
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line)) {
        const auto space = line.find(' ');
        if (space == std::string::npos)
            continue;
        std::string path = line.substr(space + 1);
        while (!path.empty() && (path.front() == ' ' || path.front() == '*'))
            path.erase(0, 1);
        digests[path] = toUpper(line.substr(0, space));
    }
    return digests;
}

// rhash prints Tiger with each 64-bit word least significant byte first; the
// program prints each word most significant first.
std::string tigerWordOrder(const std::string& bytewise)
{
    std::string out;
    for (std::size_t word = 0; word + 16 <= bytewise.size(); word += 16)
        for (int b = 7; b >= 0; --b)
            out += bytewise.substr(word + static_cast<std::size_t>(b) * 2, 2);
    return out;
}

struct Reference {
    HashAlgorithm algorithm;
    std::vector<std::vector<std::string>> commands;  // tried in order
    bool tigerOrder = false;
};

}  // namespace

TEST_F(ReferenceFiles, MatchIndependentPrograms)
{
    const std::vector<Reference> references = {
        {HashAlgorithm::haCRC32, {{"rhash", "--simple", "--crc32"}}},
        {HashAlgorithm::haMD4,
         {{"openssl", "dgst", "-r", "-provider", "legacy", "-provider", "default", "-md4"},
          {"rhash", "--simple", "--md4"}}},
        {HashAlgorithm::haMD5, {{"openssl", "dgst", "-r", "-md5"}}},
        {HashAlgorithm::haRIPEMD160,
         {{"openssl", "dgst", "-r", "-ripemd160"},
          {"openssl", "dgst", "-r", "-provider", "legacy", "-provider", "default", "-ripemd160"},
          {"rhash", "--simple", "--ripemd160"}}},
        {HashAlgorithm::haSHA1, {{"openssl", "dgst", "-r", "-sha1"}}},
        {HashAlgorithm::haSHA256, {{"openssl", "dgst", "-r", "-sha256"}}},
        {HashAlgorithm::haSHA384, {{"openssl", "dgst", "-r", "-sha384"}}},
        {HashAlgorithm::haSHA512, {{"openssl", "dgst", "-r", "-sha512"}}},
        {HashAlgorithm::haTiger192, {{"rhash", "--simple", "--tiger"}}, true},
    };
    std::vector<std::string> paths;
    for (const auto& f : s_files)
        paths.push_back(f.path);

    int compared = 0;
    for (const Reference& ref : references) {
        std::map<std::string, std::string> expected;
        bool ok = false;
        for (const auto& command : ref.commands) {
            if (!haveProgram(command.front()))
                continue;
            expected = referenceDigests(command, paths, &ok);
            if (ok)
                break;
        }
        if (!ok) {
            ADD_FAILURE() << "no reference program could compute " << korvala::hashAlgorithmName(ref.algorithm);
            continue;
        }
        for (bool portable : {false, true}) {
            korvala::setPortableDigestsOnly(portable);
            for (const auto& f : s_files) {
                auto it = expected.find(f.path);
                ASSERT_NE(it, expected.end()) << "reference printed nothing for " << f.path;
                const std::string want = ref.tigerOrder ? tigerWordOrder(it->second) : it->second;
                EXPECT_EQ(korvala::digestOfBytes(ref.algorithm, f.data.data(), f.data.size()), want)
                    << korvala::hashAlgorithmName(ref.algorithm) << " of " << f.data.size() << " bytes"
                    << (portable ? " (portable)" : " (accelerated)");
                ++compared;
            }
        }
        korvala::setPortableDigestsOnly(false);
    }
    EXPECT_GT(compared, 0);
}

// Whatever the sizes of the pieces, the digest is that of the whole.
TEST_F(ReferenceFiles, OddPiecesGiveTheSameDigest)
{
    const std::size_t pieces[] = {1, 3, 7, 55, 56, 63, 64, 65, 111, 127, 128, 129, 1000};
    for (int a = 0; a < korvala::HashAlgorithmCount; ++a) {
        const auto algorithm = static_cast<HashAlgorithm>(a);
        for (const auto& f : s_files) {
            if (f.data.size() > 70000)
                continue;
            const std::string whole = korvala::digestOfBytes(algorithm, f.data.data(), f.data.size());
            auto context = korvala::makeDigestContext(algorithm);
            std::size_t pos = 0;
            for (std::size_t i = 0; pos < f.data.size(); ++i) {
                const std::size_t n = std::min(pieces[i % std::size(pieces)], f.data.size() - pos);
                context->update(reinterpret_cast<const std::uint8_t*>(f.data.data()) + pos, n);
                pos += n;
            }
            ASSERT_EQ(context->finish(), whole)
                << korvala::hashAlgorithmName(algorithm) << " of " << f.data.size() << " bytes in pieces";
        }
    }
}

// The file reader (one pass, several digests, large blocks) agrees with the
// digests of the same bytes in memory.
TEST_F(ReferenceFiles, OnePassOverTheFileGivesEveryDigest)
{
    korvala::HashAlgorithmSet all;
    all.set();
    for (const auto& f : s_files) {
        const auto result = korvala::digestFile(f.path, all);
        ASSERT_TRUE(result.ok()) << f.path;
        for (int a = 0; a < korvala::HashAlgorithmCount; ++a) {
            const auto algorithm = static_cast<HashAlgorithm>(a);
            EXPECT_EQ(result.digests[static_cast<std::size_t>(a)],
                      korvala::digestOfBytes(algorithm, f.data.data(), f.data.size()))
                << korvala::hashAlgorithmName(algorithm) << " of " << f.path;
        }
    }
}

// The accelerated kernels against the portable ones, called directly at every
// alignment and length up to a few blocks, then on a large buffer.
TEST(AcceleratedKernels, AgreeWithPortableKernels)
{
    const std::string data = korvala::test::randomBytes((1 << 16) + 64, 99);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());

    if (!korvala::cpuHasCarrylessMultiply() && !korvala::cpuHasShaInstructions())
        FAIL() << "cannot run here: this processor has neither carry-less multiply nor SHA instructions";

    if (korvala::cpuHasCarrylessMultiply()) {
        for (std::size_t offset = 0; offset < 16; ++offset)
            for (std::size_t n = 0; n < 600; ++n)
                ASSERT_EQ(korvala::digest::crc32UpdateClmul(0x12345678u + n, bytes + offset, n),
                          korvala::digest::crc32UpdatePortable(0x12345678u + n, bytes + offset, n))
                    << "CRC-32 of " << n << " bytes at offset " << offset;
        EXPECT_EQ(korvala::digest::crc32UpdateClmul(0xFFFFFFFFu, bytes + 3, 1 << 16),
                  korvala::digest::crc32UpdatePortable(0xFFFFFFFFu, bytes + 3, 1 << 16));
    }
    if (korvala::cpuHasWideCarrylessMultiply()) {
        for (std::size_t offset = 0; offset < 64; offset += 7)
            for (std::size_t n = 400; n < 2200; ++n)
                ASSERT_EQ(korvala::digest::crc32UpdateVpclmul(0x9ABCDEF0u ^ n, bytes + offset, n),
                          korvala::digest::crc32UpdatePortable(0x9ABCDEF0u ^ n, bytes + offset, n))
                    << "wide CRC-32 of " << n << " bytes at offset " << offset;
        EXPECT_EQ(korvala::digest::crc32UpdateVpclmul(0xFFFFFFFFu, bytes + 5, 1 << 16),
                  korvala::digest::crc32UpdatePortable(0xFFFFFFFFu, bytes + 5, 1 << 16));
    }
    // SHA-512's vector forms go four, eight and sixteen blocks at a time, the
    // rest through the smaller forms: every count up to 40 blocks, and 500.
    std::vector<std::size_t> sha512Blocks;
    for (std::size_t blocks = 1; blocks <= 40; ++blocks)
        sha512Blocks.push_back(blocks);
    sha512Blocks.push_back(500);
    for (int level = 1; level <= korvala::digest::sha512Levels(); ++level)
        for (std::size_t offset : {0u, 1u, 7u})
            for (std::size_t blocks : sha512Blocks) {
                std::uint64_t vector[8] = {1, 2, 3, 4, 5, 6, 7, 8}, portable[8] = {1, 2, 3, 4, 5, 6, 7, 8};
                korvala::digest::sha512CompressAt(level, vector, bytes + offset, blocks);
                korvala::digest::sha512CompressAt(0, portable, bytes + offset, blocks);
                ASSERT_TRUE(std::equal(vector, vector + 8, portable))
                    << "SHA-512 form " << level << ", " << blocks << " blocks at offset " << offset;
            }
    if (korvala::cpuHasShaInstructions()) {
        for (std::size_t blocks = 1; blocks <= 5; ++blocks)
            for (std::size_t offset : {0u, 1u, 7u}) {
                std::uint32_t a1[5] = {1, 2, 3, 4, 5}, b1[5] = {1, 2, 3, 4, 5};
                korvala::digest::sha1CompressShaNi(a1, bytes + offset, blocks);
                korvala::digest::sha1CompressPortable(b1, bytes + offset, blocks);
                EXPECT_TRUE(std::equal(a1, a1 + 5, b1)) << "SHA-1, " << blocks << " blocks";
                std::uint32_t a2[8] = {8, 7, 6, 5, 4, 3, 2, 1}, b2[8] = {8, 7, 6, 5, 4, 3, 2, 1};
                korvala::digest::sha256CompressShaNi(a2, bytes + offset, blocks);
                korvala::digest::sha256CompressPortable(b2, bytes + offset, blocks);
                EXPECT_TRUE(std::equal(a2, a2 + 8, b2)) << "SHA-256, " << blocks << " blocks";
            }
    }
}
