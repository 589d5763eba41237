#include "search/SearchCriteria.h"

#include "platform/DirectoryListing.h"
#include "platform/FileAttributes.h"

namespace korvala {

void TSearchCriteria::Assign(const TCustomCriteria& source)
{
    const auto& s = sourceAs<TSearchCriteria>(source);
    if (&s == this)
        return;
    m_files.Assign(s.m_files);
    m_attributes.Assign(s.m_attributes);
    m_timeStamp.Assign(s.m_timeStamp);
    m_size.Assign(s.m_size);
    m_content.Assign(s.m_content);
}

void TSearchCriteria::Clear()
{
    m_files.Clear();
    m_attributes.Clear();
    m_timeStamp.Clear();
    m_size.Clear();
    m_content.Clear();
}

bool TSearchCriteria::Matches(const std::string& folder, DirectoryListing& listing, size_t index) const
{
    const uint32_t tested = m_attributes.TestedMask();
    // The bits the listing knows for free (type, dot name) may reject the
    // entry before anything is read from the disk.
    if (tested && (listing.attributes(index, 0) & m_attributes.UnsetMask()))
        return false;
    // With a phrase, the attribute store is read last: the phrase rejects most
    // files, the store seldom does, and each read costs a system call. Without
    // one, it is read first, as it costs less than a stat.
    const bool storeLast = !m_content.isEmpty();
    if (tested && !storeLast && !m_attributes.Matches(listing.attributes(index, tested)))
        return false;
    if (!m_size.isEmpty() && !m_size.Matches(listing.entrySize(index)))
        return false;
    if (!m_timeStamp.isEmpty()) {
        const EntryDetails& d = listing.details(index);
        if (!m_timeStamp.Matches(d.created, d.modified, d.accessed))
            return false;
    }
    const std::string_view name = listing.name(index);
    if (!m_files.Filters().empty() && !m_files.Matches(folder, name))
        return false;
    if (!m_content.isEmpty()) {
        // Names in a listing are stored NUL-terminated.
        const bool regular = listing.type(index) == EntryType::File;
        if (!m_content.MatchesAt(listing.fd(), name.data(), regular, regular && listing.shortReadIsEnd()))
            return false;
    }
    if (tested && storeLast && !m_attributes.Matches(listing.attributes(index, tested)))
        return false;
    return true;
}

}  // namespace korvala
