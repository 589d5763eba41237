// korvala-cli dupes, hidden and reveal on real trees, with a real trash under
// a temporary XDG_DATA_HOME.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include "Files.h"
#include "Process.h"
#include "TempTree.h"
#include "Trash.h"
#include "platform/FileAttributes.h"

namespace korvala {
namespace {

using test::runCli;
using test::TTempTree;

using test::splitLines;

// The ID, name and folder cells of each row.
std::vector<std::string> idNameLocation(const std::string& out)
{
    std::vector<std::string> cells;
    for (const std::string& line : splitLines(out)) {
        std::vector<std::string> c;
        size_t start = 0;
        for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            c.push_back(line.substr(start, tab - start));
        c.push_back(line.substr(start));
        EXPECT_EQ(c.size(), 6u) << line;
        if (c.size() == 6)
            cells.push_back(c[0] + " " + c[2] + " " + c[5]);
    }
    return cells;
}

TEST(DupesCommand, PrintsTheGridRowsAndSaysByItsStatusWhetherAnyWereFound)
{
    TTempTree tree;
    tree.folder("sub");
    const std::string a = tree.file("a.txt", "same content");
    const std::string b = tree.file("sub/b.txt", "same content");
    const std::string c = tree.file("c.txt", "same length!");
    const test::ProcessResult r = runCli({"dupes", c, a, b});
    ASSERT_EQ(r.exitCode, 0) << test::describe(r);
    EXPECT_EQ(idNameLocation(r.out),
        (std::vector<std::string>{"1 a.txt " + tree.path(""), "1 b.txt " + tree.path("sub/")}));
    EXPECT_EQ(r.err, "Scanning process Completed!\n");
    const test::ProcessResult row = runCli({"dupes", a, b});
    EXPECT_EQ(splitLines(row.out)[0].substr(0, 11), "0\t" + test::runProcess({"sh", "-c", "rhash --crc32 --simple '" + a + "' | cut -c1-8 | tr a-f A-F"}).out.substr(0, 8) + "\t");

    const test::ProcessResult none = runCli({"dupes", a, c});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");
    // A folder is not a file unless asked to walk it.
    EXPECT_EQ(runCli({"dupes", tree.root()}).exitCode, 1);
    const test::ProcessResult walked = runCli({"dupes", "--recursive", tree.root()});
    EXPECT_EQ(walked.exitCode, 0) << test::describe(walked);
    EXPECT_EQ(splitLines(walked.out).size(), 2u);
}

TEST(DupesCommand, NameModeAndJsonRecords)
{
    TTempTree tree;
    tree.folder("x");
    tree.folder("y");
    const std::string odd = std::string("y/\xff") + "Photo.JPG";
    tree.file("x/\xffphoto.jpg", "one picture");
    tree.file(odd, "another picture");
    const test::ProcessResult r = runCli({"dupes", "--by", "name", "--json", "--recursive", tree.root()});
    ASSERT_EQ(r.exitCode, 0) << test::describe(r);
    const std::vector<std::string> records = splitLines(r.out);
    ASSERT_EQ(records.size(), 2u) << r.out;
    const auto first = nlohmann::json::parse(records[0]);
    const auto second = nlohmann::json::parse(records[1]);
    EXPECT_EQ(first["id"], second["id"]);
    EXPECT_NE(first["crc32"], second["crc32"]);
    EXPECT_TRUE(first.contains("path_b64"));
    EXPECT_FALSE(first.contains("path"));
    EXPECT_EQ(first["location"], tree.path("x/"));
    EXPECT_EQ(second["size"], 15);
    EXPECT_EQ(first["colour"], second["colour"]);
}

class TrashExtraTest : public ::testing::Test {
protected:
    void SetUp() override { test::emptyTrash(); }
    test::RunOptions withTrash() const { return {.env = {test::trashEnvironment()}}; }
    TTempTree tree;
};

TEST_F(TrashExtraTest, KeepsTheFirstOfEachGroupAndAnythingWithoutAConfirmedCopy)
{
    const std::string a = tree.file("a", "alpha");
    const std::string b = tree.file("b", "alpha");
    const std::string c = tree.file("c", "alpha");
    const std::string first = tree.file("100% sure\nreally", "omega");
    const std::string hard = tree.path("hard link");
    ASSERT_EQ(link(first.c_str(), hard.c_str()), 0);
    const test::ProcessResult r = runCli({"dupes", "--trash-extra", a, b, c, first, hard}, withTrash());
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.out, "trashed\t" + b + "\ntrashed\t" + c + "\nkept\t" + hard +
        "\tno other file of its group is confirmed to hold the same bytes\n");
    EXPECT_NE(r.err.find("1 file(s) kept:\n1 without another file confirmed"), std::string::npos) << r.err;
    EXPECT_EQ(test::trashedNames(), (std::vector<std::string>{b, c}));
    EXPECT_EQ(test::readFile(a), "alpha");
    EXPECT_EQ(test::readFile(first), "omega");

