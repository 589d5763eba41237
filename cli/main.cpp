// korvala-cli: every engine operation of the program, without a window.

#include "Command.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <vector>

namespace korvala::cli {
namespace {

std::vector<CommandSetup>& registry()
{
    static std::vector<CommandSetup> setups;
    return setups;
}

int g_exitStatus = 0;
std::atomic<bool> g_interrupted{false};

extern "C" void onInterrupt(int)
{
    g_interrupted.store(true);
}

}  // namespace

CommandRegistrar::CommandRegistrar(CommandSetup setup)
{
    registry().push_back(std::move(setup));
}

void setExitStatus(int status)
{
    g_exitStatus = status;
}

int exitStatus()
{
    return g_exitStatus;
}

bool interrupted()
{
    return g_interrupted.load();
}

}  // namespace korvala::cli

int main(int argc, char** argv)
{
    using namespace korvala::cli;
    CLI::App app{"Korvala: tools for files and folders, from the command line", "korvala-cli"};
    app.require_subcommand(1);
    for (const auto& setup : registry())
        setup(app);

    std::signal(SIGINT, onInterrupt);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e);
        app.exit(e);
        return 2;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return exitStatus();
}
