#pragma once
// The Splitter & Joiner page (shtSJ): a file cut into numbered parts on
// trdSplit, a run of parts joined back on trdJoin; both may run at once.

#include <functional>
#include <string>

#include "app/kit/ToolRun.h"
#include "app/pages/ToolPage.h"
#include "tools/splitjoin/SplitJoin.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class TSplitterJoinerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TSplitterJoinerPage(const TPageContext& context);

    // A file brought from outside: the file to split, or the first part to
    // join (txtSplit, txtJoin).
    void setSplitFile(const QString& path);
    void setJoinFile(const QString& path);

    void Button26Click();   // browse for the file to split
    void Button31Click();   // browse for the first part to join

    // The runs of trdSplit (SPLIT / Abort Split) and trdJoin (JOIN / Abort Join).
    TToolRun* splitRun = nullptr;
    TToolRun* joinRun = nullptr;

    QGroupBox* GroupBox10 = nullptr;
    QLabel* Label41 = nullptr;
    QLineEdit* txtSplit = nullptr;
    QPushButton* Button26 = nullptr;
    QLabel* Label43 = nullptr;
    QSpinBox* spnPart = nullptr;
    QLabel* Label44 = nullptr;
    QPushButton* btnSplit = nullptr;
    QGroupBox* GroupBox11 = nullptr;
    QLabel* Label42 = nullptr;
    QLineEdit* txtJoin = nullptr;
    QPushButton* Button31 = nullptr;
    QPushButton* btnJoin = nullptr;

private:
    // What a run was started with and how it ended. The inputs are written
    // on the window thread before Start; the end and the reason on the work
    // thread, and read on the window thread only once the run has completed.
    struct Run {
        std::string path;
        int parts = korvala::kMinSplitParts;
        korvala::TRunEnd end = korvala::TRunEnd::reCompleted;
        std::string reason;
    };
    Run m_split;
    Run m_join;

    using Engine = std::function<korvala::TRunEnd(const Run& run, const korvala::CancelRequested& cancel,
        const korvala::AcceptCancel& accept, const korvala::FailureReport& failed)>;
    // One run of the page: takeInputs fills the run's inputs from the page
    // (false: nothing starts), engine runs on the worker, endText makes the
    // message of a failed run.
    TToolRun* bindRun(const QString& workerName, QPushButton* button, TToolRunTexts texts, Run& state,
        std::function<bool(Run&)> takeInputs, Engine engine,
        std::string (*endText)(korvala::TRunEnd, const std::string&));
};
