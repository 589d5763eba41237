#include "search/SeekerRow.h"

#include <cmath>

#include "platform/AttributeLetters.h"
#include "platform/FileAttributes.h"

namespace korvala {

std::string formatSizeKilobytes(uint32_t attributes, int64_t size)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return "Folder";
    // "#0": a whole number, halves rounded away from zero.
    const int64_t kb = size >= 0 ? (size + 512) / 1024 : -((-size + 512) / 1024);
    return std::to_string(kb);
}

std::string formatAttributeLetters(uint32_t a)
{
    return attributeLetters(a);
}

std::string formatGridDateTime(TDateTime value)
{
    int h = 0, m = 0, s = 0, ms = 0;
    decodeTime(value, h, m, s, ms);
    if (h == 0 && m == 0 && s == 0 && ms == 0)
        return formatDateTime(kSeekerShortDateFormat, value);
    return formatDateTime(std::string(kSeekerShortDateFormat) + " " + kSeekerLongTimeFormat, value);
}

TSeekerRow formatSeekerRow(const TFileDetails& d)
{
    TSeekerRow row;
    row.Name = d.Name;
    row.Size = formatSizeKilobytes(d.Attributes, d.Size);
    row.Attributes = formatAttributeLetters(d.Attributes);
    row.DateModified = formatGridDateTime(d.ModifiedTime);
    row.Location = d.Location;
    return row;
}

}  // namespace korvala
