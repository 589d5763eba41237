#pragma once
// The tool set: one row per tool, in the order of the header's tool buttons
// (which is also the page order). The window builds its buttons, workers and
// pages from these rows; adding a tool is one row here plus the tool's files.

#include <functional>
#include <vector>

class TPageContext;
class TToolPage;

struct TToolRow {
    const char* button;   // the tool button's object name
    int tag;              // the tool number (popALL's tag)
    const char* hint;     // the button's hint and the window title's tool name
    bool enabled;
    // The object names of the workers the window creates for this tool.
    std::vector<const char*> workers;
    std::function<TToolPage*(const TPageContext& context)> createPage;
};

const std::vector<TToolRow>& toolTable();
