#pragma once
// The Samba programs the Sharing tool runs (net, testparm, smbcontrol), each
// with an argument vector and never through a shell, against the configuration
// KORVALA_SMB_CONF names when it is set (a private server in the tests), else
// Samba's own default.

#include <string>
#include <vector>

namespace korvala::samba {

struct TCommandResult {
    bool started = false;   // false: the program could not be run (not installed)
    int exitStatus = -1;
    std::string output;     // standard output and error as printed
};

// The configuration file in use; empty for Samba's default.
std::string configPath();

// Runs `program` ("net", "testparm", "smbcontrol") with the configuration
// option first and then `arguments`, as given.
TCommandResult run(const std::string& program, const std::vector<std::string>& arguments);

// Whether smbd answers on this machine (for this configuration).
bool serverRunning();

}  // namespace korvala::samba
