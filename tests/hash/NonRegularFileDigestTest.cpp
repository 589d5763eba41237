// Digests of what is not a regular file: a FIFO without a writer and an endless
// device used to make a run wait for ever; they are open errors now, in the
// library's usual texts.

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

#include "TempTree.h"
#include "hash/CRC32.h"
#include "hash/FileStreamW.h"
#include "hash/Hashes.h"
#include "hash/MD5.h"
#include "platform/KorvalaError.h"
#include "tools/hash/HashReport.h"

namespace korvala {
namespace {

template <class F>
std::string errorOf(F&& f)
{
    try {
        f();
    } catch (const KorvalaError& e) {
        return e.what();
    }
    return "";
}

TEST(NonRegularFileDigests, FifosAndDevicesAreOpenErrors)
{
    test::TTempTree dir;
    const std::string fifo = dir.path() + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        const std::string plain = "Cannot open file \"" + path + "\". Not a regular file";
        EXPECT_EQ(CRC32File(path), 0u);
        EXPECT_EQ(HashFileByAlgorithm(HashAlgorithm::haCRC32, path), "00000000");
        for (int a = 1; a < HashAlgorithmCount; ++a) {
            const auto algorithm = static_cast<HashAlgorithm>(a);
            const std::string expected = algorithm == HashAlgorithm::haMD5 ? "TFileStreamW: " + plain : plain;
            EXPECT_EQ(errorOf([&] { HashFileByAlgorithm(algorithm, path); }), expected) << a;
        }
        std::string digest;
        EXPECT_EQ(errorOf([&] { MD5File(pathToUtf16(path), digest); }), "TFileStreamW: " + plain);
        EXPECT_EQ(errorOf([&] { TFileStreamW s(pathToUtf16(path), fmOpenReadWrite); }), "TFileStreamW: " + plain);

        // The report stops at the file's first digest other than CRC32.
        std::vector<std::string> lines;
        HashReportCallbacks callbacks;
        callbacks.isTicked = [](int k) { return k == 0 || k == 5; };  // CRC32, SHA-1
        callbacks.appendLine = [&](const std::string& line) { lines.push_back(line); };
        EXPECT_EQ(errorOf([&] { WriteHashReport({path}, callbacks); }), plain);
        EXPECT_EQ(lines, (std::vector<std::string>{"Filename   : " + path, "CRC32      : 00000000"}));
    }
    // Creating a stream over a FIFO would wait for a reader; it is refused too.
    EXPECT_EQ(errorOf([&] { TFileStreamW s(pathToUtf16(fifo), fmCreate); }),
        "TFileStreamW: Cannot create file \"" + fifo + "\". Not a regular file");
}

}  // namespace
}  // namespace korvala
