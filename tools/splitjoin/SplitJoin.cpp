#include "tools/splitjoin/SplitJoin.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/ErrorTexts.h"
#include "platform/File.h"
#include "platform/Paths.h"

namespace korvala {
namespace {

// Where the extension of a path begins (its last dot within the last name), or
// npos when the last name has none.
size_t extensionStart(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return std::string::npos;
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > dot)
        return std::string::npos;
    return dot;
}

// A failed copy names the file it most likely failed on: a full disk or a
// file-size limit is the output's, anything else is taken as the input's.
bool isWriteFailure(const std::error_code& ec)
{
    return ec == std::errc::no_space_on_device || ec == std::errc::file_too_large ||
        ec.value() == EDQUOT || ec == std::errc::read_only_file_system;
}

std::string copyFailureText(const std::string& input, const std::string& output, const std::error_code& ec)
{
    return isWriteFailure(ec) ? cannotWriteFileText(output, ec) : cannotReadFileText(input, ec);
}

// A new output replaces what stands under its name by a rename. A regular
// file or a link is replaced; a named pipe, socket or device node is not
// something the user asked to be replaced by a file, so it is refused (a
// folder refuses the rename by itself).
std::error_code checkReplaceable(const std::string& path)
{
    TFileStatus status;
    if (pathStatus(path, false, status))
        return {};
    switch (status.kind) {
    case TFileKind::Fifo:
    case TFileKind::Socket:
    case TFileKind::CharDevice:
    case TFileKind::BlockDevice:
        return PlatformErrc::notRegularFile;
    default:
        return {};
    }
}

bool sameFile(const TFileStatus& a, const TFileStatus& b)
{
    return a.device == b.device && a.inode == b.inode;
}

std::string endText(TRunEnd end, const std::string& reason, const char* completed, const char* aborted,
    const char* failedText)
{
    switch (end) {
    case TRunEnd::reCompleted: return completed;
    case TRunEnd::reAborted: return aborted;
    case TRunEnd::reFailed: break;
    }
    return reason.empty() ? std::string(failedText) : std::string(failedText) + "\n" + reason;
}

}  // namespace

std::string splitPartName(const std::string& source, int number)
{
    return source + "._" + std::to_string(number);
}

TJoinScheme joinSchemeOf(const std::string& firstPart)
{
    const size_t dot = extensionStart(firstPart);
    if (dot == std::string::npos)
        return TJoinScheme::jsNone;
    const std::string extension = firstPart.substr(dot);
    if (extension == "._1")
        return TJoinScheme::jsUnderscore;
    if (extension == ".001")
        return TJoinScheme::jsDigits;
    return TJoinScheme::jsNone;
}

std::string joinedFileName(const std::string& firstPart)
{
    const size_t dot = extensionStart(firstPart);
    return dot == std::string::npos ? firstPart : firstPart.substr(0, dot);
}

std::string joinPartName(const std::string& firstPart, TJoinScheme scheme, uint64_t number)
{
    const std::string stem = joinedFileName(firstPart);
    if (scheme == TJoinScheme::jsUnderscore)
        return stem + "._" + std::to_string(number);
    char digits[24];
    std::snprintf(digits, sizeof digits, ".%03llu", static_cast<unsigned long long>(number));
    return stem + digits;
}

std::optional<std::string> joinRefusal(const std::string& firstPart)
{
    if (joinSchemeOf(firstPart) != TJoinScheme::jsNone)
        return std::nullopt;
    return "Cannot join \"" + absolutePath(firstPart) +
        "\": the first part must end in \"._1\" or \".001\".";
}

std::string splitEndText(TRunEnd end, const std::string& reason)
{
    return endText(end, reason, kSplitCompletedText, kSplitAbortedText, kSplitFailedText);
}

std::string joinEndText(TRunEnd end, const std::string& reason)
{
    return endText(end, reason, kJoinCompletedText, kJoinAbortedText, kJoinFailedText);
}

