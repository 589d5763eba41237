#pragma once
// The File/Folder Information page (shtFFI).

#include "app/pages/ToolPage.h"

class TFileFolderInformationPage : public TToolPage {
    Q_OBJECT

public:
    explicit TFileFolderInformationPage(const TPageContext& context);

};
