#include "platform/Terminal.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/SystemError.h"
#include "platform/posix/Spawn.h"

extern char** environ;

namespace korvala {
namespace {

struct TerminalProgram {
    const char* name;
    // The option after which the terminal takes a command and its arguments.
    const char* runOption;
};

// x-terminal-emulator is the system's chosen terminal on Debian; the others in
// case it is missing.
constexpr TerminalProgram kTerminals[] = {
    {"x-terminal-emulator", "-e"}, {"gnome-terminal", "--"}, {"konsole", "-e"}, {"xfce4-terminal", "-x"},
    {"mate-terminal", "-x"}, {"lxterminal", "-e"}, {"xterm", "-e"},
};

// The program's full path when it is an executable in PATH, else empty.
std::string inPath(std::string_view name)
{
    const char* path = std::getenv("PATH");
    std::string_view rest = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!rest.empty()) {
        const size_t colon = rest.find(':');
        std::string_view dir = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        if (dir.empty())
            continue;
        std::string candidate = std::string(dir) + "/" + std::string(name);
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

}  // namespace

std::error_code startInTerminal(const std::vector<std::string>& argv)
{
    if (argv.empty())
        return systemError(EINVAL);
    for (const TerminalProgram& terminal : kTerminals) {
        const std::string program = inPath(terminal.name);
        if (program.empty())
            continue;
        std::vector<std::string> words = {program, terminal.runOption};
        words.insert(words.end(), argv.begin(), argv.end());
        std::vector<char*> args;
        for (std::string& w : words)
            args.push_back(w.data());
        args.push_back(nullptr);

        posix::SpawnActions actions;
        posix::SpawnAttributes attributes;
        if (!actions.ok() || !attributes.ok())
            return systemError(ENOMEM);
        // Only the three standard descriptors reach the terminal.
        if (::posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1) != 0)
            return systemError(ENOMEM);
        pid_t pid = -1;
        const int error = ::posix_spawn(&pid, program.c_str(), actions.get(), attributes.get(), args.data(), environ);
        if (error != 0)
            continue;
        // Not awaited: the user closes the terminal when done with it.
        std::thread([pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
        return {};
    }
    return systemError(ENOENT);
}

}  // namespace korvala
