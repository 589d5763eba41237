// Entries whose details cannot be read, as an ordinary user meets them: a
// folder with read but no search permission lists its names, yet no entry in
// it can be looked up. Such entries are never reported, whatever bounds their
// zeroed details would pass.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Process.h"
#include "TempTree.h"
#include "platform/DateTime.h"
#include "platform/DirectoryListing.h"
#include "search/FindFileW.h"

namespace korvala {
namespace {

using test::TTempTree;

class PathCollector : public SearchWalkHandler {
public:
    void fileMatch(const std::string& folder, DirectoryListing& listing, size_t index) override
    {
        text += folder + std::string(listing.name(index)) + "\n";
    }
    std::string text;
};

void setModified(const std::string& path, time_t when)
{
    const timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// As user 65534 when the tests run as root (an ordinary user already is one).
std::string asOrdinaryUser(const std::function<std::string()>& body)
{
    return ::geteuid() == 0 ? test::runAsNobody(body) : body();
}

TEST(UnreachableEntries, AFolderListedButNotEnteredYieldsNothing)
{
    TTempTree t;
    ASSERT_EQ(::chmod(t.root().c_str(), 0755), 0);
    constexpr time_t kIn1990 = 631152000;  // 1990-01-01, inside the bounds below
    t.folder("open");
    t.folder("closed");
    // The reachable folder shows the bounds are applied to real details: its
    // old small file passes them, its new one fails the date bound.
    const std::string oldOpen = t.file("open/old.txt", "x");
    t.file("open/new.txt", "x");
    setModified(oldOpen, kIn1990);
    // In the closed folder a file, a folder and a big new file: made-up details
    // (size 0, 1970) would pass every bound below.
    const std::string oldClosed = t.file("closed/old.txt", "x");
    setModified(oldClosed, kIn1990);
    t.file("closed/new.txt", std::string(5000, 'x'));
    t.folder("closed/inner");
    ASSERT_EQ(::chmod(t.path("closed").c_str(), 0444), 0);  // r--: names can be read, not looked up

    const std::string listingAnswer = asOrdinaryUser([&] {
        DirectoryListing l;
        if (std::error_code ec = l.open(AT_FDCWD, t.path("closed")))
            return "open: " + ec.message();
        std::string out = std::to_string(l.size()) + " names";
        for (size_t i = 0; i < l.size(); ++i)
            if (!l.detailsUnreadable(i))
                out += ", readable " + std::string(l.name(i));
        DirectoryListing open;
        open.open(AT_FDCWD, t.path("open"));
        for (size_t i = 0; i < open.size(); ++i)
            if (open.detailsUnreadable(i))
                out += ", unreadable " + std::string(open.name(i));
        return out;
    });
    EXPECT_EQ(listingAnswer, "3 names");

    struct Case {
        const char* what;
        bool bounds;
    } cases[] = {{"date and size bounds", true}, {"no bounds: the row would show zeroes", false}};
    for (const Case& c : cases) {
        const std::string found = asOrdinaryUser([&] {
            SeekerPageState page;
            page.locations = {t.root()};
            page.attributes[4] = SeekerCheck::Grayed;  // Directory: folders may match too
            if (c.bounds) {
                page.modified.before.dateChecked = true;
                page.modified.before.date = encodeDate(2000, 1, 1);
                page.created.before.dateChecked = true;
                page.created.before.date = encodeDate(2000, 1, 1) + 20000;  // any real creation time
                page.sizeMax = 1;
                page.sizeMaxUnit = SeekerSizeUnit::KB;
            }
            TSearchCriteria criteria;
            buildSeekerCriteria(page, criteria);
            criteria.Files().setFileName("*.txt;inner");
            PathCollector collector;
            std::atomic<bool> aborted{false};
            SearchWalker(criteria, aborted, collector).runAll();
            return collector.text;
        });
        // Only the reachable folder's files, in the order its listing gives.
        const std::string newOpen = t.path("open/new.txt");
        if (c.bounds)
            EXPECT_EQ(found, oldOpen + "\n") << c.what;
        else
            EXPECT_TRUE(found == newOpen + "\n" + oldOpen + "\n" || found == oldOpen + "\n" + newOpen + "\n")
                << c.what << ": " << found;
    }
}

// An entry removed between the listing and its test: its details cannot be
// read, and the walk passes over it instead of reporting zeroes.
class RemovingCollector : public PathCollector {
public:
    bool isAcceptable(
        const TSearchCriteria& criteria, const std::string& folder, DirectoryListing& listing, size_t index) override
    {
        if (listing.name(index) == "gone.txt")
            ::unlink((folder + "gone.txt").c_str());
        return SearchWalkHandler::isAcceptable(criteria, folder, listing, index);
    }
};

TEST(UnreachableEntries, AnEntryThatVanishedBeforeItsTestIsNotReported)
{
    TTempTree t;
    const std::string kept = t.file("kept.txt", "x");
    t.file("gone.txt", "x");
    TSearchCriteria criteria;
    criteria.Files().setLocation(t.root());
    criteria.Size().Max = 1024;  // zeroes would pass
    RemovingCollector collector;
    std::atomic<bool> aborted{false};
    SearchWalker(criteria, aborted, collector).runAll();
    EXPECT_EQ(collector.text, kept + "\n");

    // The listing itself: read the names, remove one, then ask.
    const std::string gone = t.file("gone.txt", "x");
    DirectoryListing l;
    ASSERT_FALSE(l.open(AT_FDCWD, t.root()));
    ASSERT_EQ(l.size(), 2u);
    ASSERT_EQ(::unlink(gone.c_str()), 0);
    for (size_t i = 0; i < l.size(); ++i) {
        l.entrySize(i);
        EXPECT_EQ(l.detailsUnreadable(i), l.name(i) == "gone.txt") << l.name(i);
    }
}

}  // namespace
}  // namespace korvala
