// The file functions of the digest library: whole contents of real files,
// the one-pass reader on both of its paths, error texts, TFileStreamW.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Files.h"
#include "Process.h"
#include "TempTree.h"
#include "hash/CpuDispatch.h"
#include "hash/DigestContext.h"
#include "hash/FileDigests.h"
#include "hash/FileStreamW.h"
#include "hash/Hashes.h"
#include "platform/File.h"
#include "platform/KorvalaError.h"

using korvala::HashAlgorithm;
using korvala::test::TTempTree;

namespace {

std::string digestOf(HashAlgorithm a, const std::string& data)
{
    return korvala::digestOfBytes(a, data.data(), data.size());
}

// The message of the KorvalaError thrown by `f`, or "" when nothing is thrown.
template <class F>
std::string errorOf(F&& f)
{
    try {
        f();
    } catch (const korvala::KorvalaError& e) {
        return e.what();
    }
    return "";
}

using FileFunction = void (*)(const std::string&, std::uint32_t, std::string&);

struct NamedFunction {
    HashAlgorithm algorithm;
    FileFunction function;
};

const NamedFunction kFileFunctions[] = {
    {HashAlgorithm::haMD4, korvala::MD4File},           {HashAlgorithm::haRIPEMD128, korvala::RIPEMD128File},
    {HashAlgorithm::haRIPEMD160, korvala::RIPEMD160File}, {HashAlgorithm::haSHA1, korvala::SHA1File},
    {HashAlgorithm::haSHA256, korvala::SHA256File},     {HashAlgorithm::haSHA384, korvala::SHA384File},
    {HashAlgorithm::haSHA512, korvala::SHA512File},     {HashAlgorithm::haTiger128, korvala::Tiger128File},
    {HashAlgorithm::haTiger160, korvala::Tiger160File}, {HashAlgorithm::haTiger192, korvala::Tiger192File},
};

}  // namespace

// Small files through every public entry.
TEST(FileDigests, EveryEntryHashesTheWholeFile)
{
    TTempTree dir;
    for (std::size_t size : {0u, 1u, 1024u, 1025u, 2049u}) {
        const std::string data = korvala::test::randomBytes(size, static_cast<std::uint32_t>(size) + 1);
        const std::string path = dir.file(std::string("f").append(std::to_string(size)), data);
        const std::string context = path + " (" + std::to_string(size) + " bytes)";

        EXPECT_EQ(korvala::HexDigits(8, korvala::CRC32File(path)), digestOf(HashAlgorithm::haCRC32, data)) << context;
        std::string md5;
        korvala::MD5File(korvala::pathToUtf16(path), md5);
        EXPECT_EQ(md5, digestOf(HashAlgorithm::haMD5, data)) << context;
        for (const auto& named : kFileFunctions) {
            std::string digest = "stale";
            named.function(path, 1024, digest);
            EXPECT_EQ(digest, digestOf(named.algorithm, data))
                << korvala::hashAlgorithmName(named.algorithm) << " of " << context;
        }
        for (int a = 0; a < korvala::HashAlgorithmCount; ++a)
            EXPECT_EQ(korvala::HashFileByAlgorithm(static_cast<HashAlgorithm>(a), path),
                      digestOf(static_cast<HashAlgorithm>(a), data))
                << korvala::hashAlgorithmName(static_cast<HashAlgorithm>(a)) << " of " << context;

        korvala::HashAlgorithmSet all;
        all.set();
        const auto result = korvala::digestFile(path, all);
        ASSERT_TRUE(result.ok());
        for (int a = 0; a < korvala::HashAlgorithmCount; ++a)
            EXPECT_EQ(result.digests[static_cast<std::size_t>(a)], digestOf(static_cast<HashAlgorithm>(a), data))
                << "one pass, " << korvala::hashAlgorithmName(static_cast<HashAlgorithm>(a)) << " of " << context;
    }
}

