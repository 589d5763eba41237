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
class TToolRun;
struct TPerEntryOptions;

class TDateTimeChangerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TDateTimeChangerPage(const TPageContext& context);

    TItemList* itemList() const override { return DTCList; }
    // The pickers show the present; the "Set by Reference" tab is hidden.
    void formCreate() override;

    // Shows the focused entry's three times in the CURRENT groups.
    void DTCListClick();
    void Button14Click();  // Reset Date
    void Button15Click();  // Reset Time
    void Button38Click();  // Info

    // The runs of "Set by Specified DateTime" (trdDTC1, Button11) and "Set by
    // Age" (trdDTC2, Button12): CHANGE DATETIME / ABORT.
    TToolRun* runSpecified = nullptr;
    TToolRun* runByAge = nullptr;

    // The controls: the item list block (DTCList with Label4, Label3 and
    // Button8..Button10) and the three sub-pages.
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
    void bindRuns();
    // The per-entry options of a run of worker: announces each entry.
    TPerEntryOptions visitingFor(TBackgroundWorker& worker);
};
