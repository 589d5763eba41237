#include "tools/shredder/Shredder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/File.h"
#include "platform/FileAttributes.h"
#include "platform/KorvalaError.h"
#include "tools/shredder/ProgramRandom.h"

namespace korvala {
namespace {

// A pass writes the 4096-byte block from a buffer of many copies of it, so
// that a big file takes a few large writes instead of one per block; the bytes
// on disk are the same.
constexpr size_t kPassBufferBlocks = 256;

const char* const kWarningText =
    "This process will remove these files permanently and make these files Unrecoverable!\r\r"
    "Do you want to Continue ?";
const char* const kWarningQuestion = "Do you want to Continue ?";
const char* const kCopyOnWriteLine =
    "Some of these files lie on a copy-on-write or network file system: overwriting them there may not "
    "reach the blocks that held their old contents.\r\r";

}  // namespace

void ShredFile(const std::string& path, const ShredPassHook& afterPass)
{
    TOpenOptions options = TOpenOptions::writeNoFollow();
    options.access = TFileAccess::ReadWrite;
    TFile file;
    if (const std::error_code ec = file.open(path, options))
        throw KorvalaError(cannotOpenFileText(path, ec));
    // The read-only attribute refuses writing to everyone, as it does to
    // administrators where it comes from; root could open the file anyway.
    uint32_t word = 0;
    if (!readFileAttributes(path, word) && (word & FILE_ATTRIBUTE_READONLY))
        throw KorvalaError(cannotOpenFileText(path, systemError(EACCES)));

    std::unique_ptr<unsigned char[]> buffer(new unsigned char[kShredBlockSize * kPassBufferBlocks]);
    for (int pass = 1; pass <= kShredPasses; ++pass) {
        fillProgramRandom(buffer.get(), kShredBlockSize);
        uint64_t length = 0;
        if (const std::error_code ec = file.size(length))
            throw KorvalaError(cannotWriteFileText(path, ec));
        size_t filled = kShredBlockSize;  // copies of the block made so far, as needed
        for (uint64_t offset = 0; offset < length;) {
            const size_t piece = static_cast<size_t>(std::min<uint64_t>(length - offset, kShredBlockSize * kPassBufferBlocks));
            for (; filled < piece; filled += kShredBlockSize)
                std::memcpy(buffer.get() + filled, buffer.get(), kShredBlockSize);
            if (const std::error_code ec = file.writeAllAt(offset, buffer.get(), piece))
                throw KorvalaError(cannotWriteFileText(path, ec));
            offset += piece;
        }
        if (const std::error_code ec = file.flushData())
            throw KorvalaError(cannotWriteFileText(path, ec));
        if (afterPass)
            afterPass(pass);
    }
    if (const std::error_code ec = file.close())
        throw KorvalaError(cannotWriteFileText(path, ec));
    (void)removeFile(path);
}

bool isShreddable(const std::string& path)
{
    TFileStatus status;
    return !pathStatus(path, false, status) && status.isRegular();
}

bool ShredList(const std::vector<std::string>& list, const std::function<bool()>& cancelRequested,
    const std::function<void()>& acceptCancel, const std::function<void(size_t position)>& itemDone,
    const ShredPassHook& afterPass)
{
    for (size_t position = list.size(); position-- > 0;) {
        if (cancelRequested && cancelRequested()) {
            if (acceptCancel)
                acceptCancel();
            return false;
        }
        if (!isShreddable(list[position]))
            continue;
        ShredFile(list[position], afterPass);
        if (itemDone)
            itemDone(position);
    }
    return true;
}

std::string shredWarningText(const std::vector<std::string>& list)
{
    const bool reachesOldBlocks = std::none_of(list.begin(), list.end(), [](const std::string& path) {
        TStorageKind kind = TStorageKind::Plain;
        return !storageKind(path, kind) && kind != TStorageKind::Plain;
    });
    if (reachesOldBlocks)
        return kWarningText;
    std::string text = kWarningText;
    text.insert(text.size() - std::strlen(kWarningQuestion), kCopyOnWriteLine);
    return text;
}

}  // namespace korvala
