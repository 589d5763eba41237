// The Hash generator's report, the checksum verifier and the file comparer.

#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Files.h"
#include "TempTree.h"
#include "tools/hash/ChecksumCheck.h"
#include "hash/DigestContext.h"
#include "tools/hash/HashReport.h"
#include "platform/KorvalaError.h"

using korvala::HashAlgorithm;
using korvala::test::TTempTree;

namespace {

std::string digestOf(HashAlgorithm a, const std::string& data)
{
    return korvala::digestOfBytes(a, data.data(), data.size());
}

struct Recorder {
    std::vector<std::string> lines;
    int filenameLines = 0;  // how many files the report has begun
    std::vector<std::pair<int, int>> progress;
    int cancelPolls = 0;
    int accepted = 0;
};

korvala::HashReportCallbacks callbacksFor(Recorder& r, std::vector<int> ticked, bool lowercase = false)
{
    korvala::HashReportCallbacks cb;
    cb.isTicked = [ticked](int k) { return std::find(ticked.begin(), ticked.end(), k) != ticked.end(); };
    cb.lowercase = [lowercase] { return lowercase; };
    cb.appendLine = [&r](const std::string& line) {
        r.lines.push_back(line);
        if (line.rfind("Filename", 0) == 0)
            ++r.filenameLines;
    };
    cb.progress = [&r](int position, int maximum) { r.progress.emplace_back(position, maximum); };
    cb.cancelRequested = [&r] {
        ++r.cancelPolls;
        return false;
    };
    cb.acceptCancel = [&r] { ++r.accepted; };
    return cb;
}

class HashReport : public ::testing::Test {
protected:
    TTempTree dir;
    std::string dataA = korvala::test::randomBytes(4000, 11);
    std::string dataB = korvala::test::randomBytes(70000, 12);
    std::string fileA = dir.file("Alpha.BIN", dataA);
    std::string fileB = dir.file("beta.bin", dataB);
};

}  // namespace

TEST_F(HashReport, StartUpChoiceGivesFourLinesAndAnEmptyOne)
{
    Recorder r;
    EXPECT_EQ(korvala::WriteHashReport({fileA}, callbacksFor(r, {0, 2, 5})), korvala::HashReportOutcome::hrCompleted);
    const std::vector<std::string> expected = {
        "Filename   : " + fileA,
        "CRC32      : " + digestOf(HashAlgorithm::haCRC32, dataA),
        "MD5        : " + digestOf(HashAlgorithm::haMD5, dataA),
        "SHA-1      : " + digestOf(HashAlgorithm::haSHA1, dataA),
        "",
    };
    EXPECT_EQ(r.lines, expected);
    EXPECT_EQ(r.lines[1].size(), 13u + 8u);
    EXPECT_EQ(r.lines[2].size(), 13u + 32u);
    EXPECT_EQ(r.lines[3].size(), 13u + 40u);
    EXPECT_EQ(r.progress, (std::vector<std::pair<int, int>>{{0, 1}, {1, 1}}));
    EXPECT_EQ(r.cancelPolls, 12);  // after every slot, ticked or not
    EXPECT_EQ(r.accepted, 0);
}

TEST_F(HashReport, AllTwelveInLowerCaseKeepLabelsAndPaths)
{
    Recorder r;
    korvala::WriteHashReport({fileA, fileB}, callbacksFor(r, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, true));
    ASSERT_EQ(r.lines.size(), 28u);
    const std::string* data[] = {&dataA, &dataB};
    const std::string* path[] = {&fileA, &fileB};
    for (int f = 0; f < 2; ++f) {
        const std::size_t base = static_cast<std::size_t>(f) * 14;
        EXPECT_EQ(r.lines[base], "Filename   : " + *path[f]);  // the path keeps its capitals
        for (int k = 0; k < 12; ++k) {
            const std::string& line = r.lines[base + 1 + static_cast<std::size_t>(k)];
            EXPECT_EQ(line.substr(0, 13), korvala::HashReportLabels[static_cast<std::size_t>(k)]);
            EXPECT_EQ(line.find(':'), 11u) << line;
            EXPECT_EQ(line.substr(13), korvala::asciiLowercase(digestOf(static_cast<HashAlgorithm>(k), *data[f])));
        }
        EXPECT_EQ(r.lines[base + 13], "");
    }
    for (auto label : korvala::HashReportLabels)
        EXPECT_EQ(label.size(), 13u);
    EXPECT_EQ(korvala::HashReportFileLabel.size(), 13u);
}

