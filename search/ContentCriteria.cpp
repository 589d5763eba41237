#include "search/ContentCriteria.h"

#include "platform/File.h"
#include "platform/TextFold.h"
#include "search/ContentScanner.h"

namespace korvala {

void TContentCriteria::Assign(const TCustomCriteria& source)
{
    const auto& s = sourceAs<TContentCriteria>(source);
    m_phrase = s.m_phrase;
    m_options = s.m_options;
    m_variants = s.m_variants;
}

void TContentCriteria::Clear()
{
    setPhrase(std::string());
    m_options = 0;
}

void TContentCriteria::setPhrase(const std::string& value)
{
    if (value == m_phrase)
        return;
    m_phrase = value;
    m_variants.Ansi = value;
    m_variants.Utf8 = value;
    m_variants.Unicode = utf8ToUtf16(value);
}

bool TContentCriteria::Matches(const std::string& fullPath) const
{
    return MatchesAt(kWorkingFolder, fullPath.c_str());
}

bool TContentCriteria::MatchesAt(int dirFd, const char* name, bool listedAsRegular, bool shortReadIsEnd) const
{
    if (m_phrase.empty())
        return true;
    // Only regular files have content to read; folders, devices and pipes fail
    // the test as a file that cannot be read, and the access time a later
    // search may test is kept.
    TOpenOptions options = TOpenOptions::contentRead();
    options.listedAsRegular = listedAsRegular;
    TFile file;
    if (file.openAt(dirFd, name, options))
        return false;
    ScanResult r = ContainsPhrase(file, m_variants, m_options, shortReadIsEnd);
    if (r == ScanResult::Failed)
        return false;
    const bool found = r == ScanResult::Found;
    return (m_options & csoNegate) ? !found : found;
}

}  // namespace korvala
