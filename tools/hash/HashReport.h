#pragma once
// The Hash generator's report: for every file its name and one line per
// chosen digest, then an empty line.
//
//   Filename   : /data/a.bin
//   CRC32      : 8 hex digits
//   MD5        : 32 hex digits
//   SHA-1      : 40 hex digits
//   (empty line)

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "hash/HashAlgorithm.h"

namespace korvala {

// "Filename   : " and the twelve digest labels, each 13 characters, so that
// the colons line up in a fixed-pitch font.
inline constexpr std::string_view HashReportFileLabel = "Filename   : ";
inline constexpr std::array<std::string_view, HashAlgorithmCount> HashReportLabels = {
    "CRC32      : ", "MD4        : ", "MD5        : ", "RIPEMD-128 : ", "RIPEMD-160 : ", "SHA-1      : ",
    "SHA-256    : ", "SHA-384    : ", "SHA-512    : ", "Tiger-128  : ", "Tiger-160  : ", "Tiger-192  : ",
};

struct HashReportCallbacks {
    // Whether algorithm `index` (0 to 11) is ticked. Asked for every file
    // before its digests are computed (they are computed in one read pass).
    std::function<bool(int index)> isTicked;
    // Whether digests are written in lower case; asked for every digest line.
    std::function<bool()> lowercase;
    // Receives each report line, without a line end, in report order.
    std::function<void(const std::string& line)> appendLine;
    // Progress: (0, count) at the start, (i + 1, count) after file i.
    std::function<void(int position, int maximum)> progress;
    // Polled after every algorithm slot, twelve times per file, ticked or not,
    // and between the 1 MiB blocks of the file's read pass (not for a file of
    // one block or less), on the thread that runs the report.
    std::function<bool()> cancelRequested;
    // Called once when a requested cancellation is taken; the run then ends.
    std::function<void()> acceptCancel;
};

enum class HashReportOutcome { hrCompleted, hrCancelled };

// Writes the report of `files` (in list order) through the callbacks. Any
// callback may be empty: unset queries answer false, unset sinks discard.
// A digest that cannot be computed throws KorvalaError with its message (for
// example "Cannot open file \"%s\". %s"), after the lines before it were
// written; CRC32 of an unreadable file is "00000000" and is no error.
// On cancellation the report keeps the lines written so far, without the
// empty line and without the progress step of the file under way; a
// cancellation taken during a file's read pass leaves that file with its
// "Filename   : " line only.
HashReportOutcome WriteHashReport(const std::vector<std::string>& files, const HashReportCallbacks& callbacks);

// The digest text in lower case (ASCII letters only), as the report's option
// writes it.
std::string asciiLowercase(std::string text);

}  // namespace korvala
