#pragma once
// A real trash for the tests: the process's XDG_DATA_HOME points at a
// temporary folder from the first call on (the trash library reads the
// variable once per process, so every test of an executable shares it), and
// the helpers read back what was trashed from the ".trashinfo" records.

#include <string>
#include <vector>

namespace korvala::test {

// The data folder now in XDG_DATA_HOME ("<it>/Trash" is the trash), made on
// the first call, open to every user so that runs as the ordinary user use it
// too; removed at exit.
const std::string& trashDataHome();
// Empties the trash's files/ and info/ folders.
void emptyTrash();
// The original paths of everything in the trash, decoded from the Path= line
// of each record, sorted.
std::vector<std::string> trashedNames();
// "XDG_DATA_HOME=..." for RunOptions::env of a korvala-cli run.
std::string trashEnvironment();

}  // namespace korvala::test
