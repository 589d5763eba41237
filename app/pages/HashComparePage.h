#pragma once
// The Hash page's "Compare Files" sub-page (shtCompF): the same digest of two
// files and whether they are equal, on trdCF.

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

class THashComparePage : public QWidget {
    Q_OBJECT

public:
    THashComparePage(const TPageContext& context, QWidget* parent);

    void Button44Click();   // browse for the first file
    void Button45Click();   // browse for the second file

    // The algorithm that the list position stands for (by name: SHA-384 and
    // SHA-512 are not offered here).
    static korvala::HashAlgorithm compareAlgorithmAt(int position);

    // The run of trdCF, started and stopped by btnCompare (COMPARE / ABORT).
    TToolRun* run = nullptr;

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

private:
    struct Input {
        std::string path1, path2;
        korvala::HashAlgorithm algorithm = korvala::HashAlgorithm::haCRC32;
    };
    Input m_input;
};
