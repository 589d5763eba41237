#include "app/ToolTable.h"

#include "app/pages/AttributeChangerPage.h"
#include "app/pages/BatchFolderCreatorPage.h"
#include "app/pages/DateTimeChangerPage.h"
#include "app/pages/DuplicateFinderPage.h"
#include "app/pages/ExplorerPage.h"
#include "app/pages/FileFolderInformationPage.h"
#include "app/pages/FileShredderPage.h"
#include "app/pages/FolderIconChangerPage.h"
#include "app/pages/HashPage.h"
#include "app/pages/HiddenRevealerPage.h"
#include "app/pages/ProtectorPage.h"
#include "app/pages/RenamerPage.h"
#include "app/pages/SeekerPage.h"
#include "app/pages/SharingPage.h"
#include "app/pages/SplitterJoinerPage.h"
#include "app/pages/TakeOwnershipPage.h"

namespace {

template <typename Page>
TToolPage* make(const TPageContext& context)
{
    return new Page(context);
}

}  // namespace

const std::vector<TToolRow>& toolTable()
{
    static const std::vector<TToolRow> rows = {
        {"spdAC", 0, "Attribute Changer", true, {"trdAC"}, make<TAttributeChangerPage>},
        {"spdBFC", 16, "Batch Folder Creator", true, {}, make<TBatchFolderCreatorPage>},
        {"spdDTC", 1, "DateTime Changer", true, {"trdDTC1", "trdDTC2"}, make<TDateTimeChangerPage>},
        {"spdDF", 2, "Duplicate Finder", true, {"trdDF"}, make<TDuplicateFinderPage>},
        {"spdExp", 3, "Explorer (Coming Soon)", false, {}, make<TExplorerPage>},
        {"spdFFI", 4, "File/Folder Information (Coming Soon)", false, {}, make<TFileFolderInformationPage>},
        {"spdFS", 5, "File Shredder", true, {"trdFS"}, make<TFileShredderPage>},
        {"spdRec", 6, "Folder Icon Changer", true, {}, make<TFolderIconChangerPage>},
        {"spdHash", 7, "Hash", true, {"trdHash", "trdVChk", "trdCF"}, make<THashPage>},
        {"spdHR", 8, "Hidden Revealer", true, {"trdRevealHDN"}, make<THiddenRevealerPage>},
        {"spdProtect", 9, "Protector", true, {}, make<TProtectorPage>},
        {"spdRen", 10, "Renamer (Coming SOON)", false, {}, make<TRenamerPage>},
        {"spdSKR", 11, "Seeker", true, {}, make<TSeekerPage>},
        {"spdShare", 12, "Sharing", true, {}, make<TSharingPage>},
        {"spdSJ", 13, "Splitter & Joiner", true, {"trdSplit", "trdJoin"}, make<TSplitterJoinerPage>},
        {"spdTO", 14, "Take Ownership", true, {}, make<TTakeOwnershipPage>},
    };
    return rows;
}