// Abort during the third file of five: two whole blocks, and of the third only
// what was written before the abort was seen; no empty line, no progress step.
TEST_F(HashReport, AbortKeepsTheLinesWrittenSoFar)
{
    Recorder r;
    auto cb = callbacksFor(r, {0, 2, 5});
    int pollsOnThirdFile = 0;
    cb.cancelRequested = [&] { return r.filenameLines == 3 && ++pollsOnThirdFile > 3; };  // seen after slot 3
    const std::vector<std::string> files = {fileA, fileB, fileA, fileB, fileA};
    EXPECT_EQ(korvala::WriteHashReport(files, cb), korvala::HashReportOutcome::hrCancelled);
    EXPECT_EQ(r.accepted, 1);
    ASSERT_EQ(r.lines.size(), 5u + 5u + 3u);
    EXPECT_EQ(r.lines[10], "Filename   : " + fileA);
    EXPECT_EQ(r.lines[11].substr(0, 13), "CRC32      : ");
    EXPECT_EQ(r.lines[12].substr(0, 13), "MD5        : ");
    EXPECT_EQ(r.progress.back(), std::make_pair(2, 5));
}

// An abort while a big file is read is taken between its blocks, before any
// of its digests is done: the report ends with that file's name line, and the
// rest of the file is not read (the request is asked for once).
TEST_F(HashReport, AbortDuringABigFileEndsWithoutItsDigests)
{
    const std::string big = dir.sparseFile("big.bin", std::uint64_t(3) << 20);
    Recorder r;
    auto cb = callbacksFor(r, {0, 2, 5});
    int pollsOnBig = 0;
    cb.cancelRequested = [&] {
        if (r.filenameLines != 2)
            return false;
        ++pollsOnBig;
        return true;
    };
    EXPECT_EQ(korvala::WriteHashReport({fileA, big, fileB}, cb), korvala::HashReportOutcome::hrCancelled);
    EXPECT_EQ(r.accepted, 1);
    EXPECT_EQ(pollsOnBig, 1);
    ASSERT_EQ(r.lines.size(), 5u + 1u);
    EXPECT_EQ(r.lines[4], "");
    EXPECT_EQ(r.lines[5], "Filename   : " + big);
    EXPECT_EQ(r.progress.back(), std::make_pair(1, 3));
}

TEST_F(HashReport, DeletedFileWithOnlyCrc32Completes)
{
    Recorder r;
    const std::string gone = dir.path() + "/deleted.bin";
    EXPECT_EQ(korvala::WriteHashReport({gone}, callbacksFor(r, {0})), korvala::HashReportOutcome::hrCompleted);
    EXPECT_EQ(r.lines, (std::vector<std::string>{"Filename   : " + gone, "CRC32      : 00000000", ""}));
}

