#pragma once
// The Seeker page as plain values, and the criteria it stands for. The page and
// the command line both build their search through buildSeekerCriteria.
// Nothing here throws: a location that names no existing folder is left out.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "search/SearchCriteria.h"
#include "search/TargetPaths.h"

namespace korvala {

enum class SeekerSizeUnit { Bytes, KB, MB, GB };

// A three-state attribute box: checked (must be set), unchecked (must be
// clear), grayed (not tested).
enum class SeekerCheck { Checked, Unchecked, Grayed };

// One bound's check boxes and pickers ("Before Date:", "Before Time:" or the
// "After" pair).
struct SeekerTimeBound {
    bool dateChecked = false;
    TDateTime date = 0;  // only its date is used
    bool timeChecked = false;
    TDateTime time = 0;  // only its time of day is used
};

struct SeekerTimeKind {
    SeekerTimeBound before;
    SeekerTimeBound after;
};

struct SeekerPageState {
    std::string fileName = "*.*";         // skrFTS
    std::string containing;               // skrContain
    bool caseSensitive = false;           // chkCase
    bool wholeWord = false;               // chkWhole
    bool exclude = false;                 // chkExclude
    std::vector<std::string> locations;   // skrLoc, one line each
    bool includeSubfolders = true;        // chkSub
    int64_t sizeMin = 0;                  // SizeMin (the page: 0 to 32767)
    SeekerSizeUnit sizeMinUnit = SeekerSizeUnit::KB;
    int64_t sizeMax = 0;                  // SizeMax (the page: 0 to 32767)
    SeekerSizeUnit sizeMaxUnit = SeekerSizeUnit::KB;
    SeekerTimeKind created, modified, accessed;
    // The fifteen attribute boxes, indexed like kSeekerAttributeOrder.
    std::array<SeekerCheck, 15> attributes = initialAttributeChecks();

    static std::array<SeekerCheck, 15> initialAttributeChecks();
};

// The order in which the page sets the attribute properties (and the index of
// each box in SeekerPageState::attributes): Archive, Readonly, Hidden, System,
// Directory, Compressed, Encrypted, Offline, ReparsePoint, SparseFile,
// Temporary, Device, Normal, Virtual, NotContentIndexed.
extern const uint32_t kSeekerAttributeOrder[15];

int64_t seekerUnitBytes(SeekerSizeUnit unit);

// The roots one line of the location box stands for, each an existing folder
// with the recursion values it is walked with (starting from the ones passed
// in). A line that names an existing folder exactly as typed is that folder:
// its ">", "<", ";" and blanks are part of the name. Any other line is a ";"
// list of items in the target-folder syntax ("2>/data", "</tmp"), and each
// item whose folder exists is a root. Every folder is absolute and ends in
// "/", so the folder found here is the one the search lists.
std::vector<TRootFolder> seekerLocationRoots(
    const std::string& line, bool subfolders, uint16_t minLevel, uint16_t maxLevel);

// Fills `criteria` from the page, in the page's order of steps.
void buildSeekerCriteria(const SeekerPageState& page, TSearchCriteria& criteria);

}  // namespace korvala
