#pragma once
// The Folder Icon Changer page (shtFIC): a folder's icon and tooltip in its
// desktop.ini, for one folder (shtSFIC) or for a list of dropped folders
// (shtBFIC). Everything runs on the window's thread.

#include "app/pages/ToolPage.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TItemList;

class TFolderIconChangerPage : public TToolPage {
    Q_OBJECT

public:
    explicit TFolderIconChangerPage(const TPageContext& context);

    // Shows the drop hint exactly while lstBFIC is empty.
    void updateDropHint();
    // A dropped folder for the batch list: appended when it is an existing
    // folder not listed yet; the counter and the hint follow.
    void addBatchFolder(const std::string& path);
    // A dropped folder for the single sub-page: its settings loaded.
    void setSingleFolder(const QString& folder);
    // Counter of lstBFIC and the drop hint after items came from outside.
    void refreshBatchList();
    // True while the batch sub-page (shtBFIC) is the active one.
    bool batchSubPageActive() const;
    void selectBatchSubPage();

    void Button33Click();    // browse for the single folder
    void Button32Click();    // pick the single icon
    void ficIconChange();
    void ficIndexChange();
    void Button1Click();     // CHANGE FOLDER ICON (single)
    void ficResetClick();    // RESET FOLDER ICON (single)
    void Button58Click();    // pick the batch icon
    void bficICLocChange();
    void bficIndexChange();
    void bficChangeClick();  // CHANGE FOLDER ICON (batch)
    void Button59Click();    // RESET FOLDER ICON (batch)
    void Label77DblClick();  // the title: refresh the file managers' view only

    QTabWidget* pcFIC = nullptr;
    QWidget* shtSFIC = nullptr;
    QWidget* shtBFIC = nullptr;

    QLabel* Label49 = nullptr;
    QLineEdit* ficFolder = nullptr;
    QPushButton* Button16 = nullptr;
    QLabel* Label50 = nullptr;
    QComboBox* ficIcon = nullptr;
    QPushButton* Button32 = nullptr;
    QLabel* Label52 = nullptr;
    QSpinBox* ficIndex = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* ficICO = nullptr;
    QCheckBox* chkCopyIcon = nullptr;
    QLabel* Label51 = nullptr;
    QLineEdit* ficInfo = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* ficReset = nullptr;

    // The item list block; its buttons are wired by the block.
    TItemList* lstBFIC = nullptr;
    QLabel* totBFIC = nullptr;
    QLabel* Label92 = nullptr;
    QPushButton* BitBtn16 = nullptr;
    QPushButton* BitBtn17 = nullptr;
    // The drop hint over the middle of lstBFIC, visible exactly while it is empty.
    QLabel* pnlbfic = nullptr;
    QLabel* Label95 = nullptr;
    QComboBox* bficICLoc = nullptr;
    QPushButton* Button58 = nullptr;
    QLabel* Label94 = nullptr;
    QSpinBox* bficIndex = nullptr;
    QFrame* Panel4 = nullptr;
    QLabel* bficICO = nullptr;
    QCheckBox* bficCopyIcon = nullptr;
    QPushButton* bficChange = nullptr;
    QPushButton* Button59 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadSingleSettings();
    QString pickIcon(const QString& initialFolder);
    // Where the batch icon picker started last (it starts there again).
    QString m_lastBatchIconFolder;
};