// Any other digest of an unreadable file stops the run at that digest with
// its error; the lines before it stay.
TEST_F(HashReport, UnreadableFileStopsAtTheFailingDigest)
{
    Recorder r;
    const std::string gone = dir.path() + "/deleted.bin";
    try {
        korvala::WriteHashReport({fileA, gone, fileB}, callbacksFor(r, {0, 2, 5}));
        FAIL() << "no error raised";
    } catch (const korvala::KorvalaError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "TFileStreamW: Cannot open file \"" + gone + "\". No such file or directory");
    }
    ASSERT_EQ(r.lines.size(), 5u + 2u);
    EXPECT_EQ(r.lines[5], "Filename   : " + gone);
    EXPECT_EQ(r.lines[6], "CRC32      : 00000000");
    EXPECT_EQ(r.progress.back(), std::make_pair(1, 3));

    Recorder sha;
    try {
        korvala::WriteHashReport({gone}, callbacksFor(sha, {6}));
        FAIL() << "no error raised";
    } catch (const korvala::KorvalaError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + gone + "\". No such file or directory");
    }
    EXPECT_EQ(sha.lines, (std::vector<std::string>{"Filename   : " + gone}));
}

TEST_F(HashReport, VerifierIgnoresCaseButNothingElse)
{
    const std::string sha1 = digestOf(HashAlgorithm::haSHA1, dataA);
    const struct {
        std::string code;
        korvala::ChecksumVerdict verdict;
    } cases[] = {
        {sha1, korvala::ChecksumVerdict::cvSame},
        {korvala::asciiLowercase(sha1), korvala::ChecksumVerdict::cvSame},
        {sha1 + " ", korvala::ChecksumVerdict::cvDifferent},
        {" " + sha1, korvala::ChecksumVerdict::cvDifferent},
        {sha1 + "\n", korvala::ChecksumVerdict::cvDifferent},
        {sha1.substr(0, 32), korvala::ChecksumVerdict::cvDifferent},
        {digestOf(HashAlgorithm::haSHA1, dataB), korvala::ChecksumVerdict::cvDifferent},
    };
    for (const auto& c : cases)
        EXPECT_EQ(korvala::VerifyFileChecksum(fileA, HashAlgorithm::haSHA1, c.code), c.verdict) << "\"" << c.code << "\"";
    EXPECT_EQ(korvala::verifyVerdictText(korvala::ChecksumVerdict::cvSame), "File Checksum is SAME");
    EXPECT_EQ(korvala::verifyVerdictText(korvala::ChecksumVerdict::cvDifferent), "File Checksum is DIFFERENT");
}

// A verdict needs both files read. CRC32 of a file that cannot be read would
// be "00000000", the CRC32 of an empty file: two missing files, or a folder
// and an empty file, would be the SAME. The verifier and the comparer raise
// the open error instead, with every algorithm.
TEST_F(HashReport, VerdictsNeedFilesThatCanBeRead)
{
    const std::string gone = dir.path() + "/gone";
    const std::string alsoGone = dir.path() + "/also gone";
    const std::string empty = dir.file("empty.bin", "");
    const std::string folder = dir.folder("sub");
    const std::string goneText = "Cannot open file \"" + gone + "\". No such file or directory";
    const std::string folderText = "Cannot open file \"" + folder + "\". Is a directory";
    const auto errorOf = [](const std::function<void()>& f) -> std::string {
        try {
            f();
        } catch (const korvala::KorvalaError& e) {
            return e.what();
        }
        return "no error";
    };
    const struct {
        std::string name;
        std::function<void()> run;
        std::string error;
    } cases[] = {
        {"verify missing, CRC32", [&] { korvala::VerifyFileChecksum(gone, HashAlgorithm::haCRC32, "00000000"); },
            goneText},
        {"verify folder, CRC32", [&] { korvala::VerifyFileChecksum(folder, HashAlgorithm::haCRC32, "00000000"); },
            folderText},
        {"verify missing, MD5", [&] { korvala::VerifyFileChecksum(gone, HashAlgorithm::haMD5, "x"); },
            "TFileStreamW: " + goneText},
        {"compare two missing, CRC32",
            [&] { korvala::CompareFileChecksums(gone, alsoGone, HashAlgorithm::haCRC32); }, goneText},
        {"compare folder and empty, CRC32",
            [&] { korvala::CompareFileChecksums(folder, empty, HashAlgorithm::haCRC32); }, folderText},
        {"compare empty and missing, CRC32",
            [&] { korvala::CompareFileChecksums(empty, gone, HashAlgorithm::haCRC32); }, goneText},
        {"compare empty and missing, SHA-1",
            [&] { korvala::CompareFileChecksums(empty, gone, HashAlgorithm::haSHA1); }, goneText},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf(c.run), c.error) << c.name;

    // An empty file that is there is no error: its CRC32 is "00000000".
    EXPECT_EQ(korvala::VerifyFileChecksum(empty, HashAlgorithm::haCRC32, "00000000"), korvala::ChecksumVerdict::cvSame);
    const auto twoEmpty = korvala::CompareFileChecksums(empty, dir.file("empty2.bin", ""), HashAlgorithm::haCRC32);
    ASSERT_TRUE(twoEmpty.has_value());
    EXPECT_EQ(twoEmpty->verdict, korvala::ChecksumVerdict::cvSame);
}

