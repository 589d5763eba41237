#pragma once
// The Splitter & Joiner's engine: SplitFile cuts one file into N numbered parts
// beside it, JoinParts appends a run of numbered parts back into one file.
//
// Neither throws for a failure of the files: each returns how the run ended,
// and a failed run hands the reason (the program's text naming the path and
// the system's message) to its failure report first. A failed run leaves no
// output of its own behind: a split removes the parts it created, a join
// writes under a temporary name and renames into place only when every part
// was appended, so the file that stood under the joined name stays untouched.
// An aborted run keeps what it wrote: the parts so far (the last one empty) or
// the parts appended so far under the joined name.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace korvala {

inline constexpr int kMinSplitParts = 2;
inline constexpr int kMaxSplitParts = 999;

inline constexpr const char* kSplitCompletedText = "File Splitting process Completed!";
inline constexpr const char* kSplitAbortedText = "File Splitting process ABORTED!";
inline constexpr const char* kSplitFailedText = "File Splitting process FAILED!";
inline constexpr const char* kJoinCompletedText = "File Joining process Completed!";
inline constexpr const char* kJoinAbortedText = "File Joining process ABORTED!";
inline constexpr const char* kJoinFailedText = "File Joining process FAILED!";

enum class TRunEnd { reCompleted, reAborted, reFailed };

using CancelRequested = std::function<bool()>;
using AcceptCancel = std::function<void()>;
// Receives the reason of a failed run, once, before the run returns.
using FailureReport = std::function<void(const std::string& reason)>;

// The name of part `number` of a split of `source`: source + "._" + number.
std::string splitPartName(const std::string& source, int number);

// How the parts of a join are numbered, from the first part's extension.
enum class TJoinScheme {
    jsNone,        // neither "._1" nor ".001": nothing to join
    jsUnderscore,  // ._1, ._2, ..., ._10, ...
    jsDigits,      // .001, .002, ..., .999, .1000, ...
};
// The scheme of a first part: its extension (from the last dot of its last
// name, the dot included) compared exactly with "._1" and ".001".
TJoinScheme joinSchemeOf(const std::string& firstPart);
// The first part's path without its last extension.
std::string joinedFileName(const std::string& firstPart);
// Part `number` (from 1) of the run that firstPart begins.
std::string joinPartName(const std::string& firstPart, TJoinScheme scheme, uint64_t number);
// Why a join of firstPart cannot start, or nothing: a first part whose
// extension is neither "._1" nor ".001" has no next parts and no joined name
// apart from its own. The text names the path and both accepted forms.
std::optional<std::string> joinRefusal(const std::string& firstPart);

// The end message of a run of the splitter or joiner: the failure text with
// the reason on a second line, the abort text or the completion text.
std::string splitEndText(TRunEnd end, const std::string& reason);
std::string joinEndText(TRunEnd end, const std::string& reason);

// Cuts source into `parts` files (kMinSplitParts to kMaxSplitParts) named by
// splitPartName: P = S div N bytes each, the last P + (S mod N). The
// cancellation is looked at once per part, after the part was created: an
// abort leaves the parts so far, the one just created empty. Holes of a
// sparse source stay holes in the parts.
TRunEnd SplitFile(const std::string& source, int parts, const CancelRequested& cancelRequested,
    const AcceptCancel& acceptCancel, const FailureReport& failed);

// Appends the parts that firstPart begins, in number order up to the first
// number with no file, into joinedFileName(firstPart), replacing a file of
// that name. The cancellation is looked at after each part was opened. The
// join refuses a first part that does not exist, one that joinRefusal turns
// down, and a part that is the joined file itself (through a link or a
// second name), so it never overwrites or grows one of its inputs.
TRunEnd JoinParts(const std::string& firstPart, const CancelRequested& cancelRequested,
    const AcceptCancel& acceptCancel, const FailureReport& failed);

}  // namespace korvala
