// SHA-256 compression function (FIPS 180), portable form and run-time dispatch.

#include "hash/CpuDispatch.h"
#include "hash/DigestCores.h"

namespace korvala::digest {

extern const std::uint32_t Sha256RoundConstants[64];
const std::uint32_t Sha256RoundConstants[64] = {
    0x428A2F98u, 0x71374491u, 0xB5C0FBCFu, 0xE9B5DBA5u, 0x3956C25Bu, 0x59F111F1u, 0x923F82A4u, 0xAB1C5ED5u,
    0xD807AA98u, 0x12835B01u, 0x243185BEu, 0x550C7DC3u, 0x72BE5D74u, 0x80DEB1FEu, 0x9BDC06A7u, 0xC19BF174u,
    0xE49B69C1u, 0xEFBE4786u, 0x0FC19DC6u, 0x240CA1CCu, 0x2DE92C6Fu, 0x4A7484AAu, 0x5CB0A9DCu, 0x76F988DAu,
    0x983E5152u, 0xA831C66Du, 0xB00327C8u, 0xBF597FC7u, 0xC6E00BF3u, 0xD5A79147u, 0x06CA6351u, 0x14292967u,
    0x27B70A85u, 0x2E1B2138u, 0x4D2C6DFCu, 0x53380D13u, 0x650A7354u, 0x766A0ABBu, 0x81C2C92Eu, 0x92722C85u,
    0xA2BFE8A1u, 0xA81A664Bu, 0xC24B8B70u, 0xC76C51A3u, 0xD192E819u, 0xD6990624u, 0xF40E3585u, 0x106AA070u,
    0x19A4C116u, 0x1E376C08u, 0x2748774Cu, 0x34B0BCB5u, 0x391C0CB3u, 0x4ED8AA4Au, 0x5B9CCA4Fu, 0x682E6FF3u,
    0x748F82EEu, 0x78A5636Fu, 0x84C87814u, 0x8CC70208u, 0x90BEFFFAu, 0xA4506CEBu, 0xBEF9A3F7u, 0xC67178F2u,
};

void sha256CompressPortable(std::uint32_t state[8], const std::uint8_t* data, std::size_t blocks)
{
    const std::uint32_t* k = Sha256RoundConstants;
    for (; blocks != 0; --blocks, data += 64) {
        std::uint32_t w[16];
        for (int i = 0; i < 16; ++i)
            w[i] = loadBe32(data + 4 * i);
        std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];

        std::uint32_t bc = b ^ c;  // Maj carried over as in SHA-512
#pragma GCC unroll 64
        for (int i = 0; i < 64; ++i) {
            std::uint32_t wi;
            if (i < 16) {
                wi = w[i];
            } else {
                std::uint32_t w15 = w[(i + 1) & 15], w2 = w[(i + 14) & 15];
                std::uint32_t s0 = rotr32(w15, 7) ^ rotr32(w15, 18) ^ (w15 >> 3);
                std::uint32_t s1 = rotr32(w2, 17) ^ rotr32(w2, 19) ^ (w2 >> 10);
                wi = w[i & 15] += s0 + w[(i + 9) & 15] + s1;
            }
            std::uint32_t t1 = h + k[i] + wi;
            t1 += g ^ (e & (f ^ g));
            t1 += rotr32(e, 6) ^ rotr32(e, 11) ^ rotr32(e, 25);
            const std::uint32_t ab = a ^ b;
            const std::uint32_t t2 = (rotr32(a, 2) ^ rotr32(a, 13) ^ rotr32(a, 22)) + (b ^ (ab & bc));
            bc = ab;
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

void sha256Compress(std::uint32_t state[8], const std::uint8_t* data, std::size_t blocks)
{
    if (useShaInstructions())
        sha256CompressShaNi(state, data, blocks);
    else
        sha256CompressPortable(state, data, blocks);
}

}  // namespace korvala::digest
