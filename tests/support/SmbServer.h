#pragma once
// A private Samba file server on 127.0.0.1 for interoperability tests: its own
// configuration, state folders and port under a temporary folder, one share
// over a given data folder, guest access, DOS attributes kept in user.DOSATTRIB.

#include <sys/types.h>

#include <string>

namespace korvala::test {

class TSmbServer {
public:
    // root: an empty temporary folder for the configuration and the state;
    // dataDir: the folder shared as "share".
    TSmbServer(std::string root, std::string dataDir);
    ~TSmbServer();
    TSmbServer(const TSmbServer&) = delete;
    TSmbServer& operator=(const TSmbServer&) = delete;

    // Starts smbd and waits until it accepts connections. On failure returns
    // false with the reason (and smbd's own output) in error.
    bool start(std::string& error);
    void stop();

    int port() const { return m_port; }
    // Runs smbclient against the share with the given command string (-c),
    // times printed in UTC; returns its standard output, or sets error.
    bool client(const std::string& commands, std::string& output, std::string& error) const;

private:
    std::string m_root;
    std::string m_data;
    std::string m_config;
    std::string m_log;
    int m_port = 0;
    pid_t m_pid = -1;
};

}  // namespace korvala::test
