#pragma once
// Several digests of one file in a single read pass. The file is read in
// large blocks in constant memory; for big files a second thread takes part
// of the hashing while the calling thread reads, so two digests (or reading
// and one digest) run at the same time. Results do not depend on that.

#include <array>
#include <string>

#include "hash/HashAlgorithm.h"

namespace korvala {

struct FileDigestResult {
    // The digest text of each requested algorithm, when the file was read.
    std::array<std::string, HashAlgorithmCount> digests;
    int openError = 0;  // errno when the file could not be opened
    int readError = 0;  // errno when a read failed after opening
    bool ok() const { return openError == 0 && readError == 0; }
};

// Digests of the file's whole contents for every algorithm in `algorithms`.
FileDigestResult digestFile(const std::string& path, HashAlgorithmSet algorithms);

// Digests of an open descriptor from its current position to its end.
// Sets readError when a read fails.
FileDigestResult digestDescriptor(int fd, HashAlgorithmSet algorithms);

// The text the library gives for `algorithm` from `result`: the digest, or for
// an unreadable file "00000000" with CRC32 and otherwise a thrown KorvalaError
// with the algorithm's open error ("TFileStreamW: " before it for MD5).
std::string digestTextOrThrow(const FileDigestResult& result, HashAlgorithm algorithm, const std::string& path);

// Reads below this size are done on the calling thread alone: starting a
// thread costs more than it saves on small files.
inline constexpr long long kParallelDigestMinSize = 8LL << 20;

}  // namespace korvala
