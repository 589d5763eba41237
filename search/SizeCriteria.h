#pragma once
// Size bounds in bytes, both inclusive; 0 means no bound.

#include <cstdint>

#include "search/CustomCriteria.h"

namespace korvala {

class TSizeCriteria : public TCustomCriteria {
public:
    TSizeCriteria() = default;
    TSizeCriteria(const TSizeCriteria&) = default;
    TSizeCriteria& operator=(const TSizeCriteria&) = default;

    void Assign(const TCustomCriteria& source) override
    {
        const auto& s = sourceAs<TSizeCriteria>(source);
        Min = s.Min;
        Max = s.Max;
    }
    void Clear() override { Min = Max = 0; }
    const char* ClassName() const override { return "TSizeCriteria"; }

    bool Matches(int64_t size) const
    {
        if (Min != 0 && size < Min)
            return false;
        if (Max != 0 && size > Max)
            return false;
        return true;
    }
    bool isEmpty() const { return Min == 0 && Max == 0; }

    int64_t Min = 0;
    int64_t Max = 0;
};

}  // namespace korvala
