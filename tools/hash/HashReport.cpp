#include "tools/hash/HashReport.h"

#include "hash/FileDigests.h"

namespace korvala {

std::string asciiLowercase(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

HashReportOutcome WriteHashReport(const std::vector<std::string>& files, const HashReportCallbacks& callbacks)
{
    const int count = static_cast<int>(files.size());
    auto append = [&](const std::string& line) {
        if (callbacks.appendLine)
            callbacks.appendLine(line);
    };
    auto progress = [&](int position) {
        if (callbacks.progress)
            callbacks.progress(position, count);
    };
    auto cancelled = [&] {
        if (!callbacks.cancelRequested || !callbacks.cancelRequested())
            return false;
        if (callbacks.acceptCancel)
            callbacks.acceptCancel();
        return true;
    };

    progress(0);
    for (int i = 0; i < count; ++i) {
        const std::string& path = files[static_cast<std::size_t>(i)];
        append(std::string(HashReportFileLabel) + path);

        HashAlgorithmSet ticked;
        for (int k = 0; k < HashAlgorithmCount; ++k)
            if (callbacks.isTicked && callbacks.isTicked(k))
                ticked.set(static_cast<std::size_t>(k));

        // All ticked digests of this file in one read pass; the lines are then
        // written in algorithm order, an error surfacing at its own line. The
        // pass asks for a cancellation between its blocks, so an abort during
        // a big file is taken at once; the run then ends without that file's
        // digest lines, none of which were computed.
        FileDigestResult digests;
        if (ticked.any()) {
            digests = digestFile(path, ticked, callbacks.cancelRequested);
            if (digests.cancelled) {
                if (callbacks.acceptCancel)
                    callbacks.acceptCancel();
                return HashReportOutcome::hrCancelled;
            }
        }

        for (int k = 0; k < HashAlgorithmCount; ++k) {
            if (ticked.test(static_cast<std::size_t>(k))) {
                std::string text = digestTextOrThrow(digests, static_cast<HashAlgorithm>(k), path);
                if (callbacks.lowercase && callbacks.lowercase())
                    text = asciiLowercase(std::move(text));
                append(std::string(HashReportLabels[static_cast<std::size_t>(k)]) + text);
            }
            if (cancelled())
                return HashReportOutcome::hrCancelled;
        }
        append(std::string());
        progress(i + 1);
    }
    return HashReportOutcome::hrCompleted;
}

}  // namespace korvala
