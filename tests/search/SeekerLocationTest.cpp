// The Seeker's location lines: a line that names an existing folder as typed
// is that folder, whatever ">", "<", ";" or blanks its name holds; other lines
// are ";" lists in the target-folder syntax; the folder found to exist is the
// folder listed.

#include <atomic>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempTree.h"
#include "WorkingFolder.h"
#include "platform/DirectoryListing.h"
#include "search/FindFileW.h"

namespace korvala {
namespace {

using test::TTempTree;

class Collector : public SearchWalkHandler {
public:
    void fileMatch(const std::string& folder, DirectoryListing& listing, size_t index) override
    {
        paths.push_back(folder + std::string(listing.name(index)));
    }
    std::vector<std::string> paths;
};

class SeekerLocationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Each folder whose name would parse to another folder has that other
        // folder beside it, so a search of the wrong one shows.
        for (const char* name : {"a>b", "b", "c<d", "d", "x;", "x", " lead", "lead", "tail", "2>b"}) {
            t.folder(name);
            t.file(std::string(name) + "/in.txt");
        }
        t.folder("b/deeper");
        t.file("b/deeper/in.txt");
    }
    // The matches of a search built from these lines, as the page and the
    // command build it, relative to the tree.
    std::vector<std::string> seek(const std::vector<std::string>& lines, bool subfolders)
    {
        SeekerPageState page;
        page.fileName = "in.txt";
        page.locations = lines;
        page.includeSubfolders = subfolders;
        TSearchCriteria criteria;
        buildSeekerCriteria(page, criteria);
        Collector c;
        std::atomic<bool> aborted{false};
        SearchWalker(criteria, aborted, c).runAll();
        std::vector<std::string> out;
        for (const std::string& p : c.paths)
            out.push_back(p.compare(0, t.root().size() + 1, t.root() + "/") == 0 ? p.substr(t.root().size() + 1)
                                                                                   : p);
        return out;
    }
    TTempTree t;
};

TEST_F(SeekerLocationTest, LinesNamingFoldersAsTypedAndSyntaxLines)
{
    // Relative lines mean folders of the tree: the old parsing found "./b" in
    // "a>b" and "./lead" in " lead".
    test::TWorkingFolder here(t.root());
    const std::string r = t.root() + "/";
    struct Case {
        std::string line;
        std::vector<std::string> found;  // with sub-folders off
    } cases[] = {
        {"a>b", {"a>b/in.txt"}},
        {"c<d", {"c<d/in.txt"}},
        {"x;", {"x;/in.txt"}},
        {" lead", {" lead/in.txt"}},
        {"a>b/", {"a>b/in.txt"}},
        {"2>b", {"2>b/in.txt"}},  // a folder of that name wins over the prefix
        {r + "a>b", {"a>b/in.txt"}},
        {r + "c<d", {"c<d/in.txt"}},
        {r + "x;", {"x;/in.txt"}},
        {r + " lead", {" lead/in.txt"}},
        // No folder of that name: the syntax, and the folder it gives is both
        // checked and listed ("tail ", trimmed, is "tail").
        {"tail ", {"tail/in.txt"}},
        {r + "tail ", {"tail/in.txt"}},
        {"1>" + r + "b", {"b/in.txt"}},                           // level 1: the root only
        {"2>" + r + "b", {"b/in.txt", "b/deeper/in.txt"}},        // ">" turns sub-folders on
        {r + "b;" + r + "d", {"b/in.txt", "d/in.txt"}},
        {"d; missing ;b", {"d/in.txt", "b/in.txt"}},               // the missing item alone is left out
        {"2>", {}},
        {"missing", {}},
        {r + "b/in.txt", {}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(seek({c.line}, false), c.found) << "line \"" << c.line << "\"";

    // Lines keep their order, and an exact folder takes the page's sub-folder
    // box.
    EXPECT_EQ(seek({"d", "a>b", "b"}, true),
        (std::vector<std::string>{"d/in.txt", "a>b/in.txt", "b/in.txt", "b/deeper/in.txt"}));
}

TEST_F(SeekerLocationTest, RootsAreAbsoluteAndCarryTheirRecursion)
{
    test::TWorkingFolder here(t.root());
    const std::string r = t.root() + "/";
    struct Case {
        std::string line;
        std::string folder;
        bool sub;
        uint16_t minLevel, maxLevel;
    } cases[] = {
        {"x;", r + "x;/", false, 3, 4},     // as typed: the values passed in
        {" lead", r + " lead/", false, 3, 4},
        {"1-2>b", r + "b/", true, 1, 2},
        {"<d ", r + "d/", false, 3, 4},
        {"5>" + r + "b/../d", r + "d/", true, 0, 5},
    };
    for (const Case& c : cases) {
        const std::vector<TRootFolder> roots = seekerLocationRoots(c.line, false, 3, 4);
        ASSERT_EQ(roots.size(), 1u) << "line \"" << c.line << "\"";
        EXPECT_EQ(roots[0], (TRootFolder{c.folder, c.sub, c.minLevel, c.maxLevel})) << "line \"" << c.line << "\"";
    }
    // Leaving the folder does not move the roots: they were made absolute.
    SeekerPageState page;
    page.locations = {"a>b"};
    TSearchCriteria criteria;
    buildSeekerCriteria(page, criteria);
    {
        test::TWorkingFolder elsewhere("/");
        ASSERT_EQ(criteria.Files().TargetPaths().Count(), 1u);
        EXPECT_EQ(criteria.Files().TargetPaths()[0].Folder, r + "a>b/");
    }
}

}  // namespace
}  // namespace korvala