TEST_F(HashReport, ComparerDigestsAndVerdicts)
{
    auto same = korvala::CompareFileChecksums(fileB, fileB, HashAlgorithm::haSHA256);
    ASSERT_TRUE(same.has_value());
    EXPECT_EQ(same->firstDigest, digestOf(HashAlgorithm::haSHA256, dataB));
    EXPECT_EQ(same->firstDigest, same->secondDigest);
    EXPECT_EQ(same->verdict, korvala::ChecksumVerdict::cvSame);
    EXPECT_EQ(korvala::compareVerdictText(same->verdict), "Both File Checksum are SAME");

    std::string changed = dataB;
    changed.back() = static_cast<char>(changed.back() ^ 1);
    const std::string fileC = dir.file("changed.bin", changed);
    auto differ = korvala::CompareFileChecksums(fileB, fileC, HashAlgorithm::haTiger128);
    ASSERT_TRUE(differ.has_value());
    EXPECT_EQ(differ->firstDigest.size(), 32u);
    EXPECT_NE(differ->firstDigest, differ->secondDigest);
    EXPECT_EQ(korvala::compareVerdictText(differ->verdict), "Both File Checksum are DIFFERENT");

    auto tiger = korvala::CompareFileChecksums(fileA, fileB, HashAlgorithm::haTiger192);
    EXPECT_EQ(tiger->secondDigest.size(), 48u);
}

// Cancellation is looked at between the blocks of each file's read and once
// between the two digests: what follows the request is not read (a missing
// file after it raises no error).
TEST_F(HashReport, ComparerCancelsWithinAFileAndBetweenTheDigests)
{
    const std::string big = dir.sparseFile("big.bin", (std::uint64_t(3) << 20) + 1);
    const std::string missing = dir.path() + "/missing";
    const struct {
        const char* name;
        std::string first, second;
        int stopAtQuery;  // 0: never stop
        int queries;
        bool cancelled;
    } cases[] = {
        {"between the digests", fileA, missing, 1, 1, true},
        {"within the first file", big, missing, 2, 2, true},
        {"within the second file", fileA, big, 2, 2, true},
        {"not stopped", big, fileA, 0, 3 + 1, false},
    };
    for (const auto& c : cases) {
        int queries = 0;
        int accepted = 0;
        const auto result = korvala::CompareFileChecksums(
            c.first, c.second, HashAlgorithm::haMD5, [&] { return ++queries == c.stopAtQuery; },
            [&] { ++accepted; });
        EXPECT_EQ(result.has_value(), !c.cancelled) << c.name;
        EXPECT_EQ(accepted, c.cancelled ? 1 : 0) << c.name;
        EXPECT_EQ(queries, c.queries) << c.name;
    }
    EXPECT_THROW(korvala::CompareFileChecksums(fileA, dir.path() + "/missing", HashAlgorithm::haMD5),
                 korvala::KorvalaError);
    EXPECT_EQ(korvala::CompareAlgorithms.size(), 10u);
    EXPECT_EQ(korvala::CompareAlgorithms[7], HashAlgorithm::haTiger128);
}
