#pragma once
// A private Samba file server on 127.0.0.1 for interoperability tests: its own
// configuration, state folders and port under a temporary folder, one share
// over a given data folder, guest access, DOS attributes kept in user.DOSATTRIB.

#include <sys/types.h>

#include <memory>
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

    // Before start: let users share folders through `net usershare`, the share
    // files in `folder`, at most `maxShares` of them (0 leaves users' shares
    // disabled). The folder is made the way Samba requires it (owned by root,
    // sticky, not writable by others) with group 65534, so that the ordinary
    // user of the tests is in the group that may share, as "sambashare" is.
    void enableUsershares(const std::string& folder, int maxShares);
    // Before start: write the configuration only; start() then does not run
    // smbd (a machine where the file server is stopped).
    void configureOnly() { m_configureOnly = true; }

    // Starts smbd and waits until it accepts connections. On failure returns
    // false with the reason (and smbd's own output) in error.
    bool start(std::string& error);
    void stop();

    int port() const { return m_port; }
    // The absolute path of the configuration (after start).
    const std::string& config() const { return m_config; }
    // Adds a Samba user (an existing system user) with this password.
    bool addUser(const std::string& user, const std::string& password, std::string& error) const;
    // smbclient against //127.0.0.1/share as user%password (guest when user is
    // empty), with the commands of -c.
    bool clientAs(const std::string& share, const std::string& user, const std::string& password,
        const std::string& commands, std::string& output, std::string& error) const;
    // `smbclient -L` as user%password: the shares the server offers.
    bool listShares(const std::string& user, const std::string& password, std::string& output, std::string& error) const;
    // Runs smbclient against the share with the given command string (-c),
    // times printed in UTC; returns its standard output, or sets error.
    bool client(const std::string& commands, std::string& output, std::string& error) const;

private:
    std::string m_root;
    std::string m_data;
    std::string m_config;
    std::string m_log;
    std::string m_usersharePath;
    int m_usershareMax = 0;
    bool m_configureOnly = false;
    int m_port = 0;
    pid_t m_pid = -1;
};

// A started server whose users may share folders (20 at most), its folders
// made under `root` (which an ordinary user may enter), with root as a Samba
// user of `password`; null, with the reason in `error`, when it could not start.
std::unique_ptr<TSmbServer> startUsershareServer(const std::string& root, const std::string& password,
    std::string& error);

}  // namespace korvala::test
