// Entries that change while a run reaches them: one deleted, one replaced by
// a folder, at the moment the engine comes to it (its own hook: the walk's
// test of an entry, the duplicate scan's cancel query before each file, the
// report's algorithm query before each file's digests). None of them is
// reported as what it no longer is once it is read, and the run goes on.

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TempTree.h"
#include "platform/DirectoryListing.h"
#include "search/SearchWalker.h"
#include "tools/duplicates/DuplicateFinder.h"
#include "tools/hash/HashReport.h"

namespace korvala::test {
namespace {

// Deletes `gone` and turns `turned` into a folder.
void mutate(const std::string& path)
{
    const std::string name = path.substr(path.rfind('/') + 1);
    if (name.find("gone") != std::string::npos) {
        EXPECT_EQ(::unlink(path.c_str()), 0) << path;
    } else if (name.find("turned") != std::string::npos) {
        EXPECT_EQ(::unlink(path.c_str()), 0) << path;
        EXPECT_EQ(::mkdir(path.c_str(), 0755), 0) << path;
    }
}

// Changes an entry just before the walk tests it, and collects the matches.
class TMutatingHandler : public SearchWalkHandler {
public:
    bool isAcceptable(const TSearchCriteria& criteria, const std::string& folder, DirectoryListing& listing,
        size_t index) override
    {
        mutate(folder + std::string(listing.name(index)));
        return criteria.Matches(folder, listing, index);
    }
    void fileMatch(const std::string& folder, DirectoryListing& listing, size_t index) override
    {
        matches.push_back(folder + std::string(listing.name(index)));
    }
    std::vector<std::string> matches;
};

class Race : public ::testing::Test {
protected:
    void SetUp() override
    {
        files.clear();
        for (const char* name : {"a", "gone", "turned", "z"})
            files.push_back(tree.file(name, "same"));
    }
    std::vector<std::string> sortedMatches(TMutatingHandler& handler)
    {
        std::sort(handler.matches.begin(), handler.matches.end());
        return handler.matches;
    }

    TTempTree tree;
    std::vector<std::string> files;
    const std::atomic<bool> notAborted{false};
};

// The walk reports what the folder's listing held (as the system's listing
// does); once a test reads the entry itself, its content or its size, the
// deleted file and the one turned into a folder no longer pass for files.
TEST_F(Race, TheSearchReportsNeitherTheDeletedNorTheReplacedFileOnceItReadsThem)
{
    struct Case {
        const char* what;
        const char* phrase;
        int64_t minSize;
    };
    for (const Case& c : {Case{"content", "same", 0}, Case{"size", "", 1}}) {
        SetUp();  // a fresh set of files for each criteria
        TSearchCriteria criteria;
        criteria.Files().setPaths({tree.root() + "/"});
        criteria.Content().setPhrase(c.phrase);
        criteria.Size().Min = c.minSize;
        TMutatingHandler handler;
        SearchWalker(criteria, notAborted, handler).runAll();
        EXPECT_EQ(sortedMatches(handler), (std::vector<std::string>{tree.path("a"), tree.path("z")})) << c.what;
        ::rmdir(tree.path("turned").c_str());
    }
}

TEST_F(Race, TheDuplicateScanGivesNoRowForTheDeletedOrReplacedFile)
{
    size_t asked = 0;
    TDuplicateScanHooks hooks;
    // Asked once per candidate, just before it is looked at.
    hooks.cancelRequested = [&] {
        mutate(files.at(asked++));
        return false;
    };
    const TDuplicateScan scan = FindDuplicates(files, TDuplicateMode::dmContent, hooks);
    EXPECT_EQ(asked, files.size());
    ASSERT_EQ(scan.rows.size(), 2u);
    EXPECT_EQ(files[scan.rows[0].pathIndex], tree.path("a"));
    EXPECT_EQ(files[scan.rows[1].pathIndex], tree.path("z"));
}

TEST_F(Race, TheReportGivesZerosForCrcAndStopsAtAnyOtherDigest)
{
    struct Case {
        std::vector<int> ticked;
        std::string expectedTail;  // what follows the report of "a"
        std::string error;         // the error's beginning, or empty
    };
    const std::string gone = tree.path("gone"), turned = tree.path("turned");
    const Case cases[] = {
        {{0},
            "Filename   : " + gone + "\nCRC32      : 00000000\n\nFilename   : " + turned +
                "\nCRC32      : 00000000\n\nFilename   : " + tree.path("z") + "\nCRC32      : FC50F144\n\n",
            ""},
        {{0, 2}, "Filename   : " + gone + "\nCRC32      : 00000000\n", "TFileStreamW: Cannot open file \"" + gone + "\". "},
        {{5}, "Filename   : " + gone + "\n", "Cannot open file \"" + gone + "\". "},
    };
    for (const Case& c : cases) {
        SetUp();
        std::string report;
        size_t asked = 0;
        HashReportCallbacks callbacks;
        // Asked twelve times per file, before its digests are computed.
        callbacks.isTicked = [&](int index) {
            if (asked++ % 12 == 0)
                mutate(files.at(asked / 12));
            return std::find(c.ticked.begin(), c.ticked.end(), index) != c.ticked.end();
        };
        callbacks.appendLine = [&](const std::string& line) { report += line + "\n"; };
        std::string error;
        try {
            EXPECT_EQ(WriteHashReport(files, callbacks), HashReportOutcome::hrCompleted);
        } catch (const std::exception& e) {
            error = e.what();
        }
        const std::string head = "Filename   : " + tree.path("a") + "\n";
        EXPECT_TRUE(report.starts_with(head)) << report;
        EXPECT_TRUE(report.ends_with(c.expectedTail)) << report;
        if (c.error.empty()) {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        }
        ::rmdir(turned.c_str());
    }
}

}  // namespace
}  // namespace korvala::test
