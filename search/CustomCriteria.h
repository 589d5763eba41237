#pragma once
// The common base of every search criteria class: copy from another object of
// the same class (Assign) and reset to the cleared state (Clear).

#include <string>

namespace korvala {

class TCustomCriteria {
public:
    virtual ~TCustomCriteria() = default;
    // Copies every property of `source`, which must be of the same class;
    // otherwise throws KorvalaError("Cannot assign a <source> to a <this>").
    virtual void Assign(const TCustomCriteria& source) = 0;
    virtual void Clear() = 0;
    virtual const char* ClassName() const = 0;

protected:
    TCustomCriteria() = default;
    TCustomCriteria(const TCustomCriteria&) = default;
    TCustomCriteria& operator=(const TCustomCriteria&) = default;
    [[noreturn]] void refuseAssign(const TCustomCriteria& source) const;

    template <typename T>
    const T& sourceAs(const TCustomCriteria& source) const
    {
        const T* s = dynamic_cast<const T*>(&source);
        if (!s)
            refuseAssign(source);
        return *s;
    }
};

}  // namespace korvala
