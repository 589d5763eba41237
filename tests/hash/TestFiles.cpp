#include "TestFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <csignal>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace korvala::test {

TempDir::TempDir()
{
    char pattern[] = "/tmp/korvala-hash-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const
{
    const std::string full = m_path + "/" + name;
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + full);
    return full;
}

std::string randomBytes(std::size_t size, std::uint32_t seed)
{
    std::mt19937_64 engine(seed);
    std::string bytes(size, '\0');
    std::size_t i = 0;
    while (i + 8 <= size) {
        const std::uint64_t v = engine();
        std::memcpy(&bytes[i], &v, 8);
        i += 8;
    }
    while (i < size)
        bytes[i++] = static_cast<char>(engine());
    return bytes;
}

ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input)
{
    int inPipe[2], outPipe[2], errPipe[2];
    if (::pipe2(inPipe, O_CLOEXEC) != 0 || ::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(inPipe[0]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (rc != 0) {
        ::close(inPipe[1]);
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
    }

    // A child that exits without reading its input must not kill the test.
    std::signal(SIGPIPE, SIG_IGN);
    ProcessResult result;
    std::size_t written = 0;
    if (input.empty()) {
        ::close(inPipe[1]);
        inPipe[1] = -1;
    }
    bool outOpen = true, errOpen = true;
    char buffer[65536];
    while (outOpen || errOpen || inPipe[1] >= 0) {
        pollfd fds[3];
        int count = 0;
        int outIndex = -1, errIndex = -1, inIndex = -1;
        if (outOpen) {
            fds[count] = {outPipe[0], POLLIN, 0};
            outIndex = count++;
        }
        if (errOpen) {
            fds[count] = {errPipe[0], POLLIN, 0};
            errIndex = count++;
        }
        if (inPipe[1] >= 0) {
            fds[count] = {inPipe[1], POLLOUT, 0};
            inIndex = count++;
        }
        if (::poll(fds, static_cast<nfds_t>(count), -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        auto drain = [&](int index, int fd, std::string& sink, bool& open) {
            if (index < 0 || fds[index].revents == 0)
                return;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0)
                sink.append(buffer, static_cast<std::size_t>(n));
            else
                open = false;
        };
        drain(outIndex, outPipe[0], result.out, outOpen);
        drain(errIndex, errPipe[0], result.err, errOpen);
        if (inIndex >= 0 && fds[inIndex].revents != 0) {
            const ssize_t n = ::write(inPipe[1], input.data() + written, input.size() - written);
            if (n > 0)
                written += static_cast<std::size_t>(n);
            if (n <= 0 || written == input.size()) {
                ::close(inPipe[1]);
                inPipe[1] = -1;
            }
        }
    }
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

bool haveProgram(const std::string& program)
{
    const char* path = std::getenv("PATH");
    if (path == nullptr)
        return false;
    std::string dirs = path;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

std::string toUpper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace korvala::test
