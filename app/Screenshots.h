#pragma once
// "korvala --screenshot FILE [--page NAME]": starts the window on a tool's page,
// saves a PNG picture of it and exits, for the documentation and for looking
// at the program on a machine without a screen (QT_QPA_PLATFORM=offscreen).

#include <optional>

// When the command line asks for a screenshot, takes it and returns the exit
// status (0 written, 1 not written, 2 bad usage); otherwise returns nothing
// and leaves the start to the caller. NAME is a tool button's hint ("Hash",
// "Splitter & Joiner"); without --page the first page is shown.
std::optional<int> runScreenshotOption(int& argc, char** argv);
