// korvala-cli folder-icon FOLDER [--icon LOCATION] [--index N] [--tip TEXT] [--no-copy] [--reset]
// Without --icon or --reset: prints the folder's icon location, index and tip.
// With --icon: the change of the single folder page when --tip is given, of
// the batch page (tip and icon resource left alone) when it is not.

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "CommandSupport.h"
#include "tools/foldericon/FolderIcon.h"

namespace korvala::cli {
namespace {

struct FolderIconOptions {
    std::string folder;
    std::string icon;
    int index = 0;
    std::optional<std::string> tip;
    bool noCopy = false;
    bool reset = false;
};

int runFolderIcon(const FolderIconOptions& o)
{
    if (o.reset) {
        if (ResetFolderIcon(o.folder)) {
            RefreshShellIcons({o.folder});
            std::cout << "Folder Icon has been Resetted into Default, please wait few seconds to see the changes!\n"
                         "( Usually up to 30 Seconds )\n";
        }
        return kExitSuccess;
    }
    if (o.icon.empty()) {
        const TFolderIconSettings s = LoadFolderIconSettings(o.folder);
        std::cout << "IconFile=" << s.iconLocation << "\nIconIndex=" << s.iconIndex << "\nInfoTip=" << s.infoTip << '\n';
        return kExitSuccess;
    }
    ApplyFolderIcon(o.folder, o.icon, std::clamp(o.index, 0, 1000), !o.noCopy, o.tip);
    RefreshShellIcons({o.folder});
    std::cout << "Folder Icon Changed, please wait few seconds to see the changes!\n( Usually up to 30 Seconds )\n";
    return kExitSuccess;
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto o = std::make_shared<FolderIconOptions>();
    CLI::App* sub = app.add_subcommand("folder-icon", "Show, change or reset a folder's icon (desktop.ini)");
    sub->add_option("folder", o->folder, "Folder")->required();
    sub->add_option("--icon", o->icon, "Icon location (.ico, .exe or .dll, or a Windows location)");
    sub->add_option("--index", o->index, "Icon index (0 to 1000)")->check(CLI::Range(0, 1000));
    sub->add_option("--tip", o->tip, "Tooltip text (also removes IconResource)");
    sub->add_flag("--no-copy", o->noCopy, "Do not copy an .ico into the folder");
    sub->add_flag("--reset", o->reset, "Remove the folder's desktop.ini")->excludes("--icon");
    setAction(*sub, [o] { return runFolderIcon(*o); });
});

}  // namespace
}  // namespace korvala::cli
