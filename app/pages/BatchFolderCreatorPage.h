#pragma once
// The Batch Folder Creator page (shtBFC).

#include "app/pages/ToolPage.h"

class TBatchFolderCreatorPage : public TToolPage {
    Q_OBJECT

public:
    explicit TBatchFolderCreatorPage(const TPageContext& context);

};
