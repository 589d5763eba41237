#include "TestSupport.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvala::test {

TempDir::TempDir()
{
    char pattern[] = "/tmp/korvala-tools-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Give write permission back first so that nothing stays behind for a
    // user without root's rights.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
            std::filesystem::perm_options::add | std::filesystem::perm_options::nofollow, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::file(const std::string& name, const std::string& content) const
{
    const std::string path = m_path + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string TempDir::folder(const std::string& name) const
{
    const std::string path = m_path + "/" + name;
    std::filesystem::create_directories(path);
    return path;
}

namespace {

std::string readAll(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
    return text;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv)
{
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (const std::string& entry : extraEnv)
            putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    ProcessResult result;
    // Both pipes are drained at once so that a chatty child cannot block on one.
    std::thread errReader([&] { result.err = readAll(errPipe[0]); });
    result.out = readAll(outPipe[0]);
    errReader.join();
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

timespec makeTimespec(time_t seconds, long nanoseconds)
{
    timespec t{};
    t.tv_sec = seconds;
    t.tv_nsec = nanoseconds;
    return t;
}

time_t utcSeconds(int year, int month, int day, int hour, int minute, int second)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return timegm(&tm);
}

bool sameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::string describe(const timespec& t)
{
    std::tm tm{};
    const time_t s = t.tv_sec;
    gmtime_r(&s, &tm);
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%09ld UTC", tm.tm_year + 1900,
        tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<long>(t.tv_nsec));
    return text;
}

}  // namespace korvala::test
