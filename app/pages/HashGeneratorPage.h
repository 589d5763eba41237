#pragma once
// The Hash page's "Hash Generator" sub-page (shtHGen): the file list, the
// twelve algorithm ticks, the report memo and the run of trdHash that writes
// the report.

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TItemList;
class TPageContext;
class TToolRun;

class THashGeneratorPage : public QWidget {
    Q_OBJECT

public:
    THashGeneratorPage(const TPageContext& context, QWidget* parent);

    // CRC32, MD5 and SHA-1 ticked; the two-line "Invert Check" caption.
    void formCreate();

    void Button21Click();   // Check All
    void Button22Click();   // Uncheck All
    void Button23Click();   // Invert Check
    void Button17Click();   // Copy to Clipboard

    // The run of trdHash, started and stopped by btnGHash (GENERATE HASH / ABORT).
    TToolRun* run = nullptr;

    // The item list block (HList, Label27, Label26, Button20, Button19,
    // Button18) and the sub-page's other controls.
    TItemList* HList = nullptr;
    QLabel* Label27 = nullptr;
    QLabel* Label26 = nullptr;
    QPushButton* Button20 = nullptr;
    QPushButton* Button19 = nullptr;
    QPushButton* Button18 = nullptr;
    QLabel* Label28 = nullptr;
    QGroupBox* GroupBox8 = nullptr;
    QListWidget* chkHash = nullptr;     // twelve checkable items
    QPushButton* Button21 = nullptr;
    QPushButton* Button23 = nullptr;
    QPushButton* Button22 = nullptr;
    QGroupBox* GroupBox9 = nullptr;
    QPlainTextEdit* mHash = nullptr;
    QPushButton* btnGHash = nullptr;
    QCheckBox* chkLCase = nullptr;
    QPushButton* Button17 = nullptr;
    QProgressBar* pbHash = nullptr;

signals:
    // Emitted on the window thread each time a run is about to read the list
    // entry at position, before it is read. Lets an observer act at a known
    // point of a run (abort, change the ticks or the list, as the user could).
    void hashEntryRequested(int position);

private:
    bool mayStart();
    void generate(class TBackgroundWorker& worker);
};
