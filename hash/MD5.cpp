#include "hash/MD5.h"

#include <fcntl.h>
#include <unistd.h>

#include "hash/FileDigests.h"
#include "hash/FileErrors.h"
#include "hash/FileStreamW.h"
#include "platform/KorvalaError.h"

namespace korvala {

void MD5File(const std::u16string& fileName, std::string& digest)
{
    TFileStreamW stream(fileName, fmOpenRead | fmShareDenyWrite);
    ::posix_fadvise(stream.Handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
    const std::int64_t saved = stream.Position();
    stream.Seek(0, soFromBeginning);
    HashAlgorithmSet only;
    only.set(static_cast<std::size_t>(HashAlgorithm::haMD5));
    const FileDigestResult result = digestDescriptor(stream.Handle(), only);
    // The stream position is put back also when reading failed.
    stream.Seek(saved, soFromBeginning);
    if (!result.ok())
        throw KorvalaError(cannotReadFileText(utf16ToPath(fileName), result.readError));
    digest = result.digests[static_cast<std::size_t>(HashAlgorithm::haMD5)];
}

}  // namespace korvala
