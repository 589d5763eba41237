#include "platform/ConsoleCommand.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/File.h"
#include "platform/SystemError.h"
#include "platform/posix/Spawn.h"

extern char** environ;

namespace korvala {

using posix::SpawnActions;
using posix::SpawnAttributes;

std::error_code runProgram(const std::vector<std::string>& argv, const std::string& workingFolder, std::string& output,
    int& exitStatus)
{
    output.clear();
    exitStatus = -1;
    if (argv.empty())
        return systemError(EINVAL);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return systemError(errno);
    const int readEnd = fds[0];
    const int writeEnd = fds[1];

    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

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
        if (spawnError == 0)
            spawnError = ::posix_spawnp(&pid, args[0], actions.get(), attributes.get(), args.data(), environ);
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
        exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    }
    (void)pipe.close();
    return spawnError == 0 ? std::error_code{} : systemError(spawnError);
}

std::error_code runProgramAttached(const std::vector<std::string>& argv, int& exitStatus)
{
    exitStatus = -1;
    if (argv.empty())
        return systemError(EINVAL);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    SpawnActions actions;
    SpawnAttributes attributes;
    if (!actions.ok() || !attributes.ok() ||
        ::posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1) != 0)
        return systemError(ENOMEM);
    pid_t pid = -1;
    if (const int error = ::posix_spawnp(&pid, args[0], actions.get(), attributes.get(), args.data(), environ))
        return systemError(error);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    return {};
}

std::error_code runConsoleCommand(const std::string& commandLine, const std::string& workingFolder, std::string& output)
{
    int status = 0;
    return runProgram({"/bin/sh", "-c", commandLine}, workingFolder, output, status);
}

std::string runConsoleCommand(const std::string& commandLine, const std::string& workingFolder)
{
    std::string output;
    if (runConsoleCommand(commandLine, workingFolder, output))
        return {};
    return output;
}

}  // namespace korvala
