#pragma once
// A phrase that a file must contain (or, negated, must not contain). The test
// never throws: a file that cannot be opened or read does not match.

#include <string>
#include <string_view>

#include "search/CustomCriteria.h"

namespace korvala {

enum TContentSearchOption : unsigned {
    csoCaseSensitive = 1,  // compare with regard to case
    csoWholeWord = 2,      // only whole-word occurrences count
    csoNegate = 4,         // the file matches when the phrase is not found
};
using TContentSearchOptions = unsigned;  // a set of TContentSearchOption bits

// The phrase in the encodings a file may use. The single-byte form is UTF-8 on
// this platform, so Ansi and Utf8 hold the same bytes; they are scanned
// differently (UTF-8 text only matches at character starts).
struct TStringVariants {
    std::string Ansi;
    std::u16string Unicode;
    std::string Utf8;
};

class TContentCriteria : public TCustomCriteria {
public:
    TContentCriteria() = default;
    TContentCriteria(const TContentCriteria&) = default;
    TContentCriteria& operator=(const TContentCriteria&) = default;

    void Assign(const TCustomCriteria& source) override;
    void Clear() override;
    const char* ClassName() const override { return "TContentCriteria"; }

    const std::string& Phrase() const { return m_phrase; }
    void setPhrase(const std::string& value);
    TContentSearchOptions Options() const { return m_options; }
    void setOptions(TContentSearchOptions value) { m_options = value; }
    const TStringVariants& Variants() const { return m_variants; }
    bool isEmpty() const { return m_phrase.empty(); }

    // The content test on a file: true for an empty phrase without opening it;
    // otherwise whether it contains the phrase (or not, under csoNegate). A file
    // that cannot be opened or read fails, whatever the options.
    bool Matches(const std::string& fullPath) const;
    // The same on the file `name` of the folder open as `dirFd` (a listing's
    // descriptor). `listedAsRegular`: the listing reported a regular file
    // (TOpenOptions::listedAsRegular). `shortReadIsEnd`: the file lies on a
    // local disk file system.
    bool MatchesAt(int dirFd, const char* name, bool listedAsRegular = false, bool shortReadIsEnd = false) const;

private:
    std::string m_phrase;
    TContentSearchOptions m_options = 0;
    TStringVariants m_variants;
};

}  // namespace korvala
