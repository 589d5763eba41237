#include "HostileSupport.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVALA_TEST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KORVALA_TEST_ASAN 1
#endif

namespace korvala::test {

bool sanitizedBuild()
{
#ifdef KORVALA_TEST_ASAN
    return true;
#else
    return false;
#endif
}

void checkPeakMemory(const std::string& what, const ProcessResult& result, long limitMb)
{
    const long mb = result.maxRssKb / 1024;
    ::testing::Test::RecordProperty(what + "_peak_kb", std::to_string(result.maxRssKb));
    std::cout << "[ memory ] " << what << ": peak " << mb << " MB" << (sanitizedBuild() ? " (sanitized build)" : "")
              << std::endl;
    if (!sanitizedBuild()) {
        EXPECT_LT(mb, limitMb) << what << " used " << mb << " MB at its peak";
    }
}

TFifoWatch::TFifoWatch(const std::string& path) : m_path(path)
{
    std::atomic<pid_t> tid{0};
    m_writer = std::thread([this, &tid] {
        tid.store(static_cast<pid_t>(::syscall(SYS_gettid)));
        const int fd = ::open(m_path.c_str(), O_WRONLY | O_CLOEXEC);
        if (!m_releasing.load())
            m_opened.store(true);
        if (fd >= 0)
            ::close(fd);
    });
    // Until the writer waits in open(), an open by someone else would pass
    // unseen: wait until the kernel shows it waiting for a reader.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
        if (tid.load() != 0) {
            std::ifstream wchan(std::string("/proc/self/task/").append(std::to_string(tid.load())).append("/wchan"));
            std::string where;
            std::getline(wchan, where);
            if (where.find("wait_for_partner") != std::string::npos || where.find("fifo") != std::string::npos)
                return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ADD_FAILURE() << "the writer of " << m_path << " never waited in open()";
}

TFifoWatch::~TFifoWatch()
{
    (void)openedByOthers();
}

bool TFifoWatch::openedByOthers()
{
    if (!m_done) {
        m_done = true;
        m_releasing.store(true);
        const int fd = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        m_writer.join();
        if (fd >= 0)
            ::close(fd);
    }
    return m_opened.load();
}

size_t countLines(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ADD_FAILURE() << "cannot open " << path << ": " << std::strerror(errno);
        return 0;
    }
    size_t lines = 0;
    char buffer[1 << 16];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            lines += buffer[i] == '\n';
    ::close(fd);
    return lines;
}

void bindSocket(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path) << path;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0)
        << "cannot bind " << path << ": " << std::strerror(errno);
    ::listen(fd, 1);
}

}  // namespace korvala::test
