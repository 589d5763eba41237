#pragma once
// The Batch Folder Creator's engine: one folder path per line, each created
// with every missing parent folder.

#include <string>
#include <system_error>
#include <vector>

namespace korvala {

// A line names a folder to create when it is an absolute path ("/...") or one
// below the home folder ("~/..."); it is used exactly as typed otherwise.
bool isFolderLine(const std::string& line);

// The folder a folder line names: "~/" stands for the home folder. Empty when
// the line needs the home folder and none is known.
std::string folderOfLine(const std::string& line);

// Creates `path` and every missing parent folder. True when the folder exists
// afterwards; false with the reason in `why` when a folder could not be
// created. An empty path raises "Unable to create directory".
bool ForceFolder(const std::string& path, std::error_code& why);

struct TFolderFailure {
    std::string line;
    std::string reason;
};

struct TFolderLinesResult {
    std::vector<std::string> lines;          // the lines kept (the folder lines), in order
    std::vector<TFolderFailure> failures;    // folder lines whose folder could not be created, bottom-up
};

// Visits the lines from the last to the first: a folder line gets its folder,
// any other line is dropped.
TFolderLinesResult CreateFolderLines(const std::vector<std::string>& lines);

// The message that lists the folders that could not be created, one line each
// with the system's reason.
std::string folderFailuresText(const std::vector<TFolderFailure>& failures);

}  // namespace korvala
