// korvala-cli seek --json and hash --json, run as real processes: every line
// is parsed back as JSON and its fields checked against the files, for names
// holding line feeds, quotes, backslashes, control bytes, shell syntax and
// bytes that are not UTF-8.

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "JsonRecords.h"
#include "Process.h"
#include "TempTree.h"
#include "hash/DigestContext.h"
#include "hash/HashAlgorithm.h"
#include "platform/FileAttributes.h"
#include "tools/hash/HashReport.h"

namespace korvala {
namespace {

using test::ProcessResult;
using test::runCli;
using test::TTempTree;

struct OddName {
    std::string name;
    bool utf8;
};

const OddName kOddNames[] = {
    {"line\nfeed.txt", true},
    {"quote\"d.txt", true},
    {"back\\slash.txt", true},
    {"control\x01\x1f\x7f.txt", true},
    {"$(touch pwned) `id`.txt", true},
    {"tab\there.txt", true},
    {"utf8 \xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80.txt", true},
    {"latin1 \xe9.txt", false},
    {"bytes \xff\xfe.txt", false},
    {"overlong \xc0\xaf.txt", false},
    {"surrogate \xed\xa0\x80.txt", false},
    {"beyond \xf4\x90\x80\x80.txt", false},
    {"cut short \xe2\x82", false},
};

// The keys of a one-line output, in their order on the line.
std::vector<std::string> keyOrder(const std::string& line)
{
    std::vector<std::string> keys;
    const nlohmann::ordered_json object = nlohmann::ordered_json::parse(line);
    for (const auto& item : object.items())
        keys.push_back(item.key());
    return keys;
}

// Sets the modified time (UTC seconds) of a path.
void setModified(const std::string& path, time_t seconds)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// Every odd name as a file in the root (its contents as long as its place in
// the table plus one), and a folder whose name is not UTF-8 with a file in it.
class JsonOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (size_t i = 0; i < std::size(kOddNames); ++i) {
            contents[tree.file(kOddNames[i].name, std::string(i + 1, char('a' + i)))] = std::string(i + 1, char('a' + i));
        }
        folder = tree.folder("folder \xfe");
        inner = tree.file("folder \xfe/inner.txt", "inner");
        contents[inner] = "inner";
    }

    TTempTree tree;
    std::map<std::string, std::string> contents;  // path -> bytes of each file
    std::string folder, inner;
};

