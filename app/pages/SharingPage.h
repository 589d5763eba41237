#pragma once
// The Sharing page (shtShare): shares a folder on the network, stops sharing
// one by its name, and lists the shares of this machine's file server. Every
// action runs on the window's thread; the listing is refreshed when the page
// is opened and after each action.

#include "app/pages/ToolPage.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TSharingPage : public TToolPage {
    Q_OBJECT

public:
    explicit TSharingPage(const TPageContext& context);

    void pageSelected() override;

    void GetShareInfo();    // the listing into mmShare
    void btnShareClick();   // SHARE
    void BitBtn1Click();    // STOP SHARING
    void Button47Click();   // Start: the file server, in a terminal
    void Button48Click();   // "...": browse for the folder
    void Button49Click();   // Info

    QLabel* Label69 = nullptr;
    QLineEdit* txtSharename = nullptr;
    QLabel* Label70 = nullptr;
    QLineEdit* txtResource = nullptr;
    QPushButton* Button48 = nullptr;
    QLabel* Label71 = nullptr;
    QLineEdit* txtComment = nullptr;
    QPushButton* btnShare = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* Label68 = nullptr;
    QPlainTextEdit* mmShare = nullptr;
    QLabel* Label67 = nullptr;
    QPushButton* Button47 = nullptr;
    QPushButton* Button49 = nullptr;

private:
    // After a failed share or unshare: what net said, and what to do.
    void reportFailure(const std::string& message);
};
