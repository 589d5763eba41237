#include "tools/hash/ChecksumCheck.h"

#include "hash/FileDigests.h"
#include "tools/hash/HashReport.h"

namespace korvala {

namespace {

// The digest text of one file for a verdict. The generator's report writes
// "00000000" as the CRC32 of a file it cannot read, but a verdict must not:
// two missing files, or a folder and an empty file, would be "SAME". Here a
// file that cannot be read is its open or read error with every algorithm.
std::string verdictDigest(const std::string& path, HashAlgorithm algorithm)
{
    HashAlgorithmSet only;
    only.set(static_cast<std::size_t>(algorithm));
    const FileDigestResult result = digestFile(path, only);
    if (!result.ok())
        throwDigestError(result, algorithm, path);
    return result.digests[static_cast<std::size_t>(algorithm)];
}

}  // namespace

std::string_view verifyVerdictText(ChecksumVerdict verdict)
{
    return verdict == ChecksumVerdict::cvSame ? VerifySameText : VerifyDifferentText;
}

std::string_view compareVerdictText(ChecksumVerdict verdict)
{
    return verdict == ChecksumVerdict::cvSame ? CompareSameText : CompareDifferentText;
}

ChecksumVerdict VerifyFileChecksum(const std::string& path, HashAlgorithm algorithm, const std::string& expected)
{
    const std::string digest = verdictDigest(path, algorithm);
    return asciiLowercase(digest) == asciiLowercase(expected) ? ChecksumVerdict::cvSame
                                                               : ChecksumVerdict::cvDifferent;
}

std::optional<CompareResult> CompareFileChecksums(const std::string& path1, const std::string& path2,
                                                  HashAlgorithm algorithm,
                                                  const std::function<bool()>& cancelRequested,
                                                  const std::function<void()>& acceptCancel)
{
    CompareResult result;
    result.firstDigest = verdictDigest(path1, algorithm);
    if (cancelRequested && cancelRequested()) {
        if (acceptCancel)
            acceptCancel();
        return std::nullopt;
    }
    result.secondDigest = verdictDigest(path2, algorithm);
    result.verdict = result.firstDigest == result.secondDigest ? ChecksumVerdict::cvSame : ChecksumVerdict::cvDifferent;
    return result;
}

}  // namespace korvala