// A file large enough for the two-thread reader: all digests in one pass
// (split over both threads), and single digests (reading on one thread,
// hashing on the other), on the accelerated and the portable kernels.
TEST(FileDigests, LargeFileOnTheTwoThreadReader)
{
    TTempTree dir;
    const std::size_t size = static_cast<std::size_t>(korvala::kParallelDigestMinSize) + (1u << 20) + 13u;
    const std::string data = korvala::test::randomBytes(size, 77);
    const std::string path = dir.file("large.bin", data);
    korvala::HashAlgorithmSet all;
    all.set();
    const auto result = korvala::digestFile(path, all);
    ASSERT_TRUE(result.ok());
    for (int a = 0; a < korvala::HashAlgorithmCount; ++a)
        EXPECT_EQ(result.digests[static_cast<std::size_t>(a)], digestOf(static_cast<HashAlgorithm>(a), data))
            << korvala::hashAlgorithmName(static_cast<HashAlgorithm>(a));
    for (bool portable : {false, true}) {
        korvala::setPortableDigestsOnly(portable);
        for (HashAlgorithm a : {HashAlgorithm::haCRC32, HashAlgorithm::haSHA1, HashAlgorithm::haSHA256})
            EXPECT_EQ(korvala::HashFileByAlgorithm(a, path), result.digests[static_cast<std::size_t>(a)])
                << korvala::hashAlgorithmName(a) << (portable ? " (portable)" : " (accelerated)");
    }
    korvala::setPortableDigestsOnly(false);
}

// A cancel request is taken between blocks on both readers: the pass stops
// after the block at which it was asked (the file's position shows how far it
// read) and gives no digests. Sparse files: no disk is used.
TEST(FileDigests, CancelStopsThePassBetweenBlocks)
{
    TTempTree dir;
    constexpr long long kBlock = 1 << 20;
    const struct {
        const char* name;
        long long size;
        int stopAtQuery;  // 0: never stop
        long long readTo;
        int queries;
    } cases[] = {
        {"serial, stopped at the 2nd", 3 * kBlock + 5, 2, 2 * kBlock, 2},
        {"serial, not stopped", 3 * kBlock + 5, 0, 3 * kBlock + 5, 3},
        {"exactly 2 blocks, not stopped", 2 * kBlock, 0, 2 * kBlock, 2},
        {"one block or less: never asked", kBlock - 1, 1, kBlock - 1, 0},
        {"two threads, stopped at the 1st", korvala::kParallelDigestMinSize + 5 * kBlock, 1, kBlock, 1},
        {"two threads, stopped at the 3rd", korvala::kParallelDigestMinSize + 5 * kBlock, 3, 3 * kBlock, 3},
    };
    korvala::HashAlgorithmSet all;
    all.set();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(std::string(c.name) + ".bin", "");
        ASSERT_EQ(::truncate(path.c_str(), c.size), 0) << path << ": " << std::strerror(errno);
        korvala::TFile file;
        ASSERT_FALSE(file.open(path, korvala::TOpenOptions::contentRead())) << path;
        int queries = 0;
        const auto result = korvala::digestOpenFile(file, all, [&] { return ++queries == c.stopAtQuery; });
        std::int64_t position = -1;
        ASSERT_FALSE(file.seek(0, korvala::TSeekFrom::Current, position));
        EXPECT_EQ(position, c.readTo);
        EXPECT_EQ(queries, c.queries);
        EXPECT_EQ(result.cancelled, c.stopAtQuery != 0 && c.queries >= c.stopAtQuery);
        if (result.cancelled) {
            EXPECT_FALSE(result.ok());
            for (const std::string& digest : result.digests)
                EXPECT_EQ(digest, "");
            EXPECT_THROW(korvala::digestTextOrThrow(result, HashAlgorithm::haCRC32, path), std::logic_error);
        } else {
            ASSERT_TRUE(result.ok());
            EXPECT_EQ(result.digests[0], korvala::HashFileByAlgorithm(HashAlgorithm::haCRC32, path));
        }
    }
}

