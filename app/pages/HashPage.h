#pragma once
// The Hash page (shtHash): a tab control with three sub-pages, each a class
// of its own: the report generator (shtHGen, worker trdHash), the checksum
// verifier (shtVCheck, worker trdVChk) and the file comparer (shtCompF,
// worker trdCF). The three workers are independent, so all three may run at
// once.

#include "app/pages/ToolPage.h"

class QTabWidget;
class THashComparePage;
class THashGeneratorPage;
class THashVerifyPage;

class THashPage : public TToolPage {
    Q_OBJECT

public:
    explicit THashPage(const TPageContext& context);

    TItemList* itemList() const override;
    // The tool's start-up defaults of the generator and the verifier.
    void formCreate() override;

    enum class TSubPage { Generator, Verifier, Comparer };
    TSubPage activeSubPage() const;
    // A checksum file brought from outside: the verifier's field vcLoc.
    void setChecksumFile(const QString& path);

    QTabWidget* PageControl5 = nullptr;
    THashGeneratorPage* generator = nullptr;  // shtHGen
    THashVerifyPage* verifier = nullptr;      // shtVCheck
    THashComparePage* comparer = nullptr;     // shtCompF
};
