#include "tools/sharing/SambaCommands.h"

#include <cstdlib>

#include "platform/ConsoleCommand.h"

namespace korvala::samba {

std::string configPath()
{
    const char* path = std::getenv("KORVALA_SMB_CONF");
    return path ? path : "";
}

TCommandResult run(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv = {program};
    if (const std::string conf = configPath(); !conf.empty()) {
        argv.push_back("-s");
        argv.push_back(conf);
    }
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    TCommandResult result;
    result.started = !runProgram(argv, {}, result.output, result.exitStatus);
    return result;
}

bool serverRunning()
{
    const TCommandResult ping = run("smbcontrol", {"smbd", "ping"});
    return ping.started && ping.exitStatus == 0;
}

}  // namespace korvala::samba
