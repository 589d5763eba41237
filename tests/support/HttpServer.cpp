#include "HttpServer.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvala::test {
namespace {

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string loopbackAddress(int port)
{
    return "http://127.0.0.1:" + std::to_string(port);
}

}  // namespace

// http.server's own handler behind a TLS socket, announcing its port the
// way "python3 -m http.server" does.
const char kHttpsServer[] = R"(import http.server, ssl, sys
folder, certificate, key = sys.argv[1:4]
handler = lambda *a, **k: http.server.SimpleHTTPRequestHandler(*a, directory=folder, **k)
server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(certificate, key)
server.socket = context.wrap_socket(server.socket, server_side=True)
print('Serving HTTPS on 127.0.0.1 port %d' % server.server_address[1])
server.serve_forever()
)";

THttpServer::THttpServer(std::string folder, std::string log, std::string certificate, std::string key)
    : m_folder(std::move(folder)), m_log(std::move(log)), m_certificate(std::move(certificate)), m_key(std::move(key))
{
}

THttpServer::~THttpServer()
{
    stop();
}

bool THttpServer::start(std::string& error)
{
    // Port 0: the system picks a free one, and the server names it in its
    // first line (unbuffered, so that it is there at once).
    const char* const plain[] = {"python3", "-u", "-m", "http.server", "--bind", "127.0.0.1", "--directory",
        m_folder.c_str(), "0", nullptr};
    const char* const tls[] = {"python3", "-u", "-c", kHttpsServer, m_folder.c_str(), m_certificate.c_str(),
        m_key.c_str(), nullptr};
    const char* const* argv = m_certificate.empty() ? plain : tls;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, m_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        error = std::string("cannot start python3: ") + std::strerror(failed);
        return false;
    }
    m_pid = pid;
    const std::regex serving("port ([0-9]+)");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            error = "python3 -m http.server ended at start (status " + std::to_string(status) + "); its output:\n" +
                fileText(m_log);
            return false;
        }
        std::smatch match;
        const std::string text = fileText(m_log);
        if (std::regex_search(text, match, serving)) {
            m_port = std::stoi(match[1]);
            return true;
        }
        usleep(20 * 1000);
    }
    error = "python3 -m http.server did not start within 20 s; its output:\n" + fileText(m_log);
    stop();
    return false;
}

std::unique_ptr<THttpServer> THttpServer::started(std::string folder, std::string log, std::string& error)
{
    auto server = std::make_unique<THttpServer>(std::move(folder), std::move(log));
    error.clear();
    if (!server->start(error))
        server.reset();
    return server;
}

void THttpServer::stop()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
}

std::string THttpServer::baseAddress() const
{
    return (m_certificate.empty() ? "http" : "https") + loopbackAddress(m_port).substr(4);
}

int THttpServer::requests() const
{
    const std::string text = fileText(m_log);
    int count = 0;
    for (size_t at = text.find("\"GET "); at != std::string::npos; at = text.find("\"GET ", at + 1))
        ++count;
    return count;
}

TCannedHttpServer::TCannedHttpServer(std::string response, bool answer)
    : m_response(std::move(response)), m_answer(answer)
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || listen(listener, 16) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0
        || pipe2(m_stopPipe, O_CLOEXEC) != 0) {
        if (listener >= 0)
            close(listener);
        return;
    }
    m_listener = listener;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

TCannedHttpServer::~TCannedHttpServer()
{
    if (m_thread.joinable()) {
        const char stop = 1;
        (void)!write(m_stopPipe[1], &stop, 1);
        m_thread.join();
    }
    for (int fd : {m_listener, m_stopPipe[0], m_stopPipe[1]})
        if (fd >= 0)
            close(fd);
}

std::string TCannedHttpServer::baseAddress() const
{
    return loopbackAddress(m_port);
}

void TCannedHttpServer::serve()
{
    std::vector<int> held;
    for (;;) {
        pollfd fds[2] = {{m_listener, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        if (fds[1].revents != 0)
            break;
        if ((fds[0].revents & POLLIN) == 0)
            continue;
        const int connection = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        ++m_connections;
        if (!m_answer) {
            held.push_back(connection);
            continue;
        }
        // The request ends with its empty line; a GET has no body.
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t got = read(connection, buffer, sizeof buffer);
            if (got <= 0)
                break;
            request.append(buffer, static_cast<size_t>(got));
        }
        size_t sent = 0;
        while (sent < m_response.size()) {
            const ssize_t put = send(connection, m_response.data() + sent, m_response.size() - sent, MSG_NOSIGNAL);
            if (put <= 0)
                break;
            sent += static_cast<size_t>(put);
        }
        close(connection);
    }
    for (int connection : held)
        close(connection);
}

}  // namespace korvala::test
