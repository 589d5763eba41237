#include "Process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <limits.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace korvala::test {
namespace {

constexpr unsigned kNobody = 65534;

// The full path of a program named without a '/', as execvp would find it.
std::string resolveProgram(const std::string& program)
{
    if (program.find('/') != std::string::npos)
        return program;
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string candidate = (end > start ? dirs.substr(start, end - start) : ".") + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return program;
}

// The test's environment with the extra entries put in.
std::vector<std::string> environmentWith(const std::vector<std::string>& extra)
{
    std::vector<std::string> entries;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string& x : extra)
            replaced = replaced || x.substr(0, x.find('=')) == name;
        if (!replaced)
            entries.push_back(entry);
    }
    entries.insert(entries.end(), extra.begin(), extra.end());
    return entries;
}

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> list;
    for (std::string& s : strings)
        list.push_back(s.data());
    list.push_back(nullptr);
    return list;
}

// Whether the process has `file` open, from its descriptor table.
bool hasOpen(pid_t pid, const std::string& file)
{
    const std::string folder = "/proc/" + std::to_string(pid) + "/fd";
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        char target[PATH_MAX];
        const ssize_t n = ::readlinkat(::dirfd(dir), entry->d_name, target, sizeof target);
        if (n > 0 && std::string(target, static_cast<size_t>(n)) == file) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

// Tells the parent why the child could not become the program, and ends it.
[[noreturn]] void failStart(int execReport)
{
    const int error = errno;
    (void)!::write(execReport, &error, sizeof error);
    ::_exit(127);
}

// Whether a SIGINT sent to the process still waits to be taken.
bool interruptPending(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    const unsigned long long bit = 1ull << (SIGINT - 1);
    std::string line;
    while (std::getline(status, line)) {
        if ((line.rfind("ShdPnd:", 0) == 0 || line.rfind("SigPnd:", 0) == 0)
            && (std::strtoull(line.c_str() + 7, nullptr, 16) & bit) != 0)
            return true;
    }
    return false;
}

// Runs in the forked child: only calls that are safe after fork in a process
// with threads.
[[noreturn]] void startChild(int in, int out, int err, int execReport, const char* outputFile, bool unprivileged,
    const char* program, char** argv, char** envp)
{
    ::dup2(in, 0);
    if (outputFile != nullptr) {
        const int fd = ::open(outputFile, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            failStart(execReport);
        ::dup2(fd, 1);
    } else {
        ::dup2(out, 1);
    }
    ::dup2(err, 2);
    // The test may ignore SIGPIPE or block signals; the program starts as
    // from a shell.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &byDefault, nullptr);
    ::sigaction(SIGINT, &byDefault, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    if (unprivileged) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0
            || ::setresuid(kNobody, kNobody, kNobody) != 0)
            failStart(execReport);
    }
    ::execve(program, argv, envp);
    failStart(execReport);
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, const RunOptions& options)
{
    std::string program = resolveProgram(argv.at(0));
    std::vector<std::string> args = argv;
    std::vector<std::string> env = environmentWith(options.env);
    std::vector<char*> argp = pointers(args);
    std::vector<char*> envp = pointers(env);
    std::string openTarget;
    if (!options.interruptWhenOpen.empty()) {
        char resolved[PATH_MAX];
        openTarget = ::realpath(options.interruptWhenOpen.c_str(), resolved) ? resolved : options.interruptWhenOpen;
    }

    int inPipe[2], outPipe[2], errPipe[2], execPipe[2];
    if (::pipe2(inPipe, O_CLOEXEC) != 0 || ::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0
        || ::pipe2(execPipe, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid == 0)
        startChild(inPipe[0], outPipe[1], errPipe[1], execPipe[1],
            options.outputFile.empty() ? nullptr : options.outputFile.c_str(), options.unprivileged,
            program.c_str(), argp.data(), envp.data());
    ::close(inPipe[0]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    ::close(execPipe[1]);
    // The report pipe closes at the exec: until then the child is a copy of
    // the test, with the test's open files and signal handling, and must not
    // be taken for the program.
    int execError = 0;
    ssize_t got;
    while ((got = ::read(execPipe[0], &execError, sizeof execError)) < 0 && errno == EINTR) {
    }
    ::close(execPipe[0]);
    if (got > 0) {
        ::close(inPipe[1]);
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(execError));
    }

    // A program that exits without reading its input must not end the test.
    std::signal(SIGPIPE, SIG_IGN);
    ProcessResult result;
    int inFd = inPipe[1];
    size_t written = 0;
    if (options.input.empty()) {
        ::close(inFd);
        inFd = -1;
    } else {
        // A blocking write of more than the pipe holds would wait for a
        // program that itself waits for its output to be read.
        ::fcntl(inFd, F_SETFL, ::fcntl(inFd, F_GETFL) | O_NONBLOCK);
    }
    const bool interrupting = !options.interruptAfter.empty() || !openTarget.empty();
    bool triggered = false;
    int interruptsSent = 0;
    bool outOpen = true, errOpen = true;
    char buffer[65536];
    while (outOpen || errOpen) {
        // Checked before the next read: the program is then at most a pipe's
        // capacity past the text it printed.
        if (interrupting && !triggered) {
            triggered = (!options.interruptAfter.empty()
                            && (result.out.find(options.interruptAfter) != std::string::npos
                                || result.err.find(options.interruptAfter) != std::string::npos))
                || (!openTarget.empty() && hasOpen(pid, openTarget));
        }
        if (triggered && interruptsSent < options.interrupts
            && (interruptsSent == 0 || !interruptPending(pid))) {
            ::kill(pid, SIGINT);
            if (++interruptsSent == options.interrupts && options.afterInterrupt)
                options.afterInterrupt();
        }
        // Watching for an open file or a signal being taken needs a look now
        // and then; everything else waits for output.
        const bool polling = interrupting
            && ((!triggered && !openTarget.empty()) || (triggered && interruptsSent < options.interrupts));

        pollfd fds[3];
        nfds_t count = 0;
        int outIndex = -1, errIndex = -1, inIndex = -1;
        if (outOpen) {
            fds[count] = {outPipe[0], POLLIN, 0};
            outIndex = static_cast<int>(count++);
        }
        if (errOpen) {
            fds[count] = {errPipe[0], POLLIN, 0};
            errIndex = static_cast<int>(count++);
        }
        if (inFd >= 0) {
            fds[count] = {inFd, POLLOUT, 0};
            inIndex = static_cast<int>(count++);
        }
        const int ready = ::poll(fds, count, polling ? 1 : -1);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        auto drain = [&](int index, int fd, std::string& sink, bool& open) {
            if (index < 0 || fds[index].revents == 0)
                return;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0)
                sink.append(buffer, static_cast<size_t>(n));
            else if (n == 0 || errno != EINTR)
                open = false;
        };
        drain(outIndex, outPipe[0], result.out, outOpen);
        drain(errIndex, errPipe[0], result.err, errOpen);
        if (inIndex >= 0 && fds[inIndex].revents != 0) {
            const ssize_t n = ::write(inFd, options.input.data() + written, options.input.size() - written);
            if (n > 0)
                written += static_cast<size_t>(n);
            if ((n < 0 && errno != EINTR && errno != EAGAIN) || written == options.input.size()) {
                ::close(inFd);
                inFd = -1;
            }
        }
    }
    if (inFd >= 0)
        ::close(inFd);
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    int status = 0;
    struct rusage usage {};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.maxRssKb = usage.ru_maxrss;
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}

const std::string& cliPath()
{
    static const std::string path = KORVALA_CLI_PATH;
    return path;
}

ProcessResult runCli(const std::vector<std::string>& args, const RunOptions& options)
{
    std::vector<std::string> argv{cliPath()};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProcess(argv, options);
}

std::string runAsNobody(const std::function<std::string()>& body)
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) {
        ::close(pipe[0]);
        std::string answer;
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0
            || ::setresuid(kNobody, kNobody, kNobody) != 0) {
            answer = std::string("cannot become user 65534: ") + std::strerror(errno);
        } else {
            try {
                answer = body();
            } catch (const std::exception& e) {
                answer = std::string("exception: ") + e.what();
            }
        }
        size_t done = 0;
        while (done < answer.size()) {
            const ssize_t n = ::write(pipe[1], answer.data() + done, answer.size() - done);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string answer;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipe[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            answer.append(buffer, static_cast<size_t>(n));
    ::close(pipe[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child ended abnormally (status " + std::to_string(status) + ")";
    return answer;
}

bool haveProgram(const std::string& program)
{
    const std::string found = resolveProgram(program);
    return found.find('/') != std::string::npos && ::access(found.c_str(), X_OK) == 0;
}

std::string describe(const ProcessResult& result)
{
    std::string text = result.signal != 0 ? "signal " + std::to_string(result.signal)
                                           : "exit " + std::to_string(result.exitCode);
    return text + " (stderr: " + result.err + ")";
}

}  // namespace korvala::test
