#pragma once
// The Attribute Changer page (shtAC): sets, clears or keeps Read-Only, Hidden,
// System and Archive on every entry of its list, on the worker trdAC.

#include "app/pages/ToolPage.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TItemList;
class TToolRun;

class TAttributeChangerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TAttributeChangerPage(const TPageContext& context);

    TItemList* itemList() const override { return ACList; }

    // Shows the current entry's attributes in the display group.
    void ACListClick();
    void Button7Click();  // Blank: every NEW box unchecked
    void Button6Click();  // Reset: every NEW box grayed

    // The run of trdAC, started and stopped by Button5 (CHANGE ATTRIBUTE / ABORT).
    TToolRun* run = nullptr;

    // The controls: the item list block (ACList with its counter Label2,
    // caption Label1 and buttons Button2..Button4), the display group of the
    // current entry, the NEW choices and the start button.
    TItemList* ACList = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;

    // " CURRENT Attribute (Selected) ": display only.
    QGroupBox* GroupBox2 = nullptr;
    QCheckBox* oSYS = nullptr;
    QCheckBox* oRO = nullptr;
    QCheckBox* oHDN = nullptr;
    QCheckBox* oARC = nullptr;
    QCheckBox* oCOM = nullptr;

    // " NEW Attribute ": three-state choices (checked set, unchecked clear,
    // grayed keep).
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* nSYS = nullptr;
    QCheckBox* nRO = nullptr;
    QCheckBox* nHDN = nullptr;
    QCheckBox* nARC = nullptr;
    QCheckBox* nCOM = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button6 = nullptr;

    QPushButton* Button5 = nullptr;

signals:
    // Emitted on the window thread each time a run is about to read the entry
    // at position, before it is read. Lets an observer act at a known point
    // of a run (the list may be changed from here, as the user could).
    void entryRequested(int position);
};
