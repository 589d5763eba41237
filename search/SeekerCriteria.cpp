#include "search/SeekerCriteria.h"

#include <cmath>

#include "platform/File.h"
#include "platform/FileAttributes.h"
#include "platform/Paths.h"
#include "search/TargetPaths.h"
#include "search/Wildcard.h"

namespace korvala {

const uint32_t kSeekerAttributeOrder[15] = {
    FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
    FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_COMPRESSED, FILE_ATTRIBUTE_ENCRYPTED, FILE_ATTRIBUTE_OFFLINE,
    FILE_ATTRIBUTE_REPARSE_POINT, FILE_ATTRIBUTE_SPARSE_FILE, FILE_ATTRIBUTE_TEMPORARY, FILE_ATTRIBUTE_DEVICE,
    FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_VIRTUAL, FILE_ATTRIBUTE_NOT_CONTENT_INDEXED,
};

std::array<SeekerCheck, 15> SeekerPageState::initialAttributeChecks()
{
    std::array<SeekerCheck, 15> a;
    a.fill(SeekerCheck::Grayed);
    // Hidden, System and Directory start unchecked: the page finds neither hidden
    // nor system entries nor folders.
    a[2] = a[3] = a[4] = SeekerCheck::Unchecked;
    return a;
}

int64_t seekerUnitBytes(SeekerSizeUnit unit)
{
    switch (unit) {
    case SeekerSizeUnit::Bytes: return 1;
    case SeekerSizeUnit::KB: return 1024;
    case SeekerSizeUnit::MB: return 1048576;
    case SeekerSizeUnit::GB: return 1073741824;
    }
    return 1;
}

namespace {

bool isExistingFolder(const std::string& path)
{
    TFileStatus st;
    return !pathStatus(path, true, st) && st.isDirectory();
}

}  // namespace

std::vector<TRootFolder> seekerLocationRoots(
    const std::string& line, bool subfolders, uint16_t minLevel, uint16_t maxLevel)
{
    std::vector<TRootFolder> roots;
    if (line.empty())
        return roots;
    // A folder may be named "2>x", "a;b" or " x ": the line as typed comes first,
    // so such a folder is searched rather than whatever its name would parse to.
    const std::string exact = TargetFolderOf(line);
    if (isExistingFolder(exact)) {
        roots.push_back({exact, subfolders, minLevel, maxLevel});
        return roots;
    }
    for (const std::string& item : SplitFolderList(line)) {
        TRootFolder root{{}, subfolders, minLevel, maxLevel};
        const std::string_view folder = ParseTargetPrefix(item, root.Subfolders, root.MinLevel, root.MaxLevel);
        // "2>" alone names no folder (made absolute it would be the working one).
        if (folder.empty())
            continue;
        root.Folder = TargetFolderOf(folder);
        if (isExistingFolder(root.Folder))
            roots.push_back(std::move(root));
    }
    return roots;
}

namespace {

TDateTime boundValue(const SeekerTimeBound& b)
{
    TDateTime v = 0;
    if (b.dateChecked)
        v = std::trunc(b.date);
    if (b.timeChecked)
        v += b.time - std::trunc(b.time);
    return v;
}

}  // namespace

void buildSeekerCriteria(const SeekerPageState& page, TSearchCriteria& criteria)
{
    criteria.Files().setFileName(page.fileName);
    criteria.Content().setPhrase(page.containing);
    TContentSearchOptions options = 0;
    if (page.caseSensitive)
        options |= csoCaseSensitive;
    if (page.wholeWord)
        options |= csoWholeWord;
    if (page.exclude)
        options |= csoNegate;
    criteria.Content().setOptions(options);

    // The lines become exact roots, checked and made absolute here, so the
    // search lists the very folders found to exist. Location stays empty: a
    // ";" list cannot hold a folder whose name has a ";" in it.
    TFileCriteria& files = criteria.Files();
    std::vector<TRootFolder> roots;
    for (const std::string& line : page.locations) {
        std::vector<TRootFolder> lineRoots =
            seekerLocationRoots(line, page.includeSubfolders, files.MinLevel(), files.MaxLevel());
        roots.insert(roots.end(), lineRoots.begin(), lineRoots.end());
    }
    files.setLocation({});
    files.setFolders(roots);
    files.setSubfolders(page.includeSubfolders);

    for (size_t i = 0; i < 15; ++i) {
        TFileAttributeStatus s = fsIgnore;
        if (page.attributes[i] == SeekerCheck::Checked)
            s = fsSet;
        else if (page.attributes[i] == SeekerCheck::Unchecked)
            s = fsUnset;
        criteria.Attributes().setState(kSeekerAttributeOrder[i], s);
    }

    criteria.Size().Min = page.sizeMin * seekerUnitBytes(page.sizeMinUnit);
    criteria.Size().Max = page.sizeMax * seekerUnitBytes(page.sizeMaxUnit);

    TDateTimeCriteria& t = criteria.TimeStamp();
    t.Clear();
    t.CreatedBefore = boundValue(page.created.before);
    t.CreatedAfter = boundValue(page.created.after);
    t.ModifiedBefore = boundValue(page.modified.before);
    t.ModifiedAfter = boundValue(page.modified.after);
    t.AccessedBefore = boundValue(page.accessed.before);
    t.AccessedAfter = boundValue(page.accessed.after);
}

}  // namespace korvala
