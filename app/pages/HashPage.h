#pragma once
// The Hash page (shtHash) with its three sub-pages: the report generator
// (shtHGen, worker trdHash), the checksum verifier (shtVCheck, worker trdVChk)
// and the file comparer (shtCompF, worker trdCF). The three workers are
// independent, so all three may run at once.
//
// The generator is built in HashPage.cpp, the verifier in HashVerifyPage.cpp
// and the comparer in HashComparePage.cpp.

#include <string>

#include "app/pages/ToolPage.h"
#include "hash/HashAlgorithm.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class TBackgroundWorker;
class TItemList;

class THashPage : public TToolPage {
    Q_OBJECT

public:
    explicit THashPage(TfrmKorvala& form);

    TItemList* itemList() const override { return HList; }
    // The tool's start-up defaults: CRC32, MD5 and SHA-1 ticked, the two-line
    // "Invert Check" caption, "MD5" in the verifier's algorithm box.
    void formCreate() override;

    // --- Hash Generator -----------------------------------------------------
    void Button20Click();   // Add File(s)
    void Button19Click();   // Remove
    void Button18Click();   // Remove All
    void Button21Click();   // Check All
    void Button22Click();   // Uncheck All
    void Button23Click();   // Invert Check
    void btnGHashClick();   // GENERATE HASH / ABORT
    void Button17Click();   // Copy to Clipboard
    // trdHash's work procedure (work thread) and completion (window thread).
    void GenerateHash(TBackgroundWorker& worker);
    void trdHashWorkComplete(TBackgroundWorker& worker, bool cancelled);

    // --- Verify Checksum ----------------------------------------------------
    void Button42Click();   // browse for the file
    void Button43Click();   // Paste
    void btnVerifyClick();
    void trdVChkWork(TBackgroundWorker& worker);
    void trdVChkWorkComplete(TBackgroundWorker& worker, bool cancelled);

    // --- Compare Files ------------------------------------------------------
    void Button44Click();   // browse for the first file
    void Button45Click();   // browse for the second file
    void btnCompareClick();
    void trdCFWork(TBackgroundWorker& worker);
    void trdCFWorkComplete(TBackgroundWorker& worker, bool cancelled);

    // The algorithm that the comparer's list position stands for (by name:
    // SHA-384 and SHA-512 are not offered there).
    static korvala::HashAlgorithm compareAlgorithmAt(int position);

    // --- Controls, named as the window description names them ---------------
    QTabWidget* PageControl5 = nullptr;
    QWidget* shtHGen = nullptr;
    QWidget* shtVCheck = nullptr;
    QWidget* shtCompF = nullptr;

    // Hash Generator.
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

    // Verify Checksum.
    QLabel* Label58 = nullptr;
    QLineEdit* vcLoc = nullptr;
    QPushButton* Button42 = nullptr;
    QLabel* Label63 = nullptr;
    QLabel* Label59 = nullptr;
    QComboBox* cmbHAlg = nullptr;
    QLabel* Label60 = nullptr;
    QLineEdit* vcHCode = nullptr;
    QPushButton* Button43 = nullptr;
    QPushButton* btnVerify = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* lblVC = nullptr;

    // Compare Files.
    QLabel* Label61 = nullptr;
    QLineEdit* cfLoc1 = nullptr;
    QPushButton* Button44 = nullptr;
    QLabel* Label62 = nullptr;
    QLineEdit* cfLoc2 = nullptr;
    QPushButton* Button45 = nullptr;
    QLabel* Label64 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* btnCompare = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* hcLoc1 = nullptr;
    QLabel* hcLoc2 = nullptr;
    QLabel* CFRes = nullptr;

signals:
    // Emitted on the window thread each time a generator run is about to read
    // the list entry at position, before it is read. Lets an observer act at a
    // known point of a run (abort, change the ticks or the list, as the user
    // could).
    void hashEntryRequested(int position);

private:
    void buildGenerator();
    void buildVerifier();
    void buildComparer();
    // The shared open dialog titled "Select File"; the chosen file replaces
    // the edit box's text.
    void browseInto(QLineEdit* edit);

    // Inputs of the verifier's and the comparer's runs, taken on the window
    // thread when the run starts (before the work thread exists).
    struct VerifyInput {
        std::string path;
        korvala::HashAlgorithm algorithm = korvala::HashAlgorithm::haMD5;
        std::string expected;
    };
    struct CompareInput {
        std::string path1, path2;
        korvala::HashAlgorithm algorithm = korvala::HashAlgorithm::haCRC32;
    };
    VerifyInput m_verifyInput;
    CompareInput m_compareInput;
};
