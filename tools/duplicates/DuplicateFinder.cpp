#include "tools/duplicates/DuplicateFinder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "hash/CRC32.h"
#include "hash/FileDigests.h"
#include "hash/HexDigits.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/TextFold.h"
#include "platform/Trash.h"
#include "search/SeekerRow.h"
#include "tools/datetime/FileDateTime.h"

namespace korvala {
namespace {

// A path that exists and is not a folder (links followed); `status` receives
// what it is.
bool existsAsFile(const std::string& path, TFileStatus& status)
{
    return !pathStatus(path, true, status) && status.kind != TFileKind::Missing && !status.isDirectory();
}

// What the scan keys and shows: a regular file (links followed). A FIFO,
// socket or device has no contents to compare: it would only ever read as
// "00000000" and pass for a copy of every empty file, so it is passed over
// like a missing file.
bool isScannedFile(const std::string& path, TFileStatus& status)
{
    return !pathStatus(path, true, status) && status.isRegular();
}

// The checksum of the file's whole contents, 0 when it cannot be read.
// `cancelled` is set when a cancel request stopped the read of a big file.
uint32_t contentChecksum(const std::string& path, const std::function<bool()>& cancelRequested, bool& cancelled)
{
    HashAlgorithmSet crcOnly;
    crcOnly.set(static_cast<size_t>(HashAlgorithm::haCRC32));
    const FileDigestResult result = digestFile(path, crcOnly, cancelRequested);
    cancelled = result.cancelled;
    if (!result.ok())
        return 0;
    return static_cast<uint32_t>(std::stoul(result.digests[0], nullptr, 16));
}

}  // namespace

std::string duplicateFileName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string duplicateLocation(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

TDuplicateScan FindDuplicates(const std::vector<std::string>& paths, TDuplicateMode mode, const TDuplicateScanHooks& hooks)
{
    TDuplicateScan scan;
    if (paths.empty())
        return scan;

    // First cut: only what two or more entries share goes on.
    std::vector<uint32_t> candidates;
    std::unordered_set<std::string> sharedNames;  // name mode: folded names
    if (mode == TDuplicateMode::dmContent) {
        std::vector<uint64_t> sizes(paths.size());
        std::unordered_map<uint64_t, uint32_t> counts;
        for (size_t i = 0; i < paths.size(); ++i) {
            TFileStatus status;
            // Size 0 when nothing is found under the name.
            sizes[i] = pathStatus(paths[i], true, status) ? 0 : status.size;
            ++counts[sizes[i]];
        }
        for (size_t i = 0; i < paths.size(); ++i)
            if (counts[sizes[i]] >= 2)
                candidates.push_back(static_cast<uint32_t>(i));
    } else {
        std::vector<std::string> names(paths.size());
        std::unordered_map<std::string, uint32_t> counts;
        for (size_t i = 0; i < paths.size(); ++i) {
            names[i] = foldedText(duplicateFileName(paths[i]));
            TFileStatus status;
            if (isScannedFile(paths[i], status))
                ++counts[names[i]];
        }
        for (const auto& [name, count] : counts)
            if (count >= 2)
                sharedNames.insert(name);
        for (size_t i = 0; i < paths.size(); ++i)
            if (sharedNames.count(names[i]))
                candidates.push_back(static_cast<uint32_t>(i));
    }

    if (hooks.progressMaximum)
        hooks.progressMaximum(static_cast<int>(candidates.size()) + 2);

    // The key list: each key's first position (the ID of its group) and how
    // often it occurs.
    struct KeyEntry {
        uint32_t first = 0;
        uint32_t count = 0;
    };
    std::unordered_map<uint32_t, KeyEntry> keys;
    uint32_t keyCount = 0;
    std::vector<TDuplicateRow> rows;
    for (uint32_t index : candidates) {
        if (hooks.cancelRequested && hooks.cancelRequested())
            return TDuplicateScan{{}, true};
        const std::string& path = paths[index];
        TFileStatus status;
        if (isScannedFile(path, status)) {
            TDuplicateRow row;
            bool cancelled = false;
            row.crc32 = contentChecksum(path, hooks.cancelRequested, cancelled);
            if (cancelled)
                return TDuplicateScan{{}, true};
            row.key = mode == TDuplicateMode::dmContent ? row.crc32
                                                         : CRC32String(foldedText(duplicateFileName(path)));
            auto [entry, added] = keys.try_emplace(row.key, KeyEntry{keyCount, 0});
            ++entry->second.count;
            ++keyCount;
            row.id = entry->second.first;
            // Still there after the read: the row shows it as it is now.
            TFileStatus now;
            if (isScannedFile(path, now)) {
                row.size = now.size;
                // The modified time as GetFileModifiedTime gives it (to the
                // millisecond), from the look just taken.
                row.modified = UTCToLocalDateTime(FileTimeToUtcDateTime(now.modified));
                row.pathIndex = index;
                rows.push_back(row);
            }
        }
        if (hooks.progressStep)
            hooks.progressStep();
    }

    // Second cut.
    std::vector<TDuplicateRow> kept;
    kept.reserve(rows.size());
    for (const TDuplicateRow& row : rows) {
        const bool shared = mode == TDuplicateMode::dmContent
            ? keys[row.key].count >= 2
            : sharedNames.count(foldedText(duplicateFileName(paths[row.pathIndex]))) != 0;
        if (shared)
            kept.push_back(row);
    }
    std::stable_sort(kept.begin(), kept.end(),
        [](const TDuplicateRow& a, const TDuplicateRow& b) { return a.id < b.id; });
    if (hooks.progressStep)
        hooks.progressStep();
    scan.rows = std::move(kept);
    return scan;
}

std::string duplicateCrcText(const TDuplicateRow& row)
{
    return HexDigits(8, row.crc32);
}

int64_t duplicateSizeKilobytes(uint64_t size)
{
    return static_cast<int64_t>((size + 512) / 1024);
}

std::string duplicateDateText(const TDuplicateRow& row)
{
    return formatGridDateTime(row.modified);
}

uint32_t duplicateGroupColour(const TDuplicateRow& row)
{
    // "$00" + the first six hex digits of the key: the key without its last
    // byte.
    return row.key >> 8;
}

bool SendToRecycleBin(const std::string& path)
{
    TFileStatus status;
    if (!existsAsFile(path, status))
        return false;
    return !moveToTrash(absolutePath(path));
}

bool sameFileContents(const std::string& a, const std::string& b)
{
    TFile first, second;
    if (first.open(a, TOpenOptions::contentRead()) || second.open(b, TOpenOptions::contentRead()))
        return false;
    uint64_t sizeA = 0, sizeB = 0;
    if (first.size(sizeA) || second.size(sizeB) || sizeA != sizeB)
        return false;
    first.adviseSequential();
    second.adviseSequential();
    constexpr size_t kBlock = 1 << 20;
    std::unique_ptr<char[]> bufferA(new char[kBlock]);
    std::unique_ptr<char[]> bufferB(new char[kBlock]);
    for (;;) {
        size_t gotA = 0, gotB = 0;
        if (first.readFull(bufferA.get(), kBlock, gotA) || second.readFull(bufferB.get(), kBlock, gotB))
            return false;
        if (gotA != gotB || std::memcmp(bufferA.get(), bufferB.get(), gotA) != 0)
            return false;
        if (gotA < kBlock)
            return true;
    }
}

TRemoveOutcome RemoveDuplicate(const std::string& path, const std::vector<std::string>& groupMates, std::string* twin)
{
    TFileStatus self;
    if (!existsAsFile(path, self))
        return TRemoveOutcome::roMissing;
    const std::string* confirmed = nullptr;
    for (const std::string& mate : groupMates) {
        TFileStatus other;
        if (!existsAsFile(mate, other) || !other.isRegular())
            continue;
        if (other.device == self.device && other.inode == self.inode)
            continue;  // the same file under another name
        if (sameFileContents(path, mate)) {
            confirmed = &mate;
            break;
        }
    }
    if (!confirmed)
        return TRemoveOutcome::roNoTwin;
    if (twin)
        *twin = *confirmed;
    return SendToRecycleBin(path) ? TRemoveOutcome::roTrashed : TRemoveOutcome::roNotTrashable;
}

std::string duplicatesKeptMessage(int noTwin, int notTrashable)
{
    if (noTwin + notTrashable == 0)
        return {};
    std::string text = std::to_string(noTwin + notTrashable);
    text += " file(s) kept:";
    if (noTwin > 0) {
        text += '\r';
        text += std::to_string(noTwin);
        text += " without another file confirmed to hold the same content (the last copy is never removed)";
    }
    if (notTrashable > 0) {
        text += '\r';
        text += std::to_string(notTrashable);
        text += " could not be sent to the Recycle Bin (they were not deleted)";
    }
    return text;
}

}  // namespace korvala
