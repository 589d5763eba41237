#pragma once
// Dialogs for the window benchmarks: every box is answered at once (OK, No,
// cancelled), so nothing waits for a user.

#include "app/Dialogs.h"

class SilentDialogs : public Dialogs {
public:
    void message(QWidget*, const QString&, Icon, const QString&) override {}
    bool confirm(QWidget*, const QString&, Icon) override { return false; }
    QStringList openFiles(QWidget*, const QString&, const QString&) override { return {}; }
    QString openFile(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFile(QWidget*, const QString&, const QString&) override { return {}; }
    QString existingDirectory(QWidget*, const QString&, const QString&) override { return {}; }
    bool input(QWidget*, const QString&, const QString&, QString&) override { return false; }
    int showModal(QDialog&) override { return 0; }
};
