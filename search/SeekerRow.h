#pragma once
// The five texts of one row of the Seeker's result grid.

#include <string>

#include "search/FileDetails.h"

namespace korvala {

struct TSeekerRow {
    std::string Name;          // "Name"
    std::string Size;          // "Size (KB)": kilobytes rounded half up, or "Folder"
    std::string Attributes;    // "Attribute": S R H A D, "_" for each one absent
    std::string DateModified;  // "Date Modified": short date + long time
    std::string Location;      // "Location", ending in "/"
};

// The date formats of the result grid: the short date "MM/dd/yyyy" and the long
// time "hh:mm:ss" (24-hour), separated by one blank; the time is left out when
// it is exactly midnight.
constexpr const char* kSeekerShortDateFormat = "MM/dd/yyyy";
constexpr const char* kSeekerLongTimeFormat = "hh:mm:ss";

TSeekerRow formatSeekerRow(const TFileDetails& details);

// The pieces, for the grid's sorting and for other grids.
std::string formatSizeKilobytes(uint32_t attributes, int64_t size);
std::string formatAttributeLetters(uint32_t attributes);
std::string formatGridDateTime(TDateTime value);

}  // namespace korvala