    // What is left has no duplicates: nothing to do.
    EXPECT_EQ(runCli({"dupes", "--trash-extra", a, b, c}, withTrash()).exitCode, 1);
}

TEST_F(TrashExtraTest, AllTrashedIsSuccessAndTheRecordRestoresOddNames)
{
    const std::string a = tree.file("keep me", "data");
    const std::string b = tree.file("50%\nnew line 'quoted' $(true)", "data");
    const test::ProcessResult r = runCli({"dupes", "--trash-extra", a, b}, withTrash());
    EXPECT_EQ(r.exitCode, 0) << test::describe(r);
    EXPECT_EQ(test::trashedNames(), (std::vector<std::string>{b}));
    EXPECT_NE(access(b.c_str(), F_OK), 0);
}

TEST(DupesCommand, CtrlCAbortsTheScan)
{
    TTempTree tree;
    const std::string a = tree.sparseFile("a", 4ULL << 30);
    const std::string b = tree.sparseFile("b", 4ULL << 30);
    const test::ProcessResult r = runCli({"dupes", a, b}, {.interruptWhenOpen = a});
    EXPECT_EQ(r.exitCode, 1) << test::describe(r);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Scanning process ABORTED!\n");
}

TEST(HiddenCommand, ListsHiddenEntriesAndRevealKeepsDotNamesHidden)
{
    TTempTree tree;
    const std::string listed = tree.file("listed");
    const std::string dot = tree.file(".dot");
    tree.file(".hidden", "listed\nother\n");
    const std::string sys = tree.file("sys");
    ASSERT_FALSE(setFileAttributes(sys, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    const test::ProcessResult r = runCli({"hidden", tree.root()});
    ASSERT_EQ(r.exitCode, 0) << test::describe(r);
    EXPECT_EQ(splitLines(r.out).size(), 3u) << r.out;  // .dot, .hidden, listed
    EXPECT_EQ(r.err, "Scanning process completed, Now you can Reveal Hidden Files/Folders!\n");
    EXPECT_EQ(splitLines(runCli({"hidden", "--system", tree.root()}).out).size(), 4u);
    const test::ProcessResult json = runCli({"hidden", "--json", tree.root()});
    EXPECT_NE(json.out.find("\"hidden_by_name\":true"), std::string::npos) << json.out;

    const test::ProcessResult reveal = runCli({"reveal", listed, dot, tree.path("gone")});
    EXPECT_EQ(reveal.exitCode, 1);
    EXPECT_EQ(reveal.out, "revealed\t" + listed + "\nstill hidden\t" + dot +
        "\tits name starts with a dot (entries are never renamed)\n");
    EXPECT_NE(reveal.err.find(tree.path("gone") + ": "), std::string::npos) << reveal.err;
    EXPECT_EQ(test::readFile(tree.path(".hidden")), "other\n");
    EXPECT_EQ(runCli({"reveal", sys}).exitCode, 0);
    EXPECT_EQ(getFileAttributes(sys) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), FILE_ATTRIBUTE_SYSTEM);

    TTempTree empty;
    const test::ProcessResult none = runCli({"hidden", empty.root()});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "Scanning process completed, There is no Hidden File/Folder Found!\n");
}

TEST(DupesHiddenCommands, AFullDiskFailsTheListing)
{
    TTempTree tree;
    const std::string a = tree.file("a", "x");
    const std::string b = tree.file("b", "x");
    tree.file(".h");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"dupes", a, b}, {"dupes", "--json", a, b}, {"hidden", tree.root()}}) {
        const test::ProcessResult r = runCli(args, {.outputFile = "/dev/full"});
        EXPECT_EQ(r.exitCode, 1) << args[0] << ": " << test::describe(r);
        EXPECT_NE(r.err.find("Cannot write the output. No space left on device"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace korvala