TEST(FileDigests, EmptyFileAndTigerPrefixes)
{
    TTempTree dir;
    const std::string empty = dir.file("empty", "");
    EXPECT_EQ(korvala::HashFileByAlgorithm(HashAlgorithm::haCRC32, empty), "00000000");
    EXPECT_EQ(korvala::HashFileByAlgorithm(HashAlgorithm::haTiger192, empty),
              "24F0130C63AC933216166E76B1BB925FF373DE2D49584E7A");
    EXPECT_EQ(korvala::HashFileByAlgorithm(HashAlgorithm::haTiger160, empty),
              "24F0130C63AC933216166E76B1BB925FF373DE2D");
    EXPECT_EQ(korvala::HashFileByAlgorithm(HashAlgorithm::haTiger128, empty), "24F0130C63AC933216166E76B1BB925F");

    const std::string some = dir.file("some", korvala::test::randomBytes(5000, 5));
    const std::string t192 = korvala::HashFileByAlgorithm(HashAlgorithm::haTiger192, some);
    EXPECT_EQ(korvala::HashFileByAlgorithm(HashAlgorithm::haTiger160, some), t192.substr(0, 40));
    EXPECT_EQ(korvala::HashFileByAlgorithm(HashAlgorithm::haTiger128, some), t192.substr(0, 32));
}

// CRC32 of a missing file is 0; every other digest raises its open error with
// the full path; only MD5's text begins with "TFileStreamW: ".
TEST(FileDigests, MissingFileErrors)
{
    TTempTree dir;
    const std::string missing = dir.path() + "/no such file.bin";
    EXPECT_EQ(korvala::CRC32File(missing), 0u);
    EXPECT_EQ(korvala::HashFileByAlgorithm(HashAlgorithm::haCRC32, missing), "00000000");

    const std::string plain = "Cannot open file \"" + missing + "\". No such file or directory";
    for (int a = 1; a < korvala::HashAlgorithmCount; ++a) {
        const auto algorithm = static_cast<HashAlgorithm>(a);
        const std::string expected = algorithm == HashAlgorithm::haMD5 ? std::string("TFileStreamW: ").append(plain) : plain;
        EXPECT_EQ(errorOf([&] { korvala::HashFileByAlgorithm(algorithm, missing); }), expected)
            << korvala::hashAlgorithmName(algorithm);
    }
    for (const auto& named : kFileFunctions) {
        std::string digest;
        EXPECT_EQ(errorOf([&] { named.function(missing, 1024, digest); }), plain);
    }
    std::string md5;
    EXPECT_EQ(errorOf([&] { korvala::MD5File(korvala::pathToUtf16(missing), md5); }), std::string("TFileStreamW: ").append(plain));
}

// The path in the message is the expanded one: absolute, "." and ".." resolved.
TEST(FileDigests, ErrorNamesTheExpandedPath)
{
    TTempTree dir;
    std::filesystem::create_directory(dir.path() + "/sub");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::string message =
        errorOf([] { korvala::HashFileByAlgorithm(HashAlgorithm::haSHA1, "./sub/../gone.txt"); });
    std::filesystem::current_path(saved);
    EXPECT_EQ(message, "Cannot open file \"" + dir.path() + "/gone.txt\". No such file or directory");
}

TEST(FileDigests, FolderIsNotAFile)
{
    TTempTree dir;
    EXPECT_EQ(korvala::CRC32File(dir.path()), 0u);
    EXPECT_EQ(errorOf([&] { korvala::HashFileByAlgorithm(HashAlgorithm::haSHA256, dir.path()); }),
              "Cannot open file \"" + dir.path() + "\". Is a directory");
    EXPECT_EQ(errorOf([&] { korvala::HashFileByAlgorithm(HashAlgorithm::haMD5, dir.path()); }),
              "TFileStreamW: Cannot open file \"" + dir.path() + "\". Is a directory");
}

