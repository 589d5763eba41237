#pragma once
// The DateTime Changer page (shtDTC): rewrites the three time stamps of every
// entry of its list, either to chosen dates and times (sub-page shtSDT, worker
// trdDTC1) or moved by signed amounts (sub-page shtADT, worker trdDTC2).

#include <string>

#include "app/pages/ToolPage.h"

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimeEdit;
class TBackgroundWorker;
class TItemList;

class TDateTimeChangerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TDateTimeChangerPage(TfrmKorvala& form);

    TItemList* itemList() const override { return DTCList; }
    // The pickers show the present; the "Set by Reference" tab is hidden.
    void formCreate() override;

    // Item list buttons.
    void Button8Click();
    void Button9Click();
    void Button10Click();
    // Shows the focused entry's three times in the CURRENT groups.
    void DTCListClick();
    void Button11Click();  // CHANGE DATETIME / ABORT of "Set by Specified DateTime"
    void Button12Click();  // CHANGE DATETIME / ABORT of "Set by Age"
    void Button14Click();  // Reset Date
    void Button15Click();  // Reset Time
    void Button38Click();  // Info

    // Work procedures (work threads) and completions (window thread).
    void trdDTC1Work(TBackgroundWorker& worker);
    void trdDTC1WorkComplete(TBackgroundWorker& worker, bool cancelled);
    void trdDTC2Work(TBackgroundWorker& worker);
    void trdDTC2WorkComplete(TBackgroundWorker& worker, bool cancelled);

    // Controls, named as the window description names them.
    TItemList* DTCList = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;

    QTabWidget* PageControl2 = nullptr;
    QWidget* shtSDT = nullptr;
    QWidget* shtADT = nullptr;
    QWidget* shtRDT = nullptr;

    // "Set by Specified DateTime".
    QGroupBox* GroupBox4 = nullptr;
    QLabel* lblCreate1 = nullptr;
    QLabel* lblMod1 = nullptr;
    QLabel* lblAccess1 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    // Each picker has its check box ("<picker>Check"); an unticked picker
    // keeps that part of the current value.
    QDateEdit* DCreate1 = nullptr;
    QTimeEdit* TCreate1 = nullptr;
    QDateEdit* DMod1 = nullptr;
    QTimeEdit* TMod1 = nullptr;
    QDateEdit* DAccess1 = nullptr;
    QTimeEdit* TAccess1 = nullptr;
    QCheckBox* DCreate1Check = nullptr;
    QCheckBox* TCreate1Check = nullptr;
    QCheckBox* DMod1Check = nullptr;
    QCheckBox* TMod1Check = nullptr;
    QCheckBox* DAccess1Check = nullptr;
    QCheckBox* TAccess1Check = nullptr;
    QPushButton* Button11 = nullptr;

    // "Set by Age".
    QGroupBox* GroupBox5 = nullptr;
    QLabel* lblCreate2 = nullptr;
    QLabel* lblMod2 = nullptr;
    QLabel* lblAccess2 = nullptr;
    QGroupBox* GroupBox7 = nullptr;
    QSpinBox* CDD = nullptr;
    QSpinBox* CDM = nullptr;
    QSpinBox* CDY = nullptr;
    QSpinBox* CTH = nullptr;
    QSpinBox* CTM = nullptr;
    QSpinBox* CTS = nullptr;
    QSpinBox* MDD = nullptr;
    QSpinBox* MDM = nullptr;
    QSpinBox* MDY = nullptr;
    QSpinBox* MTH = nullptr;
    QSpinBox* MTM = nullptr;
    QSpinBox* MTS = nullptr;
    QSpinBox* ADD = nullptr;
    QSpinBox* ADM = nullptr;
    QSpinBox* ADY = nullptr;
    QSpinBox* ATH = nullptr;
    QSpinBox* ATM = nullptr;
    QSpinBox* ATS = nullptr;
    QPushButton* Button14 = nullptr;
    QPushButton* Button15 = nullptr;
    QPushButton* Button38 = nullptr;
    QPushButton* Button12 = nullptr;

    // "Set by Reference" (tab hidden): copies of the current-time labels.
    QLabel* lblCreate3 = nullptr;
    QLabel* lblMod3 = nullptr;
    QLabel* lblAccess3 = nullptr;

signals:
    // Emitted on the window thread each time a run of worker is about to read
    // the entry at position, before it is read (see the Attribute Changer).
    void entryRequested(TBackgroundWorker* worker, int position);

private:
    void startOrCancel(TBackgroundWorker* worker, QPushButton* button);
    void finishRun(TBackgroundWorker& worker, QPushButton* button);
    // The path at position, read on the window thread for a run.
    std::string entryForRun(TBackgroundWorker* worker, int position);
};
