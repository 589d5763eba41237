#include "platform/Accounts.h"

#include <vector>

#include <grp.h>
#include <unistd.h>

namespace korvala {

bool groupExists(const std::string& name)
{
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    return ::getgrnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr;
}

uint32_t currentUserId()
{
    return static_cast<uint32_t>(::geteuid());
}

}  // namespace korvala
