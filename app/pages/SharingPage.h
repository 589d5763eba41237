#pragma once
// The Sharing page (shtShare).

#include "app/pages/ToolPage.h"

class TSharingPage : public TToolPage {
    Q_OBJECT

public:
    explicit TSharingPage(const TPageContext& context);

};
