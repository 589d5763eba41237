#include "search/SearchWalker.h"

#include <memory>
#include <vector>

#include "platform/DirectoryListing.h"
#include "platform/File.h"
#include "platform/FileAttributes.h"
#include "search/FolderLookahead.h"

namespace korvala {
namespace {

constexpr uint32_t SubfolderSkipBits = 0x15146;
size_t g_maxOpenFolders = 64;
bool g_readAhead = true;
std::atomic<size_t> g_foldersReadAhead{0};

// One folder of the walk's stack. Its path is not kept: the walk keeps one
// path, of the folder being walked, and each frame knows only where its own
// part of it ends (its name is the part after its parent's), so a deep chain
// costs memory in proportion to its depth.
struct Frame {
    size_t pathEnd = 0;        // length of the walk's path up to this folder's "/"
    DirectoryListing listing;
    size_t next = 0;           // next entry to consider as a sub-folder
};

}  // namespace

void SearchWalker::setMaxOpenFoldersForTests(size_t count)
{
    g_maxOpenFolders = count < 2 ? 2 : count;
}

void SearchWalker::setReadAheadForTests(bool enabled, bool patient)
{
    g_readAhead = enabled;
    TFolderLookahead::setPatientForTests(patient);
}

size_t SearchWalker::foldersReadAheadForTests()
{
    return g_foldersReadAhead.load();
}

SearchWalker::SearchWalker(const TSearchCriteria& criteria, const std::atomic<bool>& aborted, SearchWalkHandler& handler)
    : m_criteria(criteria), m_aborted(aborted), m_handler(handler)
{
    m_skipMask = criteria.Attributes().UnsetMask() & SubfolderSkipBits;
}

void SearchWalker::runAll()
{
    const TTargetPaths& targets = m_criteria.Files().TargetPaths();
    for (size_t i = 0; i < targets.Count() && !aborted(); ++i) {
        m_level = 0;
        m_target = &targets[i];
        walk(targets[i]);
    }
}

void SearchWalker::prefetch(DirectoryListing& listing, const std::vector<size_t>& matched, bool share)
{
    // The attribute store is read ahead, in one go (shared with a helper thread
    // in big folders), for the entries whose test will need it: matches not
    // already rejected by the bits the listing knows, and sub-folders when the
    // skip mask tests stored bits.
    const uint32_t tested = m_criteria.Attributes().TestedMask();
    const uint32_t unset = m_criteria.Attributes().UnsetMask();
    // With a phrase the store is read only for the files that contain it
    // (see TSearchCriteria::Matches).
    const bool filesNeed =
        (tested & (STORED_ATTRIBUTE_MASK | FILE_ATTRIBUTE_NORMAL)) != 0 && m_criteria.Content().isEmpty();
    const bool foldersNeed = (m_skipMask & STORED_ATTRIBUTE_MASK) != 0;
    if (!filesNeed && !foldersNeed)
        return;
    std::vector<size_t> wanted;
    if (filesNeed)
        for (size_t i : matched)
            if (!(listing.attributes(i, 0) & unset))
                wanted.push_back(i);
    if (foldersNeed && listing.fd() >= 0 && m_target && m_target->Subfolders)
        for (size_t i = 0; i < listing.size(); ++i)
            if (listing.type(i) == EntryType::Directory && !(listing.attributes(i, 0) & m_skipMask))
                wanted.push_back(i);
    listing.prefetchStored(wanted, share);
}

bool SearchWalker::isWalkedSubfolder(DirectoryListing& listing, size_t i) const
{
    if (listing.type(i) != EntryType::Directory)
        return false;
    return !(m_skipMask && (listing.attributes(i, m_skipMask) & m_skipMask));
}

void SearchWalker::walk(const TTargetPath& target)
{
    std::vector<std::unique_ptr<Frame>> stack;
    // Fewer descriptors when the process may open only a few.
    const size_t maxOpen = folderDescriptorBudget(g_maxOpenFolders);
    // The folder being walked, absolute, ending in "/"; handlers are given it.
    // It always begins with the path of every folder on the stack.
    std::string path = target.Folder;
    const std::string& root = target.Folder;
    const std::string rootOpen = root.size() > 1 ? root.substr(0, root.size() - 1) : root;
    // The entries of an open folder to test, with what their tests will read
    // read ahead. Names of a folder that may be read but not entered have no
    // details to test or report: such a folder yields no entries, as one that
    // cannot be listed does.
    auto matchesOf = [this, &target](DirectoryListing& listing, bool listFiles, bool share) {
        std::vector<size_t> matched;
        if (listFiles && !listing.entriesOutOfReach())
            matched = listing.matchMasks(target.Masks);
        prefetch(listing, matched, share);
        return matched;
    };
    // Sub-folders read ahead on a second thread (declared after the stack, so
    // that it is stopped before the stack's folders are closed). It cannot know
    // the handler's answer yet, so it matches whenever the level allows.
    std::unique_ptr<TFolderLookahead> ahead;
    if (g_readAhead && target.Subfolders && folderLookaheadAllowed(maxOpen))
        ahead = std::make_unique<TFolderLookahead>([&](TPreparedFolder& folder, uint16_t level) {
            folder.matched = matchesOf(folder.listing, level >= target.MinLevel, false);
        });
    // The sub-folders of `listing` the walk will enter, in order, but the
    // first: the walk reads that one at once itself, and a chain of single
    // sub-folders is walked without handing anything over.
    auto subfolders = [&](DirectoryListing& listing) {
        std::vector<TFolderLookahead::Child> children;
        bool first = true;
        for (size_t i = 0; i < listing.size(); ++i) {
            if (!isWalkedSubfolder(listing, i))
                continue;
            if (!first)
                children.push_back({i, std::string(listing.name(i))});
            first = false;
        }
        return children;
    };
    // Every change to a folder descriptor on the stack is made under the
    // lookahead's lock: its thread opens sub-folders relative to them.
    auto fdLock = [&] {
        return ahead ? std::unique_lock<std::mutex>(ahead->fdMutex()) : std::unique_lock<std::mutex>();
    };
    auto releaseFrameFd = [&](Frame& f) {
        const auto lock = fdLock();
        f.listing.releaseFd();
    };
    auto reopenFrameFd = [&](Frame& f, int parentFd, const std::string& name) {
        const auto lock = fdLock();
        return f.listing.reopenFd(parentFd, name);
    };

    // How frame `k`'s parent reaches it (the root: its path as given).
    auto nameInParent = [&](size_t k) {
        if (k == 0)
            return rootOpen;
        const size_t from = stack[k - 1]->pathEnd;
        return path.substr(from, stack[k]->pathEnd - from - 1);
    };

    // Runs `open` again after closing the lowest open ancestor below frame
    // `keepFrom` for as long as the process is out of descriptors and such an
    // ancestor is left. Open frames stay one run at the top of the stack, which
    // is what reopen relies on.
    auto openWithRoom = [&](size_t keepFrom, auto&& open) -> std::error_code {
        for (;;) {
            const std::error_code e = open();
            if (!isDescriptorShortage(e))
                return e;
            // What was read ahead is let go first.
            if (ahead && ahead->stop())
                continue;
            size_t k = 0;
            while (k < keepFrom && stack[k]->listing.fd() < 0)
                ++k;
            if (k >= keepFrom)
                return e;
            releaseFrameFd(*stack[k]);
        }
    };

    // Enters the folder `path` names: announces it, reports its matches, and
    // keeps it on the stack when its sub-folders are to be walked. False when
    // aborted.
    auto enter = [&](int parentFd, const std::string& name, Frame* parent, size_t index) -> bool {
        if (aborted())
            return false;
        ++m_level;
        TFolderIgnore ignore = m_handler.folderChange(path);
        if (aborted()) {
            --m_level;
            return false;
        }
        auto frame = std::make_unique<Frame>();
        frame->pathEnd = path.size();
        DirectoryListing& listing = frame->listing;
        const bool listFiles = (ignore == fiNone || ignore == fiJustSubfolders) && m_level >= target.MinLevel;
        std::vector<size_t> matched;
        TPreparedFolder prepared;
        if (ahead && parent && ahead->take(parent->listing, index, prepared)) {
            listing = std::move(prepared.listing);
            g_foldersReadAhead.fetch_add(1, std::memory_order_relaxed);
            if (listFiles)
                matched = std::move(prepared.matched);
        } else {
            // A folder that cannot be listed yields nothing and no error.
            openWithRoom(stack.size() > 0 ? stack.size() - 1 : 0, [&] {
                return listing.open(parentFd, name, parent ? &parent->listing : nullptr);
            });
            matched = matchesOf(listing, listFiles, !ahead);
        }
        for (size_t index : matched) {
            if (aborted()) {
                --m_level;
                return false;
            }
            // An entry whose details could not be read while it was tested (it
            // vanished) is passed over rather than reported with zeroes.
            if (m_handler.isAcceptable(m_criteria, path, listing, index) && !listing.detailsUnreadable(index) &&
                !aborted())
                m_handler.fileMatch(path, listing, index);
        }
        const bool walkSubfolders = target.Subfolders && (ignore == fiNone || ignore == fiJustThis) &&
            (target.MaxLevel == 0 || m_level < target.MaxLevel) && listing.fd() >= 0;
        if (!walkSubfolders) {
            --m_level;
            return true;
        }
        stack.push_back(std::move(frame));
        // Deep walks keep only the nearest folders open.
        if (stack.size() > maxOpen)
            releaseFrameFd(*stack[stack.size() - 1 - maxOpen]);
        if (ahead)
            ahead->offer(stack.back()->listing, static_cast<uint16_t>(m_level + 1), subfolders(listing));
        return true;
    };

    // Gives frame `at` its descriptor back: through ".." of the sub-folder just
    // left when possible, else down from the nearest open ancestor.
    auto reopen = [&](size_t at, int childFd) -> bool {
        Frame& f = *stack[at];
        if (childFd >= 0 && !openWithRoom(at, [&] { return reopenFrameFd(f, childFd, ".."); }))
            return true;
        size_t j = at;
        while (j > 0 && stack[j - 1]->listing.fd() < 0)
            --j;
        for (size_t k = j; k <= at; ++k) {
            const int parentFd = k == 0 ? kWorkingFolder : stack[k - 1]->listing.fd();
            const std::string name = nameInParent(k);
            Frame& g = *stack[k];
            if (openWithRoom(k > 0 ? k - 1 : 0, [&] { return reopenFrameFd(g, parentFd, name); }))
                return false;
        }
        return true;
    };

    if (!enter(kWorkingFolder, rootOpen, nullptr, 0))
        return;

    while (!stack.empty()) {
        Frame& top = *stack.back();
        DirectoryListing& listing = top.listing;
        bool descended = false;
        while (top.next < listing.size()) {
            if (aborted())
                return;
            const size_t i = top.next++;
            if (!isWalkedSubfolder(listing, i))
                continue;
            const std::string_view name = listing.name(i);
            path.resize(top.pathEnd);
            path.append(name);
            path.push_back('/');
            if (!enter(listing.fd(), std::string(name), &top, i))
                return;
            descended = true;
            break;
        }
        if (descended)
            continue;
        // This folder is done: leave it.
        int childFd = -1;
        std::unique_ptr<Frame> done = std::move(stack.back());
        stack.pop_back();
        if (ahead)
            ahead->leave(done->listing);
        --m_level;
        if (!stack.empty() && stack.back()->listing.fd() < 0) {
            childFd = done->listing.fd();
            if (!reopen(stack.size() - 1, childFd))
                stack.back()->next = stack.back()->listing.size();  // cannot go on there
        }
    }
}

}  // namespace korvala
