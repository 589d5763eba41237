#pragma once
// The Hash page's "Verify Checksum" sub-page (shtVCheck): one digest of one
// file against a hash code that the user typed or pasted, on trdVChk.

#include <string>

#include <QWidget>

#include "hash/HashAlgorithm.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TPageContext;
class TToolRun;

class THashVerifyPage : public QWidget {
    Q_OBJECT

public:
    THashVerifyPage(const TPageContext& context, QWidget* parent);

    // "MD5" in the algorithm box.
    void formCreate();

    void Button42Click();   // browse for the file
    void Button43Click();   // Paste

    // The run of trdVChk, started by btnVerify; it cannot be cancelled.
    TToolRun* run = nullptr;

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

private:
    // The run's inputs, taken on the window thread when it starts (before
    // the work thread exists) and only read by the work thread.
    struct Input {
        std::string path;
        korvala::HashAlgorithm algorithm = korvala::HashAlgorithm::haMD5;
        std::string expected;
    };
    Input m_input;
};
