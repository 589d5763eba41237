#include "hash/DigestContexts.h"

#include <cstring>

#include "hash/HexDigits.h"

namespace korvala {

using namespace digest;

namespace {

void appendLeWords(std::string& out, const std::uint32_t* words, int count)
{
    std::uint8_t bytes[4];
    for (int i = 0; i < count; ++i) {
        std::memcpy(bytes, &words[i], 4);
        appendHexBytes(out, bytes, 4);
    }
}

const std::uint64_t kSha512Initial[8] = {
    0x6A09E667F3BCC908ULL, 0xBB67AE8584CAA73BULL, 0x3C6EF372FE94F82BULL, 0xA54FF53A5F1D36F1ULL,
    0x510E527FADE682D1ULL, 0x9B05688C2B3E6C1FULL, 0x1F83D9ABFB41BD6BULL, 0x5BE0CD19137E2179ULL,
};
const std::uint64_t kSha384Initial[8] = {
    0xCBBB9D5DC1059ED8ULL, 0x629A292A367CD507ULL, 0x9159015A3070DD17ULL, 0x152FECD8F70E5939ULL,
    0x67332667FFC00B31ULL, 0x8EB44A8768581511ULL, 0xDB0C2E0D64F98FA7ULL, 0x47B5481DBEFA4FA4ULL,
};

}  // namespace

// ---- CRC-32 ----

void Crc32Context::update(const std::uint8_t* data, std::size_t size)
{
    m_register = crc32Update(m_register, data, size);
}

std::string Crc32Context::finish()
{
    return HexDigits(8, value());
}

// ---- MD4 ----

Md4Context::Md4Context() : m_state{0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u} {}

void Md4Context::update(const std::uint8_t* data, std::size_t size)
{
    m_buffer.update(data, size, [this](const std::uint8_t* p, std::size_t n) { md4Compress(m_state, p, n); });
}

std::string Md4Context::finish()
{
    m_buffer.finishWithBitLength(0x80, false,
        [this](const std::uint8_t* p, std::size_t n) { md4Compress(m_state, p, n); });
    std::string text;
    appendLeWords(text, m_state, 4);
    return text;
}

// ---- MD5 ----

Md5Context::Md5Context() : m_state{0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u} {}

Md5Context::~Md5Context()
{
    // The context is wiped when it is done with, as the digest's reference does.
    volatile std::uint8_t* p = reinterpret_cast<volatile std::uint8_t*>(m_buffer.data);
    for (std::size_t i = 0; i < sizeof m_buffer.data; ++i)
        p[i] = 0;
}

void Md5Context::update(const std::uint8_t* data, std::size_t size)
{
    m_buffer.update(data, size, [this](const std::uint8_t* p, std::size_t n) { md5Compress(m_state, p, n); });
}

std::string Md5Context::finish()
{
    m_buffer.finishWithBitLength(0x80, false,
        [this](const std::uint8_t* p, std::size_t n) { md5Compress(m_state, p, n); });
    std::string text;
    appendLeWords(text, m_state, 4);
    return text;
}

// ---- RIPEMD-128 / RIPEMD-160 ----

RipemdContext::RipemdContext(int bits)
    : m_bits(bits == 128 ? 128 : 160), m_state{0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u}
{
}

void RipemdContext::update(const std::uint8_t* data, std::size_t size)
{
    const auto core = m_bits == 128 ? ripemd128Compress : ripemd160Compress;
    m_buffer.update(data, size, [this, core](const std::uint8_t* p, std::size_t n) { core(m_state, p, n); });
}

std::string RipemdContext::finish()
{
    const auto core = m_bits == 128 ? ripemd128Compress : ripemd160Compress;
    m_buffer.finishWithBitLength(0x80, false, [this, core](const std::uint8_t* p, std::size_t n) { core(m_state, p, n); });
    std::string text;
    appendLeWords(text, m_state, m_bits == 128 ? 4 : 5);
    return text;
}

// ---- SHA-1 / SHA-256 ----

Sha32Context::Sha32Context(int variant) : m_variant(variant == 1 ? 1 : 256)
{
    static const std::uint32_t sha1Initial[8] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u,
                                                 0, 0, 0};
    static const std::uint32_t sha256Initial[8] = {0x6A09E667u, 0xBB67AE85u, 0x3C6EF372u, 0xA54FF53Au,
                                                   0x510E527Fu, 0x9B05688Cu, 0x1F83D9ABu, 0x5BE0CD19u};
    std::memcpy(m_state, m_variant == 1 ? sha1Initial : sha256Initial, sizeof m_state);
}

