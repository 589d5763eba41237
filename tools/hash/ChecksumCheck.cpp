#include "tools/hash/ChecksumCheck.h"

#include "tools/hash/HashReport.h"
#include "hash/Hashes.h"

namespace korvala {

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
    const std::string digest = HashFileByAlgorithm(algorithm, path);
    return asciiLowercase(digest) == asciiLowercase(expected) ? ChecksumVerdict::cvSame
                                                               : ChecksumVerdict::cvDifferent;
}

std::optional<CompareResult> CompareFileChecksums(const std::string& path1, const std::string& path2,
                                                  HashAlgorithm algorithm,
                                                  const std::function<bool()>& cancelRequested,
                                                  const std::function<void()>& acceptCancel)
{
    CompareResult result;
    result.firstDigest = HashFileByAlgorithm(algorithm, path1);
    if (cancelRequested && cancelRequested()) {
        if (acceptCancel)
            acceptCancel();
        return std::nullopt;
    }
    result.secondDigest = HashFileByAlgorithm(algorithm, path2);
    result.verdict = result.firstDigest == result.secondDigest ? ChecksumVerdict::cvSame : ChecksumVerdict::cvDifferent;
    return result;
}

}  // namespace korvala
