// Published test vectors of every algorithm, in the program's text form.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "HexText.h"
#include "hash/CRC32.h"
#include "hash/CpuDispatch.h"
#include "hash/DigestContext.h"
#include "hash/DigestCores.h"
#include "hash/HexDigits.h"

using korvala::HashAlgorithm;
using korvala::test::toUpper;

namespace {

struct Vector {
    HashAlgorithm algorithm;
    std::string message;
    const char* digest;
};

const std::string kAlnum = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
const std::string kDigits80 = "1234567890123456789012345678901234567890123456789012345678901234567890123456789"
                              "0";
const std::string k448 = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
const std::string k896 = "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmn"
                         "opqrsmnopqrstnopqrstu";
const std::string kTigerTitle = "Tiger - A Fast New Hash Function, by Ross Anderson and Eli Biham";

const Vector kVectors[] = {
    // RFC 1320
    {HashAlgorithm::haMD4, "", "31d6cfe0d16ae931b73c59d7e0c089c0"},
    {HashAlgorithm::haMD4, "a", "bde52cb31de33e46245e05fbdbd6fb24"},
    {HashAlgorithm::haMD4, "abc", "a448017aaf21d8525fc10ae87aa6729d"},
    {HashAlgorithm::haMD4, "message digest", "d9130a8164549fe818874806e1c7014b"},
    {HashAlgorithm::haMD4, "abcdefghijklmnopqrstuvwxyz", "d79e1c308aa5bbcdeea8ed63df412da9"},
    {HashAlgorithm::haMD4, kAlnum, "043f8582f241db351ce627e153e7f0e4"},
    {HashAlgorithm::haMD4, kDigits80, "e33b4ddc9c38f2199c3e7b164fcc0536"},
    // RFC 1321
    {HashAlgorithm::haMD5, "", "d41d8cd98f00b204e9800998ecf8427e"},
    {HashAlgorithm::haMD5, "a", "0cc175b9c0f1b6a831c399e269772661"},
    {HashAlgorithm::haMD5, "abc", "900150983cd24fb0d6963f7d28e17f72"},
    {HashAlgorithm::haMD5, "message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {HashAlgorithm::haMD5, "abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {HashAlgorithm::haMD5, kAlnum, "d174ab98d277d9f5a5611c2c9f419d9f"},
    {HashAlgorithm::haMD5, kDigits80, "57edf4a22be3c955ac49da2e2107b67a"},
    // RIPEMD-128 and RIPEMD-160 reference vectors
    {HashAlgorithm::haRIPEMD128, "", "cdf26213a150dc3ecb610f18f6b38b46"},
    {HashAlgorithm::haRIPEMD128, "a", "86be7afa339d0fc7cfc785e72f578d33"},
    {HashAlgorithm::haRIPEMD128, "abc", "c14a12199c66e4ba84636b0f69144c77"},
    {HashAlgorithm::haRIPEMD128, "message digest", "9e327b3d6e523062afc1132d7df9d1b8"},
    {HashAlgorithm::haRIPEMD128, "abcdefghijklmnopqrstuvwxyz", "fd2aa607f71dc8f510714922b371834e"},
    {HashAlgorithm::haRIPEMD128, k448, "a1aa0689d0fafa2ddc22e88b49133a06"},
    {HashAlgorithm::haRIPEMD128, kAlnum, "d1e959eb179c911faea4624c60c5c702"},
    {HashAlgorithm::haRIPEMD128, kDigits80, "3f45ef194732c2dbb2c4a2c769795fa3"},
    {HashAlgorithm::haRIPEMD160, "", "9c1185a5c5e9fc54612808977ee8f548b2258d31"},
    {HashAlgorithm::haRIPEMD160, "a", "0bdc9d2d256b3ee9daae347be6f4dc835a467ffe"},
    {HashAlgorithm::haRIPEMD160, "abc", "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc"},
    {HashAlgorithm::haRIPEMD160, "message digest", "5d0689ef49d2fae572b881b123a85ffa21595f36"},
    {HashAlgorithm::haRIPEMD160, "abcdefghijklmnopqrstuvwxyz", "f71c27109c692c1b56bbdceb5b9d2865b3708dbc"},
    {HashAlgorithm::haRIPEMD160, k448, "12a053384a9c0c88e405a06c27dcf49ada62eb2b"},
    {HashAlgorithm::haRIPEMD160, kAlnum, "b0e20b6e3116640286ed3a87a5713079b21f5189"},
    {HashAlgorithm::haRIPEMD160, kDigits80, "9b752e45573d4b39f4dbd3323cab82bf63326bfb"},
    // FIPS 180
    {HashAlgorithm::haSHA1, "", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
    {HashAlgorithm::haSHA1, "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
    {HashAlgorithm::haSHA1, k448, "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
    {HashAlgorithm::haSHA256, "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {HashAlgorithm::haSHA256, "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {HashAlgorithm::haSHA256, k448, "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {HashAlgorithm::haSHA384, "",
     "38b060a751ac96384cd9327eb1b1e36a21fdb71114be07434c0cc7bf63f6e1da274edebfe76f65fbd51ad2f14898b95b"},
    {HashAlgorithm::haSHA384, "abc",
     "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7"},
    {HashAlgorithm::haSHA384, k896,
     "09330c33f71147e83d192fc782cd1b4753111b173b3b05d22fa08086e3b0f712fcc7c71a557e2db966c3e9fa91746039"},
    {HashAlgorithm::haSHA512, "",
     "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce47d0d13c5d85f2b0ff8318d2877eec2f63b931bd474"
     "17a81a538327af927da3e"},
    {HashAlgorithm::haSHA512, "abc",
     "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd454d4423643"
     "ce80e2a9ac94fa54ca49f"},
    {HashAlgorithm::haSHA512, k896,
     "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018501d289e4900f7e4331b99dec4b5433ac7d329eeb6d"
     "d26545e96e55b874be909"},
    // Tiger, as its designers print it: each 64-bit word most significant first.
    {HashAlgorithm::haTiger192, "", "24F0130C63AC933216166E76B1BB925FF373DE2D49584E7A"},
    {HashAlgorithm::haTiger192, "abc", "F258C1E88414AB2A527AB541FFC5B8BF935F7B951C132951"},
    {HashAlgorithm::haTiger192, "Tiger", "9F00F599072300DD276ABB38C8EB6DEC37790C116F9D2BDF"},
    {HashAlgorithm::haTiger192, kAlnum + "+-", "87FB2A9083851CF7470D2CF810E6DF9EB586445034A5A386"},
    {HashAlgorithm::haTiger192, "ABCDEFGHIJKLMNOPQRSTUVWXYZ=abcdefghijklmnopqrstuvwxyz+0123456789",
     "467DB80863EBCE488DF1CD1261655DE957896565975F9197"},
    {HashAlgorithm::haTiger192, kTigerTitle, "0C410A042968868A1671DA5A3FD29A725EC1E457D3CDB303"},
    {HashAlgorithm::haTiger192, kTigerTitle + ", proceedings of Fast Software Encryption 3, Cambridge.",
     "EBF591D5AFA655CE7F22894FF87F54AC89C811B6B0DA3193"},
    {HashAlgorithm::haTiger192, kTigerTitle + ", proceedings of Fast Software Encryption 3, Cambridge, 1996.",
     "3D9AEB03D1BD1A6357B2774DFD6D5B24DD68151D503974FC"},
    {HashAlgorithm::haTiger160, "", "24F0130C63AC933216166E76B1BB925FF373DE2D"},
    {HashAlgorithm::haTiger128, "", "24F0130C63AC933216166E76B1BB925F"},
    {HashAlgorithm::haTiger160, "abc", "F258C1E88414AB2A527AB541FFC5B8BF935F7B95"},
    {HashAlgorithm::haTiger128, "abc", "F258C1E88414AB2A527AB541FFC5B8BF"},
    // CRC-32 check value
    {HashAlgorithm::haCRC32, "123456789", "CBF43926"},
    {HashAlgorithm::haCRC32, "", "00000000"},
    {HashAlgorithm::haCRC32, "The quick brown fox jumps over the lazy dog", "414FA339"},
};

// Runs a check with the accelerated kernels and again with the portable ones.
template <class Check>
void onBothPaths(Check&& check)
{
    korvala::setPortableDigestsOnly(false);
    check("accelerated");
    korvala::setPortableDigestsOnly(true);
    check("portable");
    korvala::setPortableDigestsOnly(false);
}

}  // namespace

TEST(DigestVectors, PublishedVectorsInUpperCaseHex)
{
    onBothPaths([](const char* path) {
        for (const Vector& v : kVectors) {
            const std::string got = korvala::digestOfBytes(v.algorithm, v.message.data(), v.message.size());
            EXPECT_EQ(got, toUpper(v.digest))
                << korvala::hashAlgorithmName(v.algorithm) << " of \"" << v.message << "\" (" << path << ")";
            EXPECT_EQ(static_cast<int>(got.size()),
                      korvala::HashDigitCounts[static_cast<std::size_t>(v.algorithm)]);
        }
    });
}

TEST(DigestVectors, MillionLetterA)
{
    const std::string million(1000000, 'a');
    const struct {
        HashAlgorithm algorithm;
        const char* digest;
    } cases[] = {
        {HashAlgorithm::haSHA1, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
        {HashAlgorithm::haSHA256, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {HashAlgorithm::haRIPEMD160, "52783243c1697bdbe16d37f97f68f08325dc1528"},
        {HashAlgorithm::haRIPEMD128, "4a7f5723f954eba1216c9d8f6320431f"},
        {HashAlgorithm::haMD5, "7707d6ae4e027c70eea2a935c2296f21"},
        {HashAlgorithm::haSHA512,
         "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973ebde0ff244877ea60a4cb0432ce577c31beb009c5c2c4"
         "9aa2e4eadb217ad8cc09b"},
    };
    onBothPaths([&](const char* path) {
        for (const auto& c : cases)
            EXPECT_EQ(korvala::digestOfBytes(c.algorithm, million.data(), million.size()), toUpper(c.digest))
                << korvala::hashAlgorithmName(c.algorithm) << " (" << path << ")";
    });
}

TEST(DigestVectors, StringChecksumHasNoFinalInversionAndNeverZero)
{
    EXPECT_EQ(korvala::HexDigits(8, korvala::CRC32String("")), "FFFFFFFF");
    EXPECT_EQ(korvala::HexDigits(8, korvala::CRC32String("abc")), "CADBBE3D");
    // Feeding the register's own bytes brings it to 0, which is reported as 1.
    EXPECT_EQ(korvala::CRC32String(std::string("\xFF\xFF\xFF\xFF", 4)), 1u);
    // Without the inversion it is the complement of the ordinary CRC-32.
    const std::string text = "readme.txt";
    EXPECT_EQ(korvala::CRC32String(text) ^ 0xFFFFFFFFu,
              std::stoul(korvala::digestOfBytes(HashAlgorithm::haCRC32, text.data(), text.size()), nullptr, 16));
}

TEST(DigestVectors, HexDigitsKeepsTheLowestDigits)
{
    EXPECT_EQ(korvala::HexDigits(8, 0x1F), "0000001F");
    EXPECT_EQ(korvala::HexDigits(2, 0xABC), "BC");
    EXPECT_EQ(korvala::HexDigits(1, 0xF0), "0");
    EXPECT_EQ(korvala::HexDigits(16, 0xFEDCBA9876543210ULL), "FEDCBA9876543210");
    EXPECT_EQ(korvala::HexDigits(8, 0xDEADBEEFCAFEULL), "BEEFCAFE");
}

TEST(DigestVectors, AlgorithmNamesIgnoreLetterCase)
{
    EXPECT_EQ(korvala::hashAlgorithmFromName("sha-256"), HashAlgorithm::haSHA256);
    EXPECT_EQ(korvala::hashAlgorithmFromName("TIGER-128"), HashAlgorithm::haTiger128);
    EXPECT_EQ(korvala::hashAlgorithmFromName("crc32"), HashAlgorithm::haCRC32);
    EXPECT_FALSE(korvala::hashAlgorithmFromName("SHA256").has_value());
    EXPECT_FALSE(korvala::hashAlgorithmFromName("").has_value());
}

// The S-boxes are the output of the designers' generation procedure; running
// that procedure with our own compression function must give them back.
TEST(DigestVectors, TigerSBoxesRegenerate)
{
    static std::uint64_t table[1024];
    for (int i = 0; i < 1024; ++i)
        for (int col = 0; col < 8; ++col)
            reinterpret_cast<std::uint8_t*>(&table[i])[col] = static_cast<std::uint8_t>(i & 255);
    // The procedure hashes with the table while it is being built, so it
    // needs a compression function over `table`: swap it in around each call.
    std::uint64_t state[3] = {0x0123456789ABCDEFULL, 0xFEDCBA9876543210ULL, 0xF096A5B4C3B2E187ULL};
    std::uint8_t title[64];
    std::memcpy(title, kTigerTitle.data(), 64);
    auto compressWithTable = [&]() {
        // tigerCompress reads korvala::digest::TigerSBoxes; emulate by a local copy of the round.
        const std::uint64_t* t1 = table;
        const std::uint64_t* t2 = table + 256;
        const std::uint64_t* t3 = table + 512;
        const std::uint64_t* t4 = table + 768;
        std::uint64_t x[8];
        std::memcpy(x, title, 64);
        std::uint64_t a = state[0], b = state[1], c = state[2];
        const std::uint64_t a0 = a, b0 = b, c0 = c;
        auto round = [&](std::uint64_t& ra, std::uint64_t& rb, std::uint64_t& rc, std::uint64_t xi, std::uint64_t mul) {
            rc ^= xi;
            ra -= t1[rc & 0xFF] ^ t2[(rc >> 16) & 0xFF] ^ t3[(rc >> 32) & 0xFF] ^ t4[(rc >> 48) & 0xFF];
            rb += t4[(rc >> 8) & 0xFF] ^ t3[(rc >> 24) & 0xFF] ^ t2[(rc >> 40) & 0xFF] ^ t1[(rc >> 56) & 0xFF];
            rb *= mul;
        };
        auto pass = [&](std::uint64_t& pa, std::uint64_t& pb, std::uint64_t& pc, std::uint64_t mul) {
            round(pa, pb, pc, x[0], mul);
            round(pb, pc, pa, x[1], mul);
            round(pc, pa, pb, x[2], mul);
            round(pa, pb, pc, x[3], mul);
            round(pb, pc, pa, x[4], mul);
            round(pc, pa, pb, x[5], mul);
            round(pa, pb, pc, x[6], mul);
            round(pb, pc, pa, x[7], mul);
        };
        auto schedule = [&]() {
            x[0] -= x[7] ^ 0xA5A5A5A5A5A5A5A5ULL;
            x[1] ^= x[0];
            x[2] += x[1];
            x[3] -= x[2] ^ ((~x[1]) << 19);
            x[4] ^= x[3];
            x[5] += x[4];
            x[6] -= x[5] ^ ((~x[4]) >> 23);
            x[7] ^= x[6];
            x[0] += x[7];
            x[1] -= x[0] ^ ((~x[7]) << 19);
            x[2] ^= x[1];
            x[3] += x[2];
            x[4] -= x[3] ^ ((~x[2]) >> 23);
            x[5] ^= x[4];
            x[6] += x[5];
            x[7] -= x[6] ^ 0x0123456789ABCDEFULL;
        };
        pass(a, b, c, 5);
        schedule();
        pass(c, a, b, 7);
        schedule();
        pass(b, c, a, 9);
        state[0] = a ^ a0;
        state[1] = b - b0;
        state[2] = c + c0;
    };
    int abc = 2;
    for (int cnt = 0; cnt < 5; ++cnt)
        for (int i = 0; i < 256; ++i)
            for (int sb = 0; sb < 1024; sb += 256) {
                if (++abc == 3) {
                    abc = 0;
                    compressWithTable();
                }
                for (int col = 0; col < 8; ++col) {
                    auto* row = reinterpret_cast<std::uint8_t*>(&table[sb + i]);
                    const std::uint8_t pick = reinterpret_cast<std::uint8_t*>(&state[abc])[col];
                    auto* other = reinterpret_cast<std::uint8_t*>(&table[sb + pick]);
                    std::swap(row[col], other[col]);
                }
            }
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(table[i], korvala::digest::TigerSBoxes[i]) << "entry " << i;
}