void Sha32Context::update(const std::uint8_t* data, std::size_t size)
{
    const auto core = m_variant == 1 ? sha1Compress : sha256Compress;
    m_buffer.update(data, size, [this, core](const std::uint8_t* p, std::size_t n) { core(m_state, p, n); });
}

std::string Sha32Context::finish()
{
    const auto core = m_variant == 1 ? sha1Compress : sha256Compress;
    m_buffer.finishWithBitLength(0x80, true, [this, core](const std::uint8_t* p, std::size_t n) { core(m_state, p, n); });
    std::string text;
    const int words = m_variant == 1 ? 5 : 8;
    for (int i = 0; i < words; ++i)
        text += HexDigits(8, m_state[i]);
    return text;
}

// ---- SHA-384 / SHA-512 ----

Sha64Context::Sha64Context(int variant) : m_variant(variant == 384 ? 384 : 512)
{
    std::memcpy(m_state, m_variant == 384 ? kSha384Initial : kSha512Initial, sizeof m_state);
}

void Sha64Context::update(const std::uint8_t* data, std::size_t size)
{
    m_buffer.update(data, size, [this](const std::uint8_t* p, std::size_t n) { sha512Compress(m_state, p, n); });
}

std::string Sha64Context::finish()
{
    auto compress = [this](const std::uint8_t* p, std::size_t n) { sha512Compress(m_state, p, n); };
    const std::uint64_t bits = m_buffer.messageBits();
    // The length field is 128 bits; its upper half stays zero (a message below
    // 2^64 bits, i.e. any file there is).
    m_buffer.padTo(0x80, 16, compress);
    storeBe64(m_buffer.data + 112, 0);
    storeBe64(m_buffer.data + 120, bits);
    compress(m_buffer.data, 1);
    std::string text;
    const int words = m_variant == 384 ? 6 : 8;
    for (int i = 0; i < words; ++i)
        text += HexDigits(16, m_state[i]);
    return text;
}

// ---- Tiger ----

TigerContext::TigerContext(int bits)
    : m_bits(bits == 128 || bits == 160 ? bits : 192),
      m_state{0x0123456789ABCDEFULL, 0xFEDCBA9876543210ULL, 0xF096A5B4C3B2E187ULL}
{
}

void TigerContext::update(const std::uint8_t* data, std::size_t size)
{
    m_buffer.update(data, size, [this](const std::uint8_t* p, std::size_t n) { tigerCompress(m_state, p, n); });
}

std::string TigerContext::finish192()
{
    // The 1996 padding byte is 0x01 (the later Tiger2 uses 0x80).
    m_buffer.finishWithBitLength(0x01, false,
        [this](const std::uint8_t* p, std::size_t n) { tigerCompress(m_state, p, n); });
    return HexDigits(16, m_state[0]) + HexDigits(16, m_state[1]) + HexDigits(16, m_state[2]);
}

std::string TigerContext::finish()
{
    return finish192().substr(0, static_cast<std::size_t>(m_bits / 4));
}

// ---- factory ----

std::unique_ptr<DigestContext> makeDigestContext(HashAlgorithm algorithm)
{
    switch (algorithm) {
    case HashAlgorithm::haCRC32:
        return std::make_unique<Crc32Context>();
    case HashAlgorithm::haMD4:
        return std::make_unique<Md4Context>();
    case HashAlgorithm::haMD5:
        return std::make_unique<Md5Context>();
    case HashAlgorithm::haRIPEMD128:
        return std::make_unique<RipemdContext>(128);
    case HashAlgorithm::haRIPEMD160:
        return std::make_unique<RipemdContext>(160);
    case HashAlgorithm::haSHA1:
        return std::make_unique<Sha32Context>(1);
    case HashAlgorithm::haSHA256:
        return std::make_unique<Sha32Context>(256);
    case HashAlgorithm::haSHA384:
        return std::make_unique<Sha64Context>(384);
    case HashAlgorithm::haSHA512:
        return std::make_unique<Sha64Context>(512);
    case HashAlgorithm::haTiger128:
        return std::make_unique<TigerContext>(128);
    case HashAlgorithm::haTiger160:
        return std::make_unique<TigerContext>(160);
    case HashAlgorithm::haTiger192:
        return std::make_unique<TigerContext>(192);
    }
    return nullptr;
}

std::string digestOfBytes(HashAlgorithm algorithm, const void* data, std::size_t size)
{
    auto context = makeDigestContext(algorithm);
    context->update(static_cast<const std::uint8_t*>(data), size);
    return context->finish();
}

}  // namespace korvala
