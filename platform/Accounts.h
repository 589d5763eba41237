#pragma once
// The system's users and groups, as far as the tools ask about them.

#include <cstdint>
#include <string>

namespace korvala {

// Whether a group of this name exists on this machine.
bool groupExists(const std::string& name);

// The effective user id of the process.
uint32_t currentUserId();

}  // namespace korvala
