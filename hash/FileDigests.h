#pragma once
// Several digests of one file in a single read pass. The file is read in
// large blocks in constant memory; for big files a second thread takes part
// of the hashing while the calling thread reads, so two digests (or reading
// and one digest) run at the same time. Results do not depend on that.

#include <array>
#include <functional>
#include <string>
#include <system_error>

#include "hash/HashAlgorithm.h"

namespace korvala {

class TFile;

struct FileDigestResult {
    // The digest text of each requested algorithm, when the file was read.
    std::array<std::string, HashAlgorithmCount> digests;
    std::error_code openError;  // why the file could not be opened
    std::error_code readError;  // why a read failed after opening
    bool cancelled = false;     // the pass was stopped at a cancel request
    bool ok() const { return !openError && !readError && !cancelled; }
};

// Asked between the blocks of a read pass, on the calling thread only, whether
// the pass is to stop. An empty function never stops it.
using DigestCancelQuery = std::function<bool()>;

// Digests of the file's whole contents for every algorithm in `algorithms`.
// Returns its errors in the result. The file is opened as a content reader
// (platform/File.h): a folder gives EISDIR, a FIFO, socket or device an open
// error instead of a read that waits for ever.
// `cancelRequested` is asked after every full block (1 MiB) before the next
// is read, so a request is taken within one block whatever the file's size and
// the number of digests; the result is then `cancelled`, without digests. A
// file of one block or less is read whole without asking.
FileDigestResult digestFile(const std::string& path, HashAlgorithmSet algorithms,
                            const DigestCancelQuery& cancelRequested = {});

// Digests of an open file from its current position to its end.
// Sets readError when a read fails; cancels as digestFile does.
FileDigestResult digestOpenFile(TFile& file, HashAlgorithmSet algorithms,
                                const DigestCancelQuery& cancelRequested = {});

// The text the library gives for `algorithm` from `result`: the digest, or for
// an unreadable file "00000000" with CRC32 and otherwise a thrown KorvalaError
// with the algorithm's open error ("TFileStreamW: " before it for MD5).
// A cancelled result has no text: callers look at `cancelled` first (given one,
// this throws std::logic_error rather than pass it off as "00000000").
std::string digestTextOrThrow(const FileDigestResult& result, HashAlgorithm algorithm, const std::string& path);

// Throws the KorvalaError of a result that is not ok(): the open error
// ("Cannot open file \"%s\". %s", with "TFileStreamW: " before it for MD5) or
// the read error ("Cannot read file \"%s\". %s"). CRC32 gets the same texts
// here, for callers to whom an unreadable file must never look like an empty
// one.
[[noreturn]] void throwDigestError(const FileDigestResult& result, HashAlgorithm algorithm, const std::string& path);

// Reads below this size are done on the calling thread alone: starting a
// thread costs more than it saves on small files.
inline constexpr long long kParallelDigestMinSize = 8LL << 20;

}  // namespace korvala
