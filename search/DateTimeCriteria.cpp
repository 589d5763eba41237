#include "search/DateTimeCriteria.h"

#include <cmath>

namespace korvala {
namespace {

bool hasNoFraction(TDateTime v)
{
    return v == std::trunc(v);
}

bool hasNoIntegralPart(TDateTime v)
{
    return std::trunc(v) == 0;
}

bool passesBefore(TDateTime v, TDateTime bound)
{
    if (bound == 0)
        return true;
    if (hasNoFraction(bound))
        return std::trunc(v) <= bound;
    if (hasNoIntegralPart(bound))
        return v - std::trunc(v) <= bound;
    return v <= bound;
}

bool passesAfter(TDateTime v, TDateTime bound)
{
    if (bound == 0)
        return true;
    if (hasNoFraction(bound))
        return std::trunc(v) >= bound;
    if (hasNoIntegralPart(bound))
        return v - std::trunc(v) >= bound;
    return v >= bound;
}

}  // namespace

void TDateTimeCriteria::Assign(const TCustomCriteria& source)
{
    const auto& s = sourceAs<TDateTimeCriteria>(source);
    CreatedBefore = s.CreatedBefore;
    CreatedAfter = s.CreatedAfter;
    ModifiedBefore = s.ModifiedBefore;
    ModifiedAfter = s.ModifiedAfter;
    AccessedBefore = s.AccessedBefore;
    AccessedAfter = s.AccessedAfter;
}

void TDateTimeCriteria::Clear()
{
    CreatedBefore = CreatedAfter = ModifiedBefore = ModifiedAfter = AccessedBefore = AccessedAfter = 0;
}

bool TDateTimeCriteria::isEmpty() const
{
    return CreatedBefore == 0 && CreatedAfter == 0 && ModifiedBefore == 0 && ModifiedAfter == 0 &&
        AccessedBefore == 0 && AccessedAfter == 0;
}

bool TDateTimeCriteria::Matches(const timespec& created, const timespec& modified, const timespec& accessed) const
{
    // Convert only the stamps whose pair is tested, in the order of the tests.
    struct Pair {
        TDateTime before, after;
        const timespec* value;
    } pairs[3] = {{CreatedBefore, CreatedAfter, &created}, {ModifiedBefore, ModifiedAfter, &modified},
        {AccessedBefore, AccessedAfter, &accessed}};
    for (const Pair& p : pairs) {
        if (p.before == 0 && p.after == 0)
            continue;
        TDateTime v = timespecToLocalDateTime(*p.value);
        if (!passesBefore(v, p.before) || !passesAfter(v, p.after))
            return false;
    }
    return true;
}

bool TDateTimeCriteria::MatchesLocal(TDateTime created, TDateTime modified, TDateTime accessed) const
{
    struct Pair {
        TDateTime before, after, value;
    } pairs[3] = {{CreatedBefore, CreatedAfter, created}, {ModifiedBefore, ModifiedAfter, modified},
        {AccessedBefore, AccessedAfter, accessed}};
    for (const Pair& p : pairs) {
        if (p.before == 0 && p.after == 0)
            continue;
        if (!passesBefore(p.value, p.before) || !passesAfter(p.value, p.after))
            return false;
    }
    return true;
}

}  // namespace korvala
