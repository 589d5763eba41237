#pragma once
// The folder walk of a search, without any threading or window: the engine
// that the search component runs on its thread and the command line runs
// directly.
//
// Depth first: a folder's own matches (mask by mask, each in listing order)
// come before anything from its sub-folders, which follow in listing order.
// Each folder is read once for all its masks and its sub-folders. The walk keeps
// its own stack (no recursion) and opens every folder relative to its parent, so
// trees of any depth are walked, whatever PATH_MAX says. Only the path of the
// folder being walked is kept (each folder on the stack knows its name), so
// memory and time grow with the depth, not with its square. At most a bounded
// number of folder descriptors stays open, fewer under a low descriptor limit
// (ancestors beyond it are closed and opened again through ".." when the walk
// comes back to them), and a folder that finds the process out of descriptors
// is opened again once an ancestor's descriptor is closed. Symbolic links
// to folders are never entered. A folder that cannot be listed, or can be
// listed but not entered, yields nothing and no error, and an entry whose
// details cannot be read is never reported; the walk itself never throws (a
// handler may).
//
// With descriptors to spare and a second processor, the next sub-folders are
// read ahead on a second thread while the walk reports the folder it is in
// (search/FolderLookahead.h): the same events in the same order, a folder's
// names read a moment before the handler hears of it.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "search/FileDetails.h"
#include "search/SearchCriteria.h"

namespace korvala {

class DirectoryListing;

// What the walk tells its owner. Both are called on the walking thread.
class SearchWalkHandler {
public:
    virtual ~SearchWalkHandler() = default;
    // A folder is about to be walked; the answer may skip its files or its
    // sub-folders.
    virtual TFolderIgnore folderChange(const std::string& folder)
    {
        (void)folder;
        return fiNone;
    }
    // Whether entry `index` of the listing of `folder` is reported; by default
    // the criteria decide.
    virtual bool isAcceptable(
        const TSearchCriteria& criteria, const std::string& folder, DirectoryListing& listing, size_t index)
    {
        return criteria.Matches(folder, listing, index);
    }
    // Entry `index` of the listing of `folder` matched. makeFileDetails gives
    // its record; a handler that needs only the path reads nothing more.
    virtual void fileMatch(const std::string& folder, DirectoryListing& listing, size_t index) = 0;
};

class SearchWalker {
public:
    // `criteria` must stay unchanged during the walk; `aborted` is polled
    // between entries (set from any thread).
    SearchWalker(const TSearchCriteria& criteria, const std::atomic<bool>& aborted, SearchWalkHandler& handler);

    // Walks every target of the criteria in order, until done or aborted.
    void runAll();

    // The level of the folder being walked (the root of a target is 1).
    uint16_t level() const { return m_level; }
    const TTargetPath* currentTarget() const { return m_target; }
    // Attribute bits that keep the walk out of a sub-folder: the unset mask of
    // the attributes restricted to hidden, system, device, temporary, offline,
    // encrypted and virtual.
    uint32_t subfolderSkipMask() const { return m_skipMask; }

    // How many folder descriptors the walk keeps open at most (tests lower it);
    // half the process's descriptor limit caps it.
    static void setMaxOpenFoldersForTests(size_t count);
    // Turns reading ahead on a second thread off (tests compare both walks),
    // or makes the walk wait for every folder to be read ahead (`patient`),
    // and counts the folders the walks took read ahead.
    static void setReadAheadForTests(bool enabled, bool patient = false);
    static size_t foldersReadAheadForTests();

private:
    bool aborted() const { return m_aborted.load(std::memory_order_relaxed); }
    void walk(const TTargetPath& target);
    // Reads ahead what the tests of a folder's entries will ask; `share` lets
    // the listing share the reads with its helper thread.
    void prefetch(DirectoryListing& listing, const std::vector<size_t>& matched, bool share);
    bool isWalkedSubfolder(DirectoryListing& listing, size_t i) const;

    const TSearchCriteria& m_criteria;
    const std::atomic<bool>& m_aborted;
    SearchWalkHandler& m_handler;
    uint32_t m_skipMask = 0;
    uint16_t m_level = 0;
    const TTargetPath* m_target = nullptr;
};

}  // namespace korvala
