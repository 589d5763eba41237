#pragma once
// Bounds on the three time stamps, in local time. A bound with no fraction is a
// date (covering the whole day), one with no integral part a time of day; 0 is
// no bound.

#include <ctime>

#include "platform/DateTime.h"
#include "search/CustomCriteria.h"

namespace korvala {

class TDateTimeCriteria : public TCustomCriteria {
public:
    TDateTimeCriteria() = default;
    TDateTimeCriteria(const TDateTimeCriteria&) = default;
    TDateTimeCriteria& operator=(const TDateTimeCriteria&) = default;

    void Assign(const TCustomCriteria& source) override;
    void Clear() override;
    const char* ClassName() const override { return "TDateTimeCriteria"; }

    // Created, modified and accessed are UTC instants.
    bool Matches(const timespec& created, const timespec& modified, const timespec& accessed) const;
    // The same test on times already in local TDateTime form.
    bool MatchesLocal(TDateTime created, TDateTime modified, TDateTime accessed) const;
    bool isEmpty() const;

    TDateTime CreatedBefore = 0;
    TDateTime CreatedAfter = 0;
    TDateTime ModifiedBefore = 0;
    TDateTime ModifiedAfter = 0;
    TDateTime AccessedBefore = 0;
    TDateTime AccessedAfter = 0;
};

}  // namespace korvala
