#pragma once
// Incremental digests: feed bytes in any pieces, then finish into the digest
// text (upper-case hexadecimal, as every algorithm list prints it).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "hash/HashAlgorithm.h"

namespace korvala {

class DigestContext {
public:
    virtual ~DigestContext() = default;
    virtual void update(const std::uint8_t* data, std::size_t size) = 0;
    // The digest text of everything fed so far; the context is spent afterwards.
    virtual std::string finish() = 0;
};

// A fresh context for one algorithm (CRC32 gives its 8-digit text).
std::unique_ptr<DigestContext> makeDigestContext(HashAlgorithm algorithm);

// The digest text of one buffer in memory.
std::string digestOfBytes(HashAlgorithm algorithm, const void* data, std::size_t size);

}  // namespace korvala
