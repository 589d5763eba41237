#pragma once
// The phrase scan over a file's content: byte-order marks for UTF-16 LE/BE and
// UTF-8, one forward pass in large blocks (occurrences across block ends are
// found, whole-word neighbours are looked up across them), candidates found
// with memchr-style searches for the rarest byte of the phrase. A failed read is
// the result Failed, never an exception.

#include "search/ContentCriteria.h"

namespace korvala {

class TFile;

enum class ScanResult { Found, NotFound, Failed };

// Scans the open file from its current position (its start). Found means an
// occurrence that counts (whole word when asked); Failed that reading failed.
// `shortReadIsEnd`: the file lies on a local disk file system, where a short
// read means the end of the file (saves one read per small file).
ScanResult ContainsPhrase(
    TFile& file, const TStringVariants& phrase, TContentSearchOptions options, bool shortReadIsEnd = false);

// The file's encoding as its first bytes tell.
enum class TextEncoding { SingleByte, Utf16LE, Utf16BE, Utf8 };

// Block size in which the content is read; any size gives the same results.
void setContentBlockSizeForTests(size_t bytes);

}  // namespace korvala
