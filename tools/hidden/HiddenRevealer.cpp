#include "tools/hidden/HiddenRevealer.h"

#include "platform/DirectoryListing.h"
#include "platform/FileAttributes.h"
#include "search/SearchWalker.h"

namespace korvala {

TSearchCriteria HiddenScanCriteria(const std::string& folder, bool includeSystem)
{
    TSearchCriteria criteria;
    criteria.Attributes().setHidden(fsSet);
    criteria.Attributes().setSystem(includeSystem ? fsIgnore : fsUnset);
    criteria.Attributes().setDirectory(fsIgnore);
    std::string target = folder;
    if (target.empty() || target.back() != '/')
        target += '/';
    criteria.Files().setPaths({target});
    return criteria;
}

void ScanHiddenEntries(const TSearchCriteria& criteria, const std::atomic<bool>& aborted,
    const std::function<void(const std::string& path)>& match)
{
    class Handler : public SearchWalkHandler {
    public:
        explicit Handler(const std::function<void(const std::string&)>& match) : m_match(match) {}
        void fileMatch(const std::string& folder, DirectoryListing& listing, size_t index) override
        {
            m_match(folder + std::string(listing.name(index)));
        }

    private:
        const std::function<void(const std::string&)>& m_match;
    };
    Handler handler(match);
    SearchWalker walker(criteria, aborted, handler);
    walker.runAll();
}

bool hiddenByName(const std::string& path)
{
    size_t end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    const size_t slash = path.rfind('/', end - 1);
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    return start < end && path[start] == '.';
}

TRevealResult RevealEntry(const std::string& path)
{
    TRevealResult result;
    uint32_t word = 0;
    if ((result.error = readFileAttributes(path, word)))
        return result;
    if ((result.error = changeFileAttributes(path, 0, FILE_ATTRIBUTE_HIDDEN)))
        return result;
    result.outcome = hiddenByName(path) ? TRevealOutcome::roStillHidden : TRevealOutcome::roRevealed;
    return result;
}

std::vector<TRevealResult> RevealEntries(const std::vector<std::string>& paths, TRevealWhich which,
    const std::vector<bool>& selected)
{
    std::vector<TRevealResult> done;
    for (size_t i = 0; i < paths.size(); ++i)
        if (which == TRevealWhich::rwAll || (i < selected.size() && selected[i]))
            done.push_back(RevealEntry(paths[i]));
    return done;
}

}  // namespace korvala
