#include "search/CustomCriteria.h"

#include "platform/KorvalaError.h"

namespace korvala {

void TCustomCriteria::refuseAssign(const TCustomCriteria& source) const
{
    throw KorvalaError(cannotAssignText(source.ClassName(), ClassName()));
}

}  // namespace korvala
