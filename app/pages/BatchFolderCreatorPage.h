#pragma once
// The Batch Folder Creator page (shtBFC): one folder path per line, each
// created with its missing parent folders when CREATE is pressed; lines that
// name no folder leave the box.

#include "app/pages/ToolPage.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TBatchFolderCreatorPage : public TToolPage {
    Q_OBJECT

public:
    explicit TBatchFolderCreatorPage(const TPageContext& context);

    void sBitBtn1Click();  // CREATE

    QLabel* Label96 = nullptr;
    QPlainTextEdit* lstBFC = nullptr;
    QPushButton* sBitBtn1 = nullptr;
};
