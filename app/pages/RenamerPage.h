#pragma once
// The Renamer page (shtRen).

#include "app/pages/ToolPage.h"

class TRenamerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TRenamerPage(const TPageContext& context);

};