// Root reads files whatever their permissions; run as root, the test asks as
// an ordinary user who owns the file.
TEST(FileDigests, UnreadableFileForNonRoot)
{
    TTempTree dir;
    const std::string path = dir.file("locked", "secret", 0);
    const auto ask = [&] {
        return std::to_string(korvala::CRC32File(path)) + "|"
            + errorOf([&] { korvala::HashFileByAlgorithm(HashAlgorithm::haMD4, path); });
    };
    std::string answer;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0) << dir.path();
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0) << path;
        answer = korvala::test::runAsNobody(ask);
    } else {
        answer = ask();
    }
    EXPECT_EQ(answer, "0|Cannot open file \"" + path + "\". Permission denied");
}

// There are no sharing modes here that refuse readers of a file another
// process writes: every algorithm reads it, with what is written so far.
TEST(FileDigests, FileOpenForWritingIsRead)
{
    TTempTree dir;
    const std::string path = dir.path() + "/growing.log";
    const int writer = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(writer, 0) << std::strerror(errno);
    const std::string data = korvala::test::randomBytes(3000, 3);
    ASSERT_EQ(::write(writer, data.data(), data.size()), static_cast<ssize_t>(data.size()));
    for (int a = 0; a < korvala::HashAlgorithmCount; ++a)
        EXPECT_EQ(korvala::HashFileByAlgorithm(static_cast<HashAlgorithm>(a), path),
                  digestOf(static_cast<HashAlgorithm>(a), data));
    ::close(writer);
}

// A name that is not valid UTF-8 survives the UTF-16 path of MD5File.
TEST(FileDigests, NamesThatAreNotUtf8)
{
    TTempTree dir;
    const std::string data = "contents";
    const std::string path = dir.file(std::string("bad-\xFF\xC3(-\xED\xA0\x80-ok-\xC3\xA9"), data);
    const std::u16string wide = korvala::pathToUtf16(path);
    EXPECT_EQ(korvala::utf16ToPath(wide), path);
    std::string md5;
    korvala::MD5File(wide, md5);
    EXPECT_EQ(md5, digestOf(HashAlgorithm::haMD5, data));
    EXPECT_EQ(korvala::HashFileByAlgorithm(HashAlgorithm::haMD5, path), md5);

    const struct {
        std::string bytes;
        std::u16string wide;
    } cases[] = {
        {"abc", u"abc"},
        {"\xC3\xA9", u"\u00E9"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xFF", std::u16string(1, char16_t(0xDCFF))},
        {"\xC0\xAF", {char16_t(0xDCC0), char16_t(0xDCAF)}},  // overlong form
    };
    for (const auto& c : cases) {
        EXPECT_EQ(korvala::pathToUtf16(c.bytes), c.wide);
        EXPECT_EQ(korvala::utf16ToPath(c.wide), c.bytes);
    }
}

TEST(FileStreamW, CreateWriteReadSeek)
{
    TTempTree dir;
    const std::string path = dir.path() + "/stream.bin";
    {
        korvala::TFileStreamW out(korvala::pathToUtf16(path), korvala::fmCreate);
        EXPECT_EQ(out.FileName(), korvala::pathToUtf16(path));
        EXPECT_EQ(out.Write("hello world", 11), 11u);
        EXPECT_EQ(out.Size(), 11);
    }
    korvala::TFileStreamW in(korvala::pathToUtf16(path), korvala::fmOpenRead | korvala::fmShareDenyWrite);
    EXPECT_EQ(in.Seek(6, korvala::soFromBeginning), 6);
    char buffer[16] = {};
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "world");
    EXPECT_EQ(in.Position(), 11);
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(in.Seek(-5, korvala::soFromEnd), 6);

    const std::string missing = dir.path() + "/nope";
    EXPECT_EQ(errorOf([&] { korvala::TFileStreamW s(korvala::pathToUtf16(missing), korvala::fmOpenRead); }),
              "TFileStreamW: Cannot open file \"" + missing + "\". No such file or directory");
    const std::string noFolder = dir.path() + "/no/folder.bin";
    EXPECT_EQ(errorOf([&] { korvala::TFileStreamW s(korvala::pathToUtf16(noFolder), korvala::fmCreate); }),
              "TFileStreamW: Cannot create file \"" + noFolder + "\". No such file or directory");
}
