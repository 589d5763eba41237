#pragma once
// The one error type of the engines: its message is the text the user sees,
// built by platform/ErrorTexts.h (included here for the callers that throw it).

#include <stdexcept>
#include <string>

#include "platform/ErrorTexts.h"

namespace korvala {

class KorvalaError : public std::runtime_error {
public:
    explicit KorvalaError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace korvala
