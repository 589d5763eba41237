#pragma once
// The one error type of the engines: its message is the text the user sees.

#include <stdexcept>
#include <string>

namespace korvala {

class KorvalaError : public std::runtime_error {
public:
    explicit KorvalaError(const std::string& message) : std::runtime_error(message) {}
};

// "System Error.  Code: %d.\r\n%s" filled with an errno value and its text.
std::string systemErrorText(int errnum);

}  // namespace korvala