TEST_F(JsonOutput, SeekGivesTheGridRowOfEveryMatch)
{
    const std::string readOnly = tree.path(kOddNames[0].name);
    ASSERT_FALSE(setFileAttributes(readOnly, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    const std::string summer = tree.path(kOddNames[1].name), winter = tree.path(kOddNames[8].name);
    setModified(summer, 1719837005);  // 2024-07-01 12:30:05 UTC
    setModified(winter, 1705363199);  // 2024-01-15 23:59:59 UTC

    const ProcessResult r =
        runCli({"seek", "--json", "--attr", "Directory=ignore", tree.root()}, {.env = {"TZ=Europe/Berlin"}});
    ASSERT_EQ(r.exitCode, 0) << test::describe(r);
    EXPECT_EQ(r.err, "Searching process completed!\n");
    const std::vector<nlohmann::json> records = test::parseJsonLines(r.out);
    ASSERT_EQ(records.size(), contents.size() + 1) << r.out;

    std::map<std::string, nlohmann::json> byPath;
    for (const nlohmann::json& record : records) {
        ASSERT_TRUE(record.is_object()) << record;
        const std::string path = test::bytesField(record, "path");
        const std::string name = test::bytesField(record, "name");
        const std::string location = test::bytesField(record, "location");
        EXPECT_EQ(location + name, path);
        EXPECT_EQ(location, path.substr(0, path.rfind('/') + 1));
        EXPECT_TRUE(byPath.emplace(path, record).second) << "listed twice: " << record;
    }
    for (const OddName& odd : kOddNames) {
        const std::string path = tree.path(odd.name);
        ASSERT_EQ(byPath.count(path), 1u) << "missing: " << path << "\n" << r.out;
        nlohmann::json record = byPath[path];
        // The plain key for UTF-8 text, the base64 key otherwise, never both.
        EXPECT_EQ(record.contains("name"), odd.utf8) << record;
        EXPECT_EQ(record.contains("name_b64"), !odd.utf8) << record;
        EXPECT_EQ(record.contains("path"), odd.utf8) << record;
        EXPECT_EQ(record.contains("location"), true) << record;
        EXPECT_EQ(record["size"], contents[path].size()) << record;
        if (path == readOnly) {
            EXPECT_EQ(record["attributes"], "_R_A_");
            EXPECT_EQ(record["attribute_word"], FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
        } else {
            EXPECT_EQ(record["attributes"], "_____") << record;
            EXPECT_EQ(record["attribute_word"], FILE_ATTRIBUTE_NORMAL) << record;
        }
    }
    // The local time with the offset in force at the stamp's own date.
    EXPECT_EQ(byPath[summer]["modified"], "2024-07-01T14:30:05+02:00");
    EXPECT_EQ(byPath[winter]["modified"], "2024-01-16T00:59:59+01:00");

    ASSERT_EQ(byPath.count(folder), 1u) << r.out;
    nlohmann::json dir = byPath[folder];
    EXPECT_TRUE(dir["size"].is_null()) << dir;
    EXPECT_EQ(dir["attributes"], "____D");
    EXPECT_NE(dir["attribute_word"].get<uint32_t>() & FILE_ATTRIBUTE_DIRECTORY, 0u) << dir;
    ASSERT_EQ(byPath.count(inner), 1u) << r.out;
    // Only the folder's name is not UTF-8: the file's name is plain, its
    // location and path are not.
    EXPECT_EQ(byPath[inner]["name"], "inner.txt");
    EXPECT_TRUE(byPath[inner].contains("location_b64")) << byPath[inner];
    EXPECT_EQ(byPath[inner]["size"], 5);

    // The records come in the walk's order: that of the NUL-ended paths.
    const ProcessResult nul = runCli({"seek", "-0", "--attr", "Directory=ignore", tree.root()});
    ASSERT_EQ(nul.exitCode, 0) << test::describe(nul);
    std::string inOrder;
    for (const nlohmann::json& record : records)
        inOrder += test::bytesField(record, "path") + '\0';
    EXPECT_EQ(nul.out, inOrder);
}

TEST_F(JsonOutput, SeekStatusesAndRefusedCombinations)
{
    const struct {
        std::vector<std::string> args;
        int exitCode;
    } cases[] = {
        {{"seek", "--json", "--name", "*.nothing"}, 1},
        {{"seek", "--json", "--rows"}, 2},
        {{"seek", "--null", "--json"}, 2},
        {{"seek", "-0", "--rows"}, 2},
        {{"seek", "--json", "--min-size", "12XB"}, 2},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(tree.root());
        const ProcessResult r = runCli(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << args[1] << " " << args[2] << ": " << test::describe(r);
        EXPECT_EQ(r.out, "") << args[1] << " " << args[2];
    }
    // No match: the same text and status as the plain run.
    const ProcessResult plain = runCli({"seek", "--name", "*.nothing", tree.root()});
    const ProcessResult json = runCli({"seek", "--json", "--name", "*.nothing", tree.root()});
    EXPECT_EQ(json.err, plain.err);
}

TEST_F(JsonOutput, HashGivesOneFieldPerDigestInReportOrder)
{
    std::vector<std::string> args = {"hash", "--json", "-a", "all"};
    for (const OddName& odd : kOddNames)
        args.push_back(tree.path(odd.name));
    args.push_back(inner);
    const ProcessResult r = runCli(args);
    ASSERT_EQ(r.exitCode, 0) << test::describe(r);
    EXPECT_EQ(r.err, "");
    const std::vector<nlohmann::json> records = test::parseJsonLines(r.out);
    ASSERT_EQ(records.size(), args.size() - 4) << r.out;
    const std::vector<std::string> keys = {"crc32", "md4", "md5", "ripemd128", "ripemd160", "sha1", "sha256",
        "sha384", "sha512", "tiger128", "tiger160", "tiger192"};
    for (size_t i = 0; i < records.size(); ++i) {
        nlohmann::json record = records[i];
        const std::string& path = args[i + 4];
        EXPECT_EQ(test::bytesField(record, "path"), path) << record;
        ASSERT_EQ(record.size(), 1 + keys.size()) << record;
        const std::string& data = contents[path];
        for (size_t k = 0; k < keys.size(); ++k)
            EXPECT_EQ(record[keys[k]], digestOfBytes(static_cast<HashAlgorithm>(k), data.data(), data.size()))
                << keys[k] << " of " << record;
    }

    // The default digests, in lower case when asked, and in report order
    // whatever the order of -a.
    const ProcessResult lower = runCli({"hash", "--json", "-a", "SHA-256", "-a", "crc32", "--lowercase", inner});
    ASSERT_EQ(lower.exitCode, 0) << test::describe(lower);
    std::vector<nlohmann::json> one = test::parseJsonLines(lower.out);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(keyOrder(lower.out), (std::vector<std::string>{"path_b64", "crc32", "sha256"}));
    EXPECT_EQ(one[0]["sha256"], asciiLowercase(digestOfBytes(HashAlgorithm::haSHA256, "inner", 5)));
    EXPECT_EQ(one[0]["crc32"], asciiLowercase(digestOfBytes(HashAlgorithm::haCRC32, "inner", 5)));

    const std::string quote = tree.path(kOddNames[1].name);
    const ProcessResult byDefault = runCli({"hash", "--json", quote});
    ASSERT_EQ(byDefault.exitCode, 0) << test::describe(byDefault);
    EXPECT_EQ(keyOrder(byDefault.out), (std::vector<std::string>{"path", "crc32", "md5", "sha1"}));
    EXPECT_EQ(nlohmann::json::parse(byDefault.out)["md5"], digestOfBytes(HashAlgorithm::haMD5, "bb", 2));
}

// A digest that fails ends the run as without --json: the same text on
// standard error and status 1, later files untouched. The failed file's
// record carries what the report showed for it and the error text.
TEST_F(JsonOutput, HashErrorsEndTheRunWithTheFailedFilesRecord)
{
    const std::string good = tree.path(kOddNames[2].name);
    const std::string gone = tree.path("gone \xff");
    const struct {
        std::vector<std::string> args;
        int exitCode;
        size_t records;
        std::string failed;  // the path of the last record, which has the error
    } cases[] = {
        {{"-a", "CRC32", "-a", "MD5", good, gone, inner}, 1, 2, gone},
        {{"-a", "SHA-1", folder, good}, 1, 1, folder},
        {{"-a", "crc32", gone, good}, 0, 2, ""},  // CRC32 of an unreadable file is 00000000, no error
    };
    for (const auto& c : cases) {
        std::vector<std::string> plainArgs = {"hash"}, jsonArgs = {"hash", "--json"};
        plainArgs.insert(plainArgs.end(), c.args.begin(), c.args.end());
        jsonArgs.insert(jsonArgs.end(), c.args.begin(), c.args.end());
        const ProcessResult plain = runCli(plainArgs), json = runCli(jsonArgs);
        const std::string label = c.args[c.args.size() - 2] + " " + c.args.back();
        EXPECT_EQ(plain.exitCode, c.exitCode) << label << ": " << test::describe(plain);
        EXPECT_EQ(json.exitCode, c.exitCode) << label << ": " << test::describe(json);
        EXPECT_EQ(json.err, plain.err) << label;
        const std::vector<nlohmann::json> records = test::parseJsonLines(json.out);
        ASSERT_EQ(records.size(), c.records) << label << ":\n" << json.out;
        for (size_t i = 0; i + 1 < records.size(); ++i)
            EXPECT_FALSE(records[i].contains("error") || records[i].contains("error_b64")) << records[i];
        nlohmann::json last = records.back();
        if (c.exitCode == 0) {
            EXPECT_FALSE(last.contains("error") || last.contains("error_b64")) << last;
            continue;
        }
        // The error text names the path, so it too may need base64.
        ASSERT_FALSE(plain.err.empty());
        EXPECT_EQ(test::bytesField(last, "error") + "\n", plain.err) << last;
        EXPECT_EQ(test::bytesField(last, "path"), c.failed) << last;
    }
    std::vector<nlohmann::json> crcOnly =
        test::parseJsonLines(runCli({"hash", "--json", "-a", "crc32", gone}).out);
    ASSERT_EQ(crcOnly.size(), 1u);
    EXPECT_EQ(crcOnly[0]["crc32"], "00000000");

    std::vector<nlohmann::json> failed =
        test::parseJsonLines(runCli({"hash", "--json", "-a", "CRC32", "-a", "MD5", gone}).out);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0]["crc32"], "00000000") << "the report's line before the error";
    EXPECT_FALSE(failed[0].contains("md5")) << failed[0];
}

}  // namespace
}  // namespace korvala
