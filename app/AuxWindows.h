#pragma once
// The small modal windows opened from the header: About, Donate, Support Us,
// More Software (the update check has a module of its own,
// UpdateChecker_Main). They are created when needed, shown
// through the dialogs seam and destroyed on close.

#include <QDialog>

class QCheckBox;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);
};

// The request for support. Its check box "Show this dialog when "Korvala"
// starts" is stored at once as "1" or "0" under "Software\Meridane\Support".
class TfrmDonate : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDonate(QWidget* parent = nullptr);
    QCheckBox* chkShow = nullptr;
};

class TfrmSupport : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSupport(QWidget* parent = nullptr);
};

class TfrmMoreSoftware : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMoreSoftware(QWidget* parent = nullptr);
};

// The maker's homepage and the address shown in the status bar.
extern const char* const kHomepageUrl;
extern const char* const kMakerAddress;
