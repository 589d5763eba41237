#pragma once
// Web servers on 127.0.0.1 for the update check's tests, each on a port the
// system picks:
// - THttpServer: python3's http.server as a real process, serving the files
//   of a folder (a missing file answers 404), logging every request, over
//   HTTP or HTTPS;
// - TCannedHttpServer: answers every connection with the same bytes, as
//   given (a truncated body, a huge one, a status of choice), or never
//   answers at all.

#include <sys/types.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace korvala::test {

class THttpServer {
public:
    // Serves `folder`; `log` is where the server writes its output. With a
    // certificate and its key (PEM files) it speaks HTTPS.
    THttpServer(std::string folder, std::string log, std::string certificate = {}, std::string key = {});
    ~THttpServer();
    THttpServer(const THttpServer&) = delete;
    THttpServer& operator=(const THttpServer&) = delete;

    // Starts the server and waits until it listens. On failure returns false
    // with the reason (and the server's output) in error.
    bool start(std::string& error);
    // A started server over folder; nullptr (and the reason in error) when
    // it did not start.
    static std::unique_ptr<THttpServer> started(std::string folder, std::string log, std::string& error);
    void stop();

    int port() const { return m_port; }
    // "http://127.0.0.1:PORT" ("https://..." with TLS), without a trailing "/".
    std::string baseAddress() const;
    // How many GET requests the server has logged so far.
    int requests() const;

private:
    std::string m_folder;
    std::string m_log;
    std::string m_certificate;
    std::string m_key;
    pid_t m_pid = -1;
    int m_port = 0;
};

class TCannedHttpServer {
public:
    // Each connection gets `response` once its request has arrived, and is
    // then closed. With answer false, connections are taken and held open
    // without a byte sent back.
    explicit TCannedHttpServer(std::string response, bool answer = true);
    ~TCannedHttpServer();
    TCannedHttpServer(const TCannedHttpServer&) = delete;
    TCannedHttpServer& operator=(const TCannedHttpServer&) = delete;

    // False when no socket could be made.
    bool listening() const { return m_listener >= 0; }
    std::string baseAddress() const;
    int connections() const { return m_connections.load(); }

private:
    void serve();

    std::string m_response;
    bool m_answer;
    int m_listener = -1;
    int m_stopPipe[2] = {-1, -1};
    int m_port = 0;
    std::atomic<int> m_connections {0};
    std::thread m_thread;
};

}  // namespace korvala::test
