#include "platform/KorvalaError.h"

#include <cstring>

namespace korvala {

std::string systemErrorText(int errnum)
{
    return "System Error.  Code: " + std::to_string(errnum) + ".\r\n" + std::strerror(errnum);
}

}  // namespace korvala
