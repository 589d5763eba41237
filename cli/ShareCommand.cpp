// korvala-cli share list
// korvala-cli share add NAME FOLDER [COMMENT]
// korvala-cli share remove NAME
// The Sharing tool's shares, through Samba's users' shares; KORVALA_SMB_CONF
// names another Samba configuration than the system's.

#include <iostream>
#include <memory>
#include <string>

#include "CommandSupport.h"
#include "tools/sharing/DSiWin32.h"
#include "tools/sharing/ShareListing.h"

namespace korvala::cli {
namespace {

struct ShareOptions {
    std::string name;
    std::string folder;
    std::string comment;
};

int report(const TShareOutcome& outcome)
{
    if (outcome.done)
        return kExitSuccess;
    std::cerr << outcome.message << '\n';
    return kExitFailure;
}

int runAdd(const ShareOptions& options)
{
    if (missingResourceLocation(options.folder)) {
        std::cerr << "Resource location doesn't exist!\n";
        return kExitFailure;
    }
    return report(DSiShareFolder(options.folder, options.name, options.comment));
}

const CommandRegistrar registrar([](CLI::App& app) {
    CLI::App* share = app.add_subcommand("share", "Share folders on the network (Samba users' shares)");
    share->require_subcommand(1);

    CLI::App* list = share->add_subcommand("list", "List the shares this machine's file server offers");
    setAction(*list, [] {
        std::cout << shareListingText();
        return kExitSuccess;
    });

    auto add = std::make_shared<ShareOptions>();
    CLI::App* addCommand = share->add_subcommand("add", "Share FOLDER as NAME (full control for everyone, no guests)");
    addCommand->add_option("name", add->name, "Share name")->required();
    addCommand->add_option("folder", add->folder, "Folder to share")->required();
    addCommand->add_option("comment", add->comment, "Comment");
    addCommand->positionals_at_end();
    setAction(*addCommand, [add] { return runAdd(*add); });

    auto remove = std::make_shared<ShareOptions>();
    CLI::App* removeCommand = share->add_subcommand("remove", "Stop sharing the share NAME");
    removeCommand->add_option("name", remove->name, "Share name")->required();
    setAction(*removeCommand, [remove] { return report(DSiUnshareFolder(remove->name)); });
});

}  // namespace
}  // namespace korvala::cli
