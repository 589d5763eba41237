#pragma once
// The Splitter & Joiner page (shtSJ).

#include "app/pages/ToolPage.h"

class TSplitterJoinerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TSplitterJoinerPage(const TPageContext& context);

};
