// "korvala --screenshot FILE [--page NAME]" run for real on Qt's offscreen
// platform: the picture of a page, and what it does with a page or a file it
// cannot have.

#include <gtest/gtest.h>

#include <QImage>

#include "PackageSupport.h"
#include "Process.h"
#include "TempTree.h"

namespace korvala::test {
namespace {

TEST(Screenshot, SavesThePageAskedForAndRefusesWhatItCannotDo)
{
    TTempTree tree;
    tree.folder("home");
    tree.folder("runtime", 0700);
    RunOptions options;
    options.env = {"HOME=" + tree.path("home"), "XDG_CONFIG_HOME=", "XDG_DATA_HOME=",
                   "XDG_RUNTIME_DIR=" + tree.path("runtime"), "QT_QPA_PLATFORM=offscreen"};

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string file;  // empty: no file may appear
    };
    const std::vector<Case> cases = {
        {{"--screenshot", tree.path("hash.png"), "--page", "Hash"}, 0, tree.path("hash.png")},
        {{"--page", "Splitter & Joiner", "--screenshot", tree.path("sj.png")}, 0, tree.path("sj.png")},
        {{"--screenshot", tree.path("none.png"), "--page", "No Such Tool"}, 2, ""},
        {{"--screenshot", tree.path("missing/x.png")}, 1, ""},
        {{"--screenshot"}, 2, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> argv = {programPath()};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const ProcessResult run = runProcess(argv, options);
        EXPECT_EQ(run.exitCode, c.status) << c.args.back() << ": " << describe(run);
        if (!c.file.empty()) {
            const QImage image(QString::fromStdString(c.file));
            EXPECT_GT(image.width(), 600) << c.file;
            EXPECT_GT(image.height(), 400) << c.file;
        }
    }
    std::vector<std::string> written;
    for (const std::string& file : filesBelow(tree.path()))
        if (file.rfind("home/", 0) != 0)
            written.push_back(file);
    EXPECT_EQ(written, (std::vector<std::string>{"hash.png", "sj.png"}));
}

}  // namespace
}  // namespace korvala::test
