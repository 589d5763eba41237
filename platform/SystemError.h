#pragma once
// How the platform layer reports failure. Every platform header points here.
//
// A platform function that can fail returns a std::error_code (or fills an out
// value and returns the code): empty on success, the system's errno value in the
// generic category otherwise, or one of the platform's own codes below. It never
// returns a sentinel value in place of a code and never throws. The one exception
// is the program's own date encoding (encodeDate, encodeTime), which throws for
// the pages and commands and is built on tryEncodeDate and tryEncodeTime.
//
// The engines turn codes into the texts the user sees through
// platform/ErrorTexts.h; each engine header says whether its functions return a
// code, throw KorvalaError, or keep a documented sentinel of the tool they serve
// (the attribute word 0xFFFFFFFF for a path that cannot be read, for example).

#include <system_error>

namespace korvala {

// The errno value `errnum` as a code.
inline std::error_code systemError(int errnum)
{
    return {errnum, std::generic_category()};
}

// Failures the platform reports that have no errno value of their own.
enum class PlatformErrc {
    // A content reader was given a FIFO, socket or device. It equals
    // std::errc::invalid_argument, so callers that test for EINVAL see it.
    notRegularFile = 1,
};

const std::error_category& platformCategory();

inline std::error_code make_error_code(PlatformErrc e)
{
    return {static_cast<int>(e), platformCategory()};
}

}  // namespace korvala

template <>
struct std::is_error_code_enum<korvala::PlatformErrc> : std::true_type {};
