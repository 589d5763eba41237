#include "hash/MD5.h"

#include "hash/FileDigests.h"
#include "hash/FileStreamW.h"
#include "platform/ErrorTexts.h"
#include "platform/KorvalaError.h"

namespace korvala {

void MD5File(const std::u16string& fileName, std::string& digest)
{
    TFileStreamW stream(fileName, fmOpenRead | fmShareDenyWrite);
    stream.File().adviseSequential();
    const std::int64_t saved = stream.Position();
    stream.Seek(0, soFromBeginning);
    HashAlgorithmSet only;
    only.set(static_cast<std::size_t>(HashAlgorithm::haMD5));
    const FileDigestResult result = digestOpenFile(stream.File(), only);
    // The stream position is put back also when reading failed.
    stream.Seek(saved, soFromBeginning);
    if (!result.ok())
        throw KorvalaError(cannotReadFileText(utf16ToPath(fileName), result.readError));
    digest = result.digests[static_cast<std::size_t>(HashAlgorithm::haMD5)];
}

}  // namespace korvala