TRunEnd SplitFile(const std::string& source, int parts, const CancelRequested& cancelRequested,
    const AcceptCancel& acceptCancel, const FailureReport& failed)
{
    // Parts this run put in place, removed again when the run fails.
    std::vector<std::string> created;
    auto fail = [&](const std::string& reason) {
        for (const std::string& part : created)
            (void)removeFile(part);
        if (failed)
            failed(reason);
        return TRunEnd::reFailed;
    };
    if (parts < kMinSplitParts || parts > kMaxSplitParts)
        return fail("The number of parts must be from " + std::to_string(kMinSplitParts) + " to " +
            std::to_string(kMaxSplitParts) + ".");

    TFile input;
    if (const std::error_code ec = input.open(source, TOpenOptions::contentRead()))
        return fail(cannotOpenFileText(source, ec));
    uint64_t size = 0;
    if (const std::error_code ec = input.size(size))
        return fail(cannotReadFileText(source, ec));
    input.adviseSequential();
    const auto count = static_cast<uint64_t>(parts);
    uint64_t partSize = size / count;
    const uint64_t rest = size % count;

    uint64_t position = 0;
    for (int i = 1; i <= parts; ++i) {
        const std::string name = splitPartName(source, i);
        TNewOutput part;
        if (const std::error_code ec = checkReplaceable(name))
            return fail(cannotCreateFileText(name, ec));
        if (const std::error_code ec = part.create(name))
            return fail(cannotCreateFileText(name, ec));
        if (cancelRequested && cancelRequested()) {
            // The part just created stays, empty, as the abort leaves it.
            if (const std::error_code ec = part.commit(false))
                return fail(cannotCreateFileText(name, ec));
            created.push_back(name);
            if (acceptCancel)
                acceptCancel();
            return TRunEnd::reAborted;
        }
        // The source may have shrunk since its size was taken.
        partSize = std::min(partSize, size > position ? size - position : 0);
        const uint64_t want = i == parts ? partSize + rest : partSize;
        uint64_t copied = 0;
        if (want > 0) {
            if (const std::error_code ec = copyRangeKeepingHoles(input, position, part.file(), 0, want, copied))
                return fail(copyFailureText(source, name, ec));
        }
        position += copied;
        if (const std::error_code ec = part.commit(false))
            return fail(cannotWriteFileText(name, ec));
        created.push_back(name);
    }
    return TRunEnd::reCompleted;
}

TRunEnd JoinParts(const std::string& firstPart, const CancelRequested& cancelRequested,
    const AcceptCancel& acceptCancel, const FailureReport& failed)
{
    auto fail = [&](const std::string& reason) {
        if (failed)
            failed(reason);
        return TRunEnd::reFailed;
    };
    if (const auto refusal = joinRefusal(firstPart))
        return fail(*refusal);
    const TJoinScheme scheme = joinSchemeOf(firstPart);
    const std::string outputName = joinedFileName(firstPart);

    // A first part that is not there would give an empty file in place of
    // the one the user wants back: nothing is written.
    TFile part;
    if (const std::error_code ec = part.open(firstPart, TOpenOptions::contentRead()))
        return fail(cannotOpenFileText(firstPart, ec));

    // The file now under the joined name, followed through a link: a part
    // that is this file would be read while its name is being replaced.
    TFileStatus existing;
    const bool outputExists = !pathStatus(outputName, true, existing);
    TNewOutput output;
    if (std::error_code ec = checkReplaceable(outputName); ec || (ec = output.create(outputName)))
        return fail(cannotCreateFileText(outputName, ec));

    uint64_t written = 0;
    for (uint64_t k = 1;; ++k) {
        const std::string name = k == 1 ? firstPart : joinPartName(firstPart, scheme, k);
        if (k > 1) {
            const std::error_code ec = part.open(name, TOpenOptions::contentRead());
            if (ec == std::errc::no_such_file_or_directory)
                break;  // the run ends at the first number with no file
            if (ec)
                return fail(cannotOpenFileText(name, ec));
        }
        TFileStatus status;
        if (const std::error_code ec = part.status(status))
            return fail(cannotReadFileText(name, ec));
        if (outputExists && sameFile(status, existing))
            return fail("Cannot join \"" + absolutePath(name) + "\": it is the joined file \"" +
                absolutePath(outputName) + "\" itself.");
        if (cancelRequested && cancelRequested()) {
            part.close();
            // The parts appended so far stay under the joined name.
            if (const std::error_code ec = output.commit(false))
                return fail(cannotWriteFileText(outputName, ec));
            if (acceptCancel)
                acceptCancel();
            return TRunEnd::reAborted;
        }
        part.adviseSequential();
        uint64_t copied = 0;
        if (const std::error_code ec =
                copyRangeKeepingHoles(part, 0, output.file(), written, status.size, copied))
            return fail(copyFailureText(name, outputName, ec));
        written += copied;
        part.close();
    }
    if (const std::error_code ec = output.commit(false))
        return fail(cannotWriteFileText(outputName, ec));
    return TRunEnd::reCompleted;
}

}  // namespace korvala
