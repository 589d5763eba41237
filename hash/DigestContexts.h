#pragma once
// The contexts of the digest families. Each lives for one digest: initialise
// (construct), feed the contents in order (update), finish into the text.

#include <cstdint>
#include <string>

#include "hash/DigestContext.h"
#include "hash/DigestCores.h"

namespace korvala {

// CRC-32 of ZIP and PNG; the text is HexDigits(8, value()).
class Crc32Context final : public DigestContext {
public:
    void update(const std::uint8_t* data, std::size_t size) override;
    std::string finish() override;
    std::uint32_t value() const { return m_register ^ 0xFFFFFFFFu; }

private:
    std::uint32_t m_register = 0xFFFFFFFFu;
};

class Md4Context final : public DigestContext {
public:
    Md4Context();
    void update(const std::uint8_t* data, std::size_t size) override;
    std::string finish() override;

private:
    std::uint32_t m_state[4];
    digest::BlockBuffer<64> m_buffer;
};

class Md5Context final : public DigestContext {
public:
    Md5Context();
    ~Md5Context() override;
    void update(const std::uint8_t* data, std::size_t size) override;
    std::string finish() override;

private:
    std::uint32_t m_state[4];
    digest::BlockBuffer<64> m_buffer;
};

// RIPEMD-128 and RIPEMD-160; the selector is the output size in bits.
class RipemdContext final : public DigestContext {
public:
    explicit RipemdContext(int bits);
    void update(const std::uint8_t* data, std::size_t size) override;
    std::string finish() override;

private:
    int m_bits;
    std::uint32_t m_state[5];
    digest::BlockBuffer<64> m_buffer;
};

// SHA-1 (selector 1) and SHA-256 (selector 256).
class Sha32Context final : public DigestContext {
public:
    explicit Sha32Context(int variant);
    void update(const std::uint8_t* data, std::size_t size) override;
    std::string finish() override;

private:
    int m_variant;
    std::uint32_t m_state[8];
    digest::BlockBuffer<64> m_buffer;
};

// SHA-384 and SHA-512; the selector is 384 or 512.
class Sha64Context final : public DigestContext {
public:
    explicit Sha64Context(int variant);
    void update(const std::uint8_t* data, std::size_t size) override;
    std::string finish() override;

private:
    int m_variant;
    std::uint64_t m_state[8];
    digest::BlockBuffer<128> m_buffer;
};

// Tiger (1996, three passes). The text is the three state words, each most
// significant digit first; 128 and 160 bits print the first 32 or 40 digits.
class TigerContext final : public DigestContext {
public:
    explicit TigerContext(int bits = 192);
    void update(const std::uint8_t* data, std::size_t size) override;
    std::string finish() override;
    // The full 48-digit text; Tiger-128 and Tiger-160 are its prefixes.
    std::string finish192();

private:
    int m_bits;
    std::uint64_t m_state[3];
    digest::BlockBuffer<64> m_buffer;
};

}  // namespace korvala
