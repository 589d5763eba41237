#pragma once
// TfrmUCheck, the update check window: this program's version beside the
// latest one that the chosen update server publishes, the server buttons,
// "Check for Update" and the result label, a link when an update exists.
// The check runs on the window's thread (update/UpdateCheck.h); the window
// takes no input while it waits for the server.

#include <cstdint>
#include <functional>
#include <string>

#include <QColor>
#include <QDialog>

#include "update/Download.h"

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
class QWidget;

// A colour given as the number of the window description (blue in the low
// byte, then green, then red).
QColor colorFromNumber(uint32_t number);

class TfrmUCheck : public QDialog {
    Q_OBJECT

public:
    explicit TfrmUCheck(QWidget* parent = nullptr);
    ~TfrmUCheck() override;

    // The product's number: the section of the update file that is read.
    int Tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    // Colours the strips behind both headers.
    void setHeaderColor(const QColor& color);

    // --- Handlers -----------------------------------------------------------
    void FormCreate();
    void ServerSelect(QAbstractButton* sender);
    void BitBtn1Click();
    void lblResClick();
    void FormKeyPress(int key);

    // --- Controls -----------------------------------------------------------
    QFrame* Panel1 = nullptr;
    QWidget* Shape1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblCurrent = nullptr;
    QFrame* Panel2 = nullptr;
    QWidget* Shape2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblLatest = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QToolButton* srv1 = nullptr;
    QToolButton* srv2 = nullptr;
    QToolButton* srv4 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* lblRes = nullptr;

    // The full address of the update file on the chosen server.
    const std::string& updateAddress() const { return m_updateAddress; }
    // The address lblRes opens when clicked; empty when it opens nothing.
    const std::string& downloadAddress() const { return m_downloadAddress; }

    // How the check asks whether the machine is online, and how long it
    // waits for the server; tests replace them.
    std::function<bool(const std::string& updateAddress)> connectionTest;
    korvala::TDownloadOptions downloadOptions;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TResultView;
    friend class TResultView;

    QFrame* versionPanel(const QString& name, const QString& header, QWidget*& shape, QLabel*& headerLabel,
        QLabel*& versionLabel, int x);

    int m_tag = 0;
    std::string m_updateAddress;
    std::string m_downloadAddress;
    QButtonGroup* m_servers = nullptr;
};
