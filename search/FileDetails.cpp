#include "search/FileDetails.h"

#include "platform/DirectoryListing.h"

namespace korvala {

TFileDetails makeFileDetails(const std::string& folder, DirectoryListing& listing, size_t index)
{
    const EntryDetails& d = listing.details(index);
    TFileDetails f;
    f.Location = folder;
    f.Name = std::string(listing.name(index));
    f.Attributes = d.attributes;
    f.Size = d.size;
    f.CreatedTime = timespecToLocalDateTime(d.created);
    f.ModifiedTime = timespecToLocalDateTime(d.modified);
    f.AccessedTime = timespecToLocalDateTime(d.accessed);
    return f;
}

}  // namespace korvala
