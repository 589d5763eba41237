// korvala-cli: every engine operation of the program, without a window.

#include <iostream>
#include <vector>

#include "Command.h"
#include "CommandSupport.h"

namespace korvala::cli {
namespace {

std::vector<CommandSetup>& registry()
{
    static std::vector<CommandSetup> setups;
    return setups;
}

int g_exitStatus = 0;

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

}  // namespace korvala::cli

int main(int argc, char** argv)
{
    using namespace korvala::cli;
    CLI::App app{"Korvala: tools for files and folders, from the command line", "korvala-cli"};
    app.require_subcommand(1);
    for (const auto& setup : registry())
        setup(app);

    installInterruptHandler();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e);
        app.exit(e);
        return kExitUsage;
    } catch (const std::exception& e) {
        // Commands turn their engines' errors into statuses; this is the
        // last resort for anything else (memory exhausted, say).
        std::cerr << e.what() << '\n';
        return kExitFailure;
    }
    return exitStatus();
}
