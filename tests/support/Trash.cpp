#include "Trash.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "Files.h"
#include "TempTree.h"

namespace korvala::test {
namespace {

std::string percentDecoded(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

const std::string& trashDataHome()
{
    static std::unique_ptr<TTempTree> tree;
    static std::string home;
    if (!tree) {
        tree = std::make_unique<TTempTree>();
        home = tree->folder("data", 0777);
        for (const char* rel : {"data/Trash", "data/Trash/files", "data/Trash/info"}) {
            tree->folder(rel, 0777);
            chmod(tree->path(rel).c_str(), 0777);  // past the umask
        }
        chmod(tree->root().c_str(), 0755);
        chmod(home.c_str(), 0777);
        setenv("XDG_DATA_HOME", home.c_str(), 1);
    }
    return home;
}

void emptyTrash()
{
    namespace fs = std::filesystem;
    for (const char* sub : {"/Trash/files", "/Trash/info"})
        for (const auto& entry : fs::directory_iterator(trashDataHome() + sub))
            fs::remove_all(entry.path());
}

std::vector<std::string> trashedNames()
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(trashDataHome() + "/Trash/info")) {
        const std::string record = readFile(entry.path().string());
        const size_t at = record.find("\nPath=");
        EXPECT_NE(at, std::string::npos) << record;
        if (at == std::string::npos)
            continue;
        const size_t end = record.find('\n', at + 1);
        names.push_back(percentDecoded(record.substr(at + 6, end - at - 6)));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string trashEnvironment()
{
    return "XDG_DATA_HOME=" + trashDataHome();
}

}  // namespace korvala::test
