#include "platform/ConsoleCommand.h"

#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/File.h"
#include "platform/SystemError.h"

extern char** environ;

namespace korvala {

namespace {

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

}  // namespace

std::error_code runConsoleCommand(const std::string& commandLine, const std::string& workingFolder, std::string& output)
{
    output.clear();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return systemError(errno);
    const int readEnd = fds[0];
    const int writeEnd = fds[1];

    pid_t pid = -1;
    int spawnError = 0;
    {
        SpawnActions actions;
        SpawnAttributes attributes;
        // Output and error both go to the pipe; nothing else of ours reaches the child.
        spawnError = !actions.ok() || !attributes.ok() ? ENOMEM
            : ::posix_spawn_file_actions_adddup2(actions.get(), writeEnd, STDOUT_FILENO) != 0 ? ENOMEM
            : ::posix_spawn_file_actions_adddup2(actions.get(), writeEnd, STDERR_FILENO) != 0 ? ENOMEM
            : ::posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1) != 0 ? ENOMEM
            : 0;
        if (spawnError == 0 && !workingFolder.empty())
            spawnError = ::posix_spawn_file_actions_addchdir_np(actions.get(), workingFolder.c_str());
        if (spawnError == 0) {
            const char* argv[] = {"/bin/sh", "-c", commandLine.c_str(), nullptr};
            spawnError = ::posix_spawn(&pid, "/bin/sh", actions.get(), attributes.get(), const_cast<char* const*>(argv), environ);
        }
    }
    // Our copy of the write end must go, or the read below would never see the end.
    ::close(writeEnd);

    TFile pipe = TFile::adopt(readEnd);
    if (spawnError == 0) {
        char buffer[4096];
        size_t got = 0;
        while (!pipe.read(buffer, sizeof buffer, got) && got > 0)
            output.append(buffer, got);
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    (void)pipe.close();
    return spawnError == 0 ? std::error_code{} : systemError(spawnError);
}

std::string runConsoleCommand(const std::string& commandLine, const std::string& workingFolder)
{
    std::string output;
    if (runConsoleCommand(commandLine, workingFolder, output))
        return {};
    return output;
}

}  // namespace korvala
