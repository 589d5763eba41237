#pragma once
// The file managers' context-menu entries that only a user can add: Nautilus
// scripts and Thunar's custom actions (Dolphin and Nemo get theirs system-wide
// from the package). "korvala --install-file-manager-actions" writes them,
// "--remove-file-manager-actions" takes them away again; both keep every entry
// the user made, and both work without a display.

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

// One entry: "Korvala: TITLE", running "korvala --page PAGE PATH...".
struct TFileManagerAction {
    const char* page;
    const char* title;
    const char* description;
    bool forFiles;
    bool forFolders;
};
const std::vector<TFileManagerAction>& fileManagerActions();

// Where the entries go for the user: $XDG_DATA_HOME/nautilus/scripts and
// $XDG_CONFIG_HOME/Thunar/uca.xml, with the XDG defaults below $HOME.
struct TFileManagerPlaces {
    QString nautilusScripts;
    QString thunarActions;
    // The system-wide actions Thunar reads while the user has none of their
    // own ($XDG_CONFIG_DIRS/Thunar/uca.xml): the start of a new user file,
    // so that adding ours does not hide them.
    QString thunarSystemActions;
};
TFileManagerPlaces fileManagerPlaces();

// What an install or a removal did: the files written or removed, and the
// problems met (an entry of the user's that stands in the way, a file that
// cannot be read or written). Nothing of the user's is changed on a problem.
struct TFileManagerReport {
    QStringList changed;
    QStringList problems;
};
TFileManagerReport installFileManagerActions(const TFileManagerPlaces& places);
TFileManagerReport removeFileManagerActions(const TFileManagerPlaces& places);

// Thunar's action list with ours put in (install) or taken out (remove),
// every other byte as it was; nothing when the text is not such a list.
std::optional<QByteArray> thunarActionsWithOurs(const QByteArray& text, bool install);

// When the command line is one of the two options, carries it out and returns
// the exit status (0 done, 1 a problem, 2 bad usage); otherwise nothing.
std::optional<int> runFileManagerActionsOption(int argc, char** argv);
