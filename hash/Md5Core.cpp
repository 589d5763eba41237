// MD5 compression function (RFC 1321).

#include "hash/DigestCores.h"

namespace korvala::digest {

// Each step is a chain through b, the value computed by the step before; the
// sums are ordered so that everything not depending on b is added first and
// only the last one or two operations wait for it. G is split into two
// disjoint terms that can be added separately ((b & d) and (c & ~d) share no
// bits), which takes one operation off its chain.
#define MD5_F(a, b, c, d) a += (d ^ (b & (c ^ d)))
#define MD5_G(a, b, c, d) \
    a += (c & ~d);        \
    a += (b & d)
#define MD5_H(a, b, c, d) a += ((c ^ d) ^ b)
#define MD5_I(a, b, c, d) a += (c ^ (b | ~d))
#define MD5_STEP(f, a, b, c, d, x, t, s) \
    a += (x) + (t);                      \
    f(a, b, c, d);                       \
    a = rotl32(a, s) + b;

void md5Compress(std::uint32_t state[4], const std::uint8_t* data, std::size_t blocks)
{
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (; blocks != 0; --blocks, data += 64) {
        std::uint32_t x[16];
        for (int i = 0; i < 16; ++i)
            x[i] = loadLe32(data + 4 * i);
        const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

        MD5_STEP(MD5_F, a, b, c, d, x[0], 0xD76AA478u, 7);
        MD5_STEP(MD5_F, d, a, b, c, x[1], 0xE8C7B756u, 12);
        MD5_STEP(MD5_F, c, d, a, b, x[2], 0x242070DBu, 17);
        MD5_STEP(MD5_F, b, c, d, a, x[3], 0xC1BDCEEEu, 22);
        MD5_STEP(MD5_F, a, b, c, d, x[4], 0xF57C0FAFu, 7);
        MD5_STEP(MD5_F, d, a, b, c, x[5], 0x4787C62Au, 12);
        MD5_STEP(MD5_F, c, d, a, b, x[6], 0xA8304613u, 17);
        MD5_STEP(MD5_F, b, c, d, a, x[7], 0xFD469501u, 22);
        MD5_STEP(MD5_F, a, b, c, d, x[8], 0x698098D8u, 7);
        MD5_STEP(MD5_F, d, a, b, c, x[9], 0x8B44F7AFu, 12);
        MD5_STEP(MD5_F, c, d, a, b, x[10], 0xFFFF5BB1u, 17);
        MD5_STEP(MD5_F, b, c, d, a, x[11], 0x895CD7BEu, 22);
        MD5_STEP(MD5_F, a, b, c, d, x[12], 0x6B901122u, 7);
        MD5_STEP(MD5_F, d, a, b, c, x[13], 0xFD987193u, 12);
        MD5_STEP(MD5_F, c, d, a, b, x[14], 0xA679438Eu, 17);
        MD5_STEP(MD5_F, b, c, d, a, x[15], 0x49B40821u, 22);

        MD5_STEP(MD5_G, a, b, c, d, x[1], 0xF61E2562u, 5);
        MD5_STEP(MD5_G, d, a, b, c, x[6], 0xC040B340u, 9);
        MD5_STEP(MD5_G, c, d, a, b, x[11], 0x265E5A51u, 14);
        MD5_STEP(MD5_G, b, c, d, a, x[0], 0xE9B6C7AAu, 20);
        MD5_STEP(MD5_G, a, b, c, d, x[5], 0xD62F105Du, 5);
        MD5_STEP(MD5_G, d, a, b, c, x[10], 0x02441453u, 9);
        MD5_STEP(MD5_G, c, d, a, b, x[15], 0xD8A1E681u, 14);
        MD5_STEP(MD5_G, b, c, d, a, x[4], 0xE7D3FBC8u, 20);
        MD5_STEP(MD5_G, a, b, c, d, x[9], 0x21E1CDE6u, 5);
        MD5_STEP(MD5_G, d, a, b, c, x[14], 0xC33707D6u, 9);
        MD5_STEP(MD5_G, c, d, a, b, x[3], 0xF4D50D87u, 14);
        MD5_STEP(MD5_G, b, c, d, a, x[8], 0x455A14EDu, 20);
        MD5_STEP(MD5_G, a, b, c, d, x[13], 0xA9E3E905u, 5);
        MD5_STEP(MD5_G, d, a, b, c, x[2], 0xFCEFA3F8u, 9);
        MD5_STEP(MD5_G, c, d, a, b, x[7], 0x676F02D9u, 14);
        MD5_STEP(MD5_G, b, c, d, a, x[12], 0x8D2A4C8Au, 20);

        MD5_STEP(MD5_H, a, b, c, d, x[5], 0xFFFA3942u, 4);
        MD5_STEP(MD5_H, d, a, b, c, x[8], 0x8771F681u, 11);
        MD5_STEP(MD5_H, c, d, a, b, x[11], 0x6D9D6122u, 16);
        MD5_STEP(MD5_H, b, c, d, a, x[14], 0xFDE5380Cu, 23);
        MD5_STEP(MD5_H, a, b, c, d, x[1], 0xA4BEEA44u, 4);
        MD5_STEP(MD5_H, d, a, b, c, x[4], 0x4BDECFA9u, 11);
        MD5_STEP(MD5_H, c, d, a, b, x[7], 0xF6BB4B60u, 16);
        MD5_STEP(MD5_H, b, c, d, a, x[10], 0xBEBFBC70u, 23);
        MD5_STEP(MD5_H, a, b, c, d, x[13], 0x289B7EC6u, 4);
        MD5_STEP(MD5_H, d, a, b, c, x[0], 0xEAA127FAu, 11);
        MD5_STEP(MD5_H, c, d, a, b, x[3], 0xD4EF3085u, 16);
        MD5_STEP(MD5_H, b, c, d, a, x[6], 0x04881D05u, 23);
        MD5_STEP(MD5_H, a, b, c, d, x[9], 0xD9D4D039u, 4);
        MD5_STEP(MD5_H, d, a, b, c, x[12], 0xE6DB99E5u, 11);
        MD5_STEP(MD5_H, c, d, a, b, x[15], 0x1FA27CF8u, 16);
        MD5_STEP(MD5_H, b, c, d, a, x[2], 0xC4AC5665u, 23);

        MD5_STEP(MD5_I, a, b, c, d, x[0], 0xF4292244u, 6);
        MD5_STEP(MD5_I, d, a, b, c, x[7], 0x432AFF97u, 10);
        MD5_STEP(MD5_I, c, d, a, b, x[14], 0xAB9423A7u, 15);
        MD5_STEP(MD5_I, b, c, d, a, x[5], 0xFC93A039u, 21);
        MD5_STEP(MD5_I, a, b, c, d, x[12], 0x655B59C3u, 6);
        MD5_STEP(MD5_I, d, a, b, c, x[3], 0x8F0CCC92u, 10);
        MD5_STEP(MD5_I, c, d, a, b, x[10], 0xFFEFF47Du, 15);
        MD5_STEP(MD5_I, b, c, d, a, x[1], 0x85845DD1u, 21);
        MD5_STEP(MD5_I, a, b, c, d, x[8], 0x6FA87E4Fu, 6);
        MD5_STEP(MD5_I, d, a, b, c, x[15], 0xFE2CE6E0u, 10);
        MD5_STEP(MD5_I, c, d, a, b, x[6], 0xA3014314u, 15);
        MD5_STEP(MD5_I, b, c, d, a, x[13], 0x4E0811A1u, 21);
        MD5_STEP(MD5_I, a, b, c, d, x[4], 0xF7537E82u, 6);
        MD5_STEP(MD5_I, d, a, b, c, x[11], 0xBD3AF235u, 10);
        MD5_STEP(MD5_I, c, d, a, b, x[2], 0x2AD7D2BBu, 15);
        MD5_STEP(MD5_I, b, c, d, a, x[9], 0xEB86D391u, 21);

        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

}  // namespace korvala::digest
