#pragma once
// Everything a search tests, in one object: file names and locations,
// attributes, time stamps, size and content. Testing an entry never throws:
// what cannot be read does not match. Assign throws KorvalaError
// (cannotAssignText) for criteria of another class.

#include <string>

#include "search/AttributesCriteria.h"
#include "search/ContentCriteria.h"
#include "search/DateTimeCriteria.h"
#include "search/FileCriteria.h"
#include "search/SizeCriteria.h"

namespace korvala {

class DirectoryListing;

class TSearchCriteria : public TCustomCriteria {
public:
    TSearchCriteria() = default;
    TSearchCriteria(const TSearchCriteria& other) : TCustomCriteria() { Assign(other); }
    TSearchCriteria& operator=(const TSearchCriteria& other)
    {
        Assign(other);
        return *this;
    }

    void Assign(const TCustomCriteria& source) override;
    void Clear() override;
    const char* ClassName() const override { return "TSearchCriteria"; }

    // The owned criteria; setting one copies the given object into it.
    TFileCriteria& Files() { return m_files; }
    const TFileCriteria& Files() const { return m_files; }
    void setFiles(const TFileCriteria& v) { m_files.Assign(v); }
    TAttributesCriteria& Attributes() { return m_attributes; }
    const TAttributesCriteria& Attributes() const { return m_attributes; }
    void setAttributes(const TAttributesCriteria& v) { m_attributes.Assign(v); }
    TDateTimeCriteria& TimeStamp() { return m_timeStamp; }
    const TDateTimeCriteria& TimeStamp() const { return m_timeStamp; }
    void setTimeStamp(const TDateTimeCriteria& v) { m_timeStamp.Assign(v); }
    TSizeCriteria& Size() { return m_size; }
    const TSizeCriteria& Size() const { return m_size; }
    void setSize(const TSizeCriteria& v) { m_size.Assign(v); }
    TContentCriteria& Content() { return m_content; }
    const TContentCriteria& Content() const { return m_content; }
    void setContent(const TContentCriteria& v) { m_content.Assign(v); }

    // Whether entry `index` of the listing of `folder` (ending in "/") matches.
    // Cheapest first: attributes, size, time stamps, filters, content; the file
    // is opened only when everything else has passed.
    bool Matches(const std::string& folder, DirectoryListing& listing, size_t index) const;

private:
    TFileCriteria m_files;
    TAttributesCriteria m_attributes;
    TDateTimeCriteria m_timeStamp;
    TSizeCriteria m_size;
    TContentCriteria m_content;
};

}  // namespace korvala
