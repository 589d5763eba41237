#pragma once
// The program's start arguments:
//   korvala [--page NAME] [PATH...]
//   korvala --screenshot FILE [--page NAME]
// and the names --page takes.

#include <string>
#include <vector>

struct TStartArguments {
    bool help = false;
    std::string error;       // bad usage: the message, empty when none
    std::string screenshot;  // the picture to save, empty when none
    std::string pageName;    // as given
    int tool = -1;           // the tool number of pageName; -1 for none
    // The paths, made absolute against the working folder (by name), so
    // that a running window started elsewhere takes them as meant.
    std::vector<std::string> paths;
};

// args are the program's arguments without the program name, as bytes.
TStartArguments parseStartArguments(const std::vector<std::string>& args);

// The tool number of a --page name ("hash", "duplicates", ...), -1 when the
// name is none of them.
int toolOfPageName(const std::string& name);

// The text of --help (ends in a line feed).
std::string startUsage();
