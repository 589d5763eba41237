#pragma once
// What every process start of the platform layer shares: file actions and
// attributes that are released however the start ends.

#include <signal.h>
#include <spawn.h>

namespace korvala::posix {

class SpawnActions {
public:
    SpawnActions() { m_ok = ::posix_spawn_file_actions_init(&m_actions) == 0; }
    ~SpawnActions()
    {
        if (m_ok)
            ::posix_spawn_file_actions_destroy(&m_actions);
    }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    bool ok() const { return m_ok; }
    posix_spawn_file_actions_t* get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions{};
    bool m_ok = false;
};

// The command starts with no signal blocked and SIGPIPE at its default, whatever the
// calling thread blocks or the program ignores: ignored signals survive exec.
class SpawnAttributes {
public:
    SpawnAttributes()
    {
        if (::posix_spawnattr_init(&m_attributes) != 0)
            return;
        m_ok = true;
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        if (::posix_spawnattr_setsigmask(&m_attributes, &none) != 0 ||
            ::posix_spawnattr_setsigdefault(&m_attributes, &defaults) != 0 ||
            ::posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) != 0)
            m_ok = false;
    }
    ~SpawnAttributes() { ::posix_spawnattr_destroy(&m_attributes); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    bool ok() const { return m_ok; }
    posix_spawnattr_t* get() { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes{};
    bool m_ok = false;
};

}  // namespace korvala::posix
