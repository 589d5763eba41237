#include "SmbServer.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Process.h"

namespace korvala::test {
namespace {

// Runs op (bind or connect) on a new TCP socket with 127.0.0.1:port.
template <typename Op>
bool onLoopbackPort(int port, Op op)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool done = op(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(fd);
    return done;
}

// True when nothing listens on 127.0.0.1:port and we could bind it.
bool portIsFree(int port)
{
    return onLoopbackPort(port, [](int fd, const sockaddr* a, socklen_t n) { return bind(fd, a, n); });
}

bool accepts(int port)
{
    return onLoopbackPort(port, [](int fd, const sockaddr* a, socklen_t n) { return connect(fd, a, n); });
}

std::string findProgram(const std::string& name)
{
    for (const char* dir : {"/usr/sbin", "/usr/bin", "/sbin", "/bin", "/usr/local/sbin"}) {
        const std::string path = std::string(dir) + "/" + name;
        if (access(path.c_str(), X_OK) == 0)
            return path;
    }
    return name;
}

std::string currentUser()
{
    const passwd* pw = getpwuid(geteuid());
    return pw ? pw->pw_name : "nobody";
}

// smbd's own output, for the reason it gave (empty when it wrote none).
std::string logText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TSmbServer::TSmbServer(std::string root, std::string dataDir)
    : m_root(std::move(root)), m_data(std::move(dataDir))
{
}

TSmbServer::~TSmbServer()
{
    stop();
}

void TSmbServer::enableUsershares(const std::string& folder, int maxShares)
{
    m_usersharePath = folder;
    m_usershareMax = maxShares;
}

bool TSmbServer::start(std::string& error)
{
    const int base = 44500 + static_cast<int>(getpid() % 1000);
    for (int i = 0; i < 200 && m_port == 0; ++i) {
        const int candidate = 44500 + (base - 44500 + i * 7) % 1000;
        if (portIsFree(candidate))
            m_port = candidate;
    }
    if (m_port == 0) {
        error = "no free port between 44500 and 45499 on 127.0.0.1";
        return false;
    }

    for (const char* dir : {"lock", "state", "cache", "pid", "private", "ncalrpc", "log"})
        std::filesystem::create_directories(m_root + "/" + dir);
    m_config = m_root + "/smb.conf";
    m_log = m_root + "/smbd.out";
    {
        std::ofstream conf(m_config);
        conf << "[global]\n"
             << "server role = standalone server\n"
             << "smb ports = " << m_port << "\n"
             << "interfaces = 127.0.0.1\n"
             << "bind interfaces only = yes\n"
             << "disable netbios = yes\n"
             << "lock directory = " << m_root << "/lock\n"
             << "state directory = " << m_root << "/state\n"
             << "cache directory = " << m_root << "/cache\n"
             << "pid directory = " << m_root << "/pid\n"
             << "private dir = " << m_root << "/private\n"
             << "ncalrpc dir = " << m_root << "/ncalrpc\n"
             << "log file = " << m_root << "/log/log.%m\n"
             << "map to guest = Bad User\n"
             << "guest account = " << currentUser() << "\n"
             << "load printers = no\n"
             << "printing = bsd\n"
             << "printcap name = /dev/null\n"
             << "disable spoolss = yes\n"
             // The DOS bits live in user.DOSATTRIB only, none mapped to
             // permission bits: what Samba reports is what the store holds.
             << "store dos attributes = yes\n"
             << "map archive = no\n"
             << "map hidden = no\n"
             << "map system = no\n"
             << "map readonly = no\n";
        if (!m_usersharePath.empty())
            conf << "usershare path = " << m_usersharePath << "\n"
                 << "usershare max shares = " << m_usershareMax << "\n";
        conf
             << "[share]\n"
             << "path = " << m_data << "\n"
             << "read only = no\n"
             << "guest ok = yes\n"
             << "hide dot files = no\n";
    }

    if (!m_usersharePath.empty()) {
        std::filesystem::create_directories(m_usersharePath);
        if (::chown(m_usersharePath.c_str(), 0, 65534) != 0 || ::chmod(m_usersharePath.c_str(), 01770) != 0) {
            error = "cannot prepare the usershare folder " + m_usersharePath + ": " + std::strerror(errno);
            return false;
        }
    }
    if (m_configureOnly)
        return true;

    const std::string smbd = findProgram("smbd");
    const pid_t pid = fork();
    if (pid < 0) {
        error = std::string("fork: ") + std::strerror(errno);
        return false;
    }
    if (pid == 0) {
        // A process group of its own, so that stop() reaches smbd's children.
        setpgid(0, 0);
        const int out = open(m_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        const int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0)
            dup2(devNull, 0);
        execl(smbd.c_str(), smbd.c_str(), "-s", m_config.c_str(), "--foreground",
            "--no-process-group", "--debug-stdout", "--debuglevel=1", static_cast<char*>(nullptr));
        _exit(127);
    }
    setpgid(pid, pid);
    m_pid = pid;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            error = "smbd (" + smbd + ") ended at start (status " + std::to_string(status) +
                "); its output:\n" + logText(m_log);
            return false;
        }
        if (accepts(m_port))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    error = "smbd did not accept connections on 127.0.0.1:" + std::to_string(m_port) +
        " within 20 s; its output:\n" + logText(m_log);
    stop();
    return false;
}

void TSmbServer::stop()
{
    if (m_pid <= 0)
        return;
    kill(-m_pid, SIGTERM);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(-m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_pid = -1;
}

bool TSmbServer::client(const std::string& commands, std::string& output, std::string& error) const
{
    return clientAs("share", {}, {}, commands, output, error);
}

namespace {

std::vector<std::string> credentials(const std::string& user, const std::string& password)
{
    if (user.empty())
        return {"-N"};
    return {"-U", user + "%" + password};
}

bool smbclient(std::vector<std::string> argv, std::string& output, std::string& error)
{
    argv.insert(argv.begin(), findProgram("smbclient"));
    const ProcessResult r = runProcess(argv, {.env = {"TZ=UTC"}});
    output = r.out;
    if (r.exitCode != 0) {
        error = "smbclient exited with " + std::to_string(r.exitCode) + ":\n" + r.out + r.err;
        return false;
    }
    return true;
}

}  // namespace

bool TSmbServer::clientAs(const std::string& share, const std::string& user, const std::string& password,
    const std::string& commands, std::string& output, std::string& error) const
{
    std::vector<std::string> argv = {"//127.0.0.1/" + share, "-p", std::to_string(m_port), "-s", m_config, "-c", commands};
    const std::vector<std::string> who = credentials(user, password);
    argv.insert(argv.end(), who.begin(), who.end());
    return smbclient(argv, output, error);
}

bool TSmbServer::listShares(const std::string& user, const std::string& password, std::string& output,
    std::string& error) const
{
    std::vector<std::string> argv = {"-L", "127.0.0.1", "-p", std::to_string(m_port), "-s", m_config};
    const std::vector<std::string> who = credentials(user, password);
    argv.insert(argv.end(), who.begin(), who.end());
    return smbclient(argv, output, error);
}

bool TSmbServer::addUser(const std::string& user, const std::string& password, std::string& error) const
{
    const ProcessResult r = runProcess({findProgram("smbpasswd"), "-c", m_config, "-a", "-s", user},
        {.input = password + "\n" + password + "\n"});
    if (r.exitCode != 0) {
        error = "smbpasswd exited with " + std::to_string(r.exitCode) + ":\n" + r.out + r.err;
        return false;
    }
    return true;
}

std::unique_ptr<TSmbServer> startUsershareServer(const std::string& root, const std::string& password,
    std::string& error)
{
    for (const char* dir : {"server", "data"})
        std::filesystem::create_directories(root + "/" + dir);
    ::chmod(root.c_str(), 0755);
    ::chmod((root + "/data").c_str(), 0755);
    auto server = std::make_unique<TSmbServer>(root + "/server", root + "/data");
    server->enableUsershares(root + "/usershares", 20);
    error.clear();
    if (!server->start(error) || !server->addUser("root", password, error))
        return nullptr;
    return server;
}

}  // namespace korvala::test
