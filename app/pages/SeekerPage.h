#pragma once
// The Seeker page (shtSkr).

#include "app/pages/ToolPage.h"

class TSeekerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TSeekerPage(TfrmKorvala& form);

};
