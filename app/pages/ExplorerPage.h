#pragma once
// The Explorer page (shtExp).

#include "app/pages/ToolPage.h"

class TExplorerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TExplorerPage(const TPageContext& context);

};
