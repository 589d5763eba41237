#include "tools/hash/ChecksumCheck.h"

#include "hash/FileDigests.h"
#include "tools/hash/HashReport.h"

namespace korvala {

namespace {

// The digest text of one file for a verdict. The generator's report writes
// "00000000" as the CRC32 of a file it cannot read, but a verdict must not:
// two missing files, or a folder and an empty file, would be "SAME". Here a
// file that cannot be read is its open or read error with every algorithm.
// Nothing is returned when the read was stopped at a cancel request.
std::optional<std::string> verdictDigest(const std::string& path, HashAlgorithm algorithm,
                                         const DigestCancelQuery& cancelRequested = {})
{
    HashAlgorithmSet only;
    only.set(static_cast<std::size_t>(algorithm));
    const FileDigestResult result = digestFile(path, only, cancelRequested);
    if (result.cancelled)
        return std::nullopt;
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
    const std::string digest = *verdictDigest(path, algorithm);
    return asciiLowercase(digest) == asciiLowercase(expected) ? ChecksumVerdict::cvSame
                                                               : ChecksumVerdict::cvDifferent;
}

std::optional<CompareResult> CompareFileChecksums(const std::string& path1, const std::string& path2,
                                                  HashAlgorithm algorithm,
                                                  const std::function<bool()>& cancelRequested,
                                                  const std::function<void()>& acceptCancel)
{
    auto cancelled = [&] {
        if (acceptCancel)
            acceptCancel();
        return std::nullopt;
    };
    // Each read asks between its blocks, and the request is looked at once
    // more between the two files, so an abort never waits for a whole file.
    CompareResult result;
    std::optional<std::string> first = verdictDigest(path1, algorithm, cancelRequested);
    if (!first || (cancelRequested && cancelRequested()))
        return cancelled();
    result.firstDigest = std::move(*first);
    std::optional<std::string> second = verdictDigest(path2, algorithm, cancelRequested);
    if (!second)
        return cancelled();
    result.secondDigest = std::move(*second);
    result.verdict = result.firstDigest == result.secondDigest ? ChecksumVerdict::cvSame : ChecksumVerdict::cvDifferent;
    return result;
}

}  // namespace korvala
