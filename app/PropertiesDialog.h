#pragma once
// A read-only properties window for one file or folder, used when no file
// manager offers its own: name, folder, size, type, the three time stamps and
// the permissions.

#include <string>

#include <QDialog>

class TfrmProperties : public QDialog {
    Q_OBJECT

public:
    explicit TfrmProperties(const std::string& path, QWidget* parent = nullptr);
};
