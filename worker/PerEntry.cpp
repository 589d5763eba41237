#include "worker/PerEntry.h"

#include "platform/ErrorTexts.h"
#include "platform/KorvalaError.h"

void throwListIndexOutOfBounds(int position)
{
    throw korvala::KorvalaError(korvala::listIndexOutOfBoundsText(position));
}
