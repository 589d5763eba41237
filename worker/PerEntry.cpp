#include "worker/PerEntry.h"

#include "platform/KorvalaError.h"

void throwListIndexOutOfBounds(int position)
{
    throw korvala::KorvalaError("List index out of bounds (" + std::to_string(position) + ")");
}
