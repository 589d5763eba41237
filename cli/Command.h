#pragma once
// Registration of korvala-cli subcommands: each subcommand file holds one static
// CommandRegistrar whose function adds the subcommand to the application and
// gives it its action (CommandSupport.h).

#include <functional>
#include <string>

#include <CLI/CLI.hpp>

namespace korvala::cli {

using CommandSetup = std::function<void(CLI::App& app)>;

struct CommandRegistrar {
    explicit CommandRegistrar(CommandSetup setup);
};

// The exit status that main() returns after the chosen subcommand ran:
// 0 success, 1 the operation failed or was aborted, 2 bad usage.
void setExitStatus(int status);
int exitStatus();

}  // namespace korvala::cli
