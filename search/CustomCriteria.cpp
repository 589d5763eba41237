#include "search/CustomCriteria.h"

#include "platform/KorvalaError.h"

namespace korvala {

void TCustomCriteria::refuseAssign(const TCustomCriteria& source) const
{
    throw KorvalaError(std::string("Cannot assign a ") + source.ClassName() + " to a " + ClassName());
}

}  // namespace korvala
