#pragma once
// What a search reports: one matching entry, and what a folder-change handler
// may answer.

#include <cstdint>
#include <string>

#include "platform/DateTime.h"

namespace korvala {

class DirectoryListing;

enum TFolderIgnore : uint8_t {
    fiNone = 0,               // list this folder's files and walk its sub-folders
    fiJustThis = 1,           // skip this folder's files, walk its sub-folders
    fiJustSubfolders = 2,     // list this folder's files, skip its sub-folders
    fiThisAndSubfolders = 3,  // skip both
};

struct TFileDetails {
    std::string Location;  // the folder listed, absolute, ending in "/"
    std::string Name;      // the entry's name as listed
    uint32_t Attributes = 0;
    int64_t Size = 0;
    TDateTime CreatedTime = 0;   // local time
    TDateTime ModifiedTime = 0;  // local time
    TDateTime AccessedTime = 0;  // local time

    std::string fullPath() const { return Location + Name; }
};

// The record of entry `index` of a listing of `folder`.
TFileDetails makeFileDetails(const std::string& folder, DirectoryListing& listing, size_t index);

}  // namespace korvala
