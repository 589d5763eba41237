// The user.DOSATTRIB codec: strict reading of every layout SMB servers have written,
// and the exact bytes of the version 3 value we write.

#include "platform/DosAttrib.h"

#include <gtest/gtest.h>

#include "platform/FileAttributes.h"
#include "platform/FileTimes.h"
#include "platform/NtTime.h"
#include "Files.h"
#include "TempTree.h"

namespace korvala {
namespace {

std::string fromHex(const std::string& hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        if (hex[i] == ' ') {
            --i;
            continue;
        }
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return out;
}

std::string toHex(const std::string& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}

constexpr uint64_t CREATED = 0x01D9A1B2C3D4E5F6ULL;

struct ParseCase {
    const char* name;
    std::string value;
    bool valid;
    uint32_t attributes;
    std::optional<uint64_t> createTime;
    uint16_t version;
};

TEST(DosAttribCodec, ReadsEveryAcceptedLayoutAndRejectsTheRest)
{
    const ParseCase cases[] = {
        {"hex with 0x", "0x22", true, 0x22, std::nullopt, 0},
        {"hex without 0x", "22", true, 0x22, std::nullopt, 0},
        {"hex with NUL", std::string("0x22\0", 5), true, 0x22, std::nullopt, 0},
        {"upper-case hex", "0X1F", true, 0x1F, std::nullopt, 0},
        {"eight digits", "0x00002026", true, 0x2026, std::nullopt, 0},
        // Records as SMB servers write them (text, version, level, record).
        {"v1", fromHex("307832310000010001000000210000000000000000100000000000000010000000000000"
                       "f6e5d4c3b2a1d901fbe5d4c3b2a1d901"),
            true, 0x21, CREATED, 1},
        {"v2 with name", fromHex("307833000200020000000000030000000000000000100000000000000010000000000000"
                                 "f6e5d4c3b2a1d901fbe5d4c3b2a1d901fde5d4c3b2a1d901612e74787400"),
            true, 0x3, CREATED, 2},
        {"v3 with creation time", fromHex("30783232000003000300000011000000220000000000000000100000000000000010000000000000"
                                          "f6e5d4c3b2a1d901fbe5d4c3b2a1d901"),
            true, 0x22, CREATED, 3},
        {"v3 creation time not valid", fromHex("307832000300030001000000020000000000000000100000000000000010000000000000"
                                               "f6e5d4c3b2a1d901fbe5d4c3b2a1d901"),
            true, 0x2, std::nullopt, 3},
        {"v4 (itime before create_time)", fromHex("00000400040000005100000026000000ffe5d4c3b2a1d901f6e5d4c3b2a1d901"),
            true, 0x26, CREATED, 4},
        {"v5 as written by current servers", fromHex("00000500050000001100000020000000f6e5d4c3b2a1d901"),
            true, 0x20, CREATED, 5},
        {"v5 attributes not valid", fromHex("00000500050000001000000020000000f6e5d4c3b2a1d901"),
            true, 0x0, CREATED, 5},
        // Anything else is as good as no attribute at all.
        {"empty", "", false, 0, std::nullopt, 0},
        {"NUL alone", std::string("\0", 1), false, 0, std::nullopt, 0},
        {"0x alone", "0x", false, 0, std::nullopt, 0},
        {"not hex", "0x2g", false, 0, std::nullopt, 0},
        {"nine digits", "0x123456789", false, 0, std::nullopt, 0},
        {"text then garbage", std::string("0x22\0zz", 7), false, 0, std::nullopt, 0},
        {"v5 one byte short", fromHex("00000500050000001100000020000000f6e5d4c3b2a1d9"), false, 0, std::nullopt, 0},
        {"v5 one byte long", fromHex("00000500050000001100000020000000f6e5d4c3b2a1d90100"), false, 0, std::nullopt, 0},
        {"v3 record cut", fromHex("30783232000003000300000011000000220000000000000000100000"), false, 0, std::nullopt, 0},
        {"version 6", fromHex("00000600060000001100000020000000f6e5d4c3b2a1d901"), false, 0, std::nullopt, 0},
        {"level differs", fromHex("00000500040000001100000020000000f6e5d4c3b2a1d901"), false, 0, std::nullopt, 0},
        {"v2 name without NUL", fromHex("307833000200020000000000030000000000000000100000000000000010000000000000"
                                        "f6e5d4c3b2a1d901fbe5d4c3b2a1d901fde5d4c3b2a1d901612e747874"),
            false, 0, std::nullopt, 0},
        {"text not hex", fromHex("5a5a0000050005001100000020000000f6e5d4c3b2a1d901"), false, 0, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto info = parseDosAttrib(c.value);
        ASSERT_EQ(info.has_value(), c.valid);
        if (!info)
            continue;
        EXPECT_EQ(info->attributes, c.attributes);
        EXPECT_EQ(info->createTime, c.createTime);
        EXPECT_EQ(info->version, c.version);
    }
}

TEST(DosAttribCodec, WritesVersion3ByteForByte)
{
    // "0x22" NUL, one byte to reach 2, version 3, level 3, two bytes to reach 4, then
    // valid_flags 0x11, attrib, ea_size, size, alloc_size, create_time, change_time.
    const std::string withTime = std::string("0x22\0", 5) + std::string(1, '\0') + fromHex("03000300") +
        std::string(2, '\0') + fromHex("11000000" "22000000" "00000000" "0000000000000000" "0000000000000000"
                                       "f6e5d4c3b2a1d901" "0000000000000000");
    EXPECT_EQ(toHex(buildDosAttrib(0x22, CREATED)), toHex(withTime));

    // "0x2" NUL is already even and the version ends on a multiple of 4: no padding.
    const std::string withoutTime = std::string("0x2\0", 4) + fromHex("03000300") +
        fromHex("01000000" "02000000" "00000000" "0000000000000000" "0000000000000000" "0000000000000000"
                "0000000000000000");
    EXPECT_EQ(toHex(buildDosAttrib(0x2, std::nullopt)), toHex(withoutTime));

    const std::string big = buildDosAttrib(0x2027, std::nullopt);
    EXPECT_EQ(big.substr(0, 7), std::string("0x2027\0", 7));
    EXPECT_EQ(big.size(), 8u + 4u + 44u);
}

TEST(DosAttribCodec, WrittenValuesReadBack)
{
    for (uint32_t bits : {0x0u, 0x1u, 0x2u, 0x27u, 0x3127u, 0x2000u}) {
        for (std::optional<uint64_t> created : {std::optional<uint64_t>{}, std::optional<uint64_t>{CREATED}}) {
            SCOPED_TRACE(bits);
            const auto info = parseDosAttrib(buildDosAttrib(bits, created));
            ASSERT_TRUE(info.has_value());
            EXPECT_EQ(info->attributes, bits);
            EXPECT_EQ(info->createTime, created);
            EXPECT_EQ(info->version, 3);
        }
    }
}

TEST(NtTime, ConvertsBothWaysToTheHundredNanoseconds)
{
    EXPECT_EQ(timespecToNtTime({0, 0}), 116444736000000000ULL);
    EXPECT_EQ(timespecToNtTime({1, 123456789}), 116444736000000000ULL + 10000000ULL + 1234567ULL);
    const timespec back = ntTimeToTimespec(116444736000000000ULL + 10000000ULL + 1234567ULL);
    EXPECT_EQ(back.tv_sec, 1);
    EXPECT_EQ(back.tv_nsec, 123456700);
    const timespec before1970 = ntTimeToTimespec(timespecToNtTime({-86400, 500}));
    EXPECT_EQ(before1970.tv_sec, -86400);
    EXPECT_EQ(before1970.tv_nsec, 500);
    EXPECT_EQ(timespecToNtTime({-11644473601LL, 0}), 0u);  // before 1601: no NT form
}

// Values that servers left on real files are read through the same paths the tools use.
TEST(DosAttribOnDisk, ForeignValuesAreReadAndGarbageIsIgnored)
{
    test::TTempTree tmp;
    const std::string v5 = tmp.file("v5.txt");
    test::setRawXattr(v5, "user.DOSATTRIB", fromHex("00000500050000001100000026000000f6e5d4c3b2a1d901"));
    EXPECT_EQ(getFileAttributes(v5), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    FileTimes times;
    ASSERT_FALSE(readFileTimes(v5, times));
    const timespec expected = ntTimeToTimespec(CREATED);
    EXPECT_EQ(times.created.tv_sec, expected.tv_sec);
    EXPECT_EQ(times.created.tv_nsec, expected.tv_nsec);

    // Bits that are not stored bits (directory, normal) are not taken from the store.
    const std::string hexOnly = tmp.file("hex.txt");
    test::setRawXattr(hexOnly, "user.DOSATTRIB", "0x90");
    EXPECT_EQ(getFileAttributes(hexOnly), FILE_ATTRIBUTE_NORMAL);
    test::setRawXattr(hexOnly, "user.DOSATTRIB", "0x21");
    EXPECT_EQ(getFileAttributes(hexOnly), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);

    const std::string garbage = tmp.file("garbage.txt");
    test::setRawXattr(garbage, "user.DOSATTRIB", "not an attribute");
    EXPECT_EQ(getFileAttributes(garbage), FILE_ATTRIBUTE_NORMAL);
    // Garbage with nothing to store is left alone: there is nothing to write.
    EXPECT_FALSE(setFileAttributes(garbage, FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(test::rawXattr(garbage, "user.DOSATTRIB"), "not an attribute");
    // Storing a bit replaces it with a proper value.
    EXPECT_FALSE(setFileAttributes(garbage, FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(toHex(test::rawXattr(garbage, "user.DOSATTRIB")), toHex(buildDosAttrib(0x2, std::nullopt)));
}

TEST(DosAttribOnDisk, RewritingKeepsTheCreationTimeOfAForeignRecord)
{
    test::TTempTree tmp;
    const std::string path = tmp.file("a.txt");
    test::setRawXattr(path, "user.DOSATTRIB", fromHex("00000500050000001100000020000000f6e5d4c3b2a1d901"));
    ASSERT_FALSE(setFileAttributes(path, FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(toHex(test::rawXattr(path, "user.DOSATTRIB")), toHex(buildDosAttrib(0x2, CREATED)));
    // With no bit left the record still holds the creation time, so it stays.
    ASSERT_FALSE(setFileAttributes(path, 0));
    EXPECT_EQ(toHex(test::rawXattr(path, "user.DOSATTRIB")), toHex(buildDosAttrib(0x0, CREATED)));
}

}  // namespace
}  // namespace korvala
