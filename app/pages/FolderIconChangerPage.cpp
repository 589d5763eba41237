#include "app/pages/FolderIconChangerPage.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"
#include "app/kit/PageWidgets.h"
#include "platform/File.h"
#include "tools/foldericon/FolderIcon.h"
#include "tools/foldericon/IconExtract.h"

namespace {

const QString kChanged =
    QStringLiteral("Folder Icon Changed, please wait few seconds to see the changes!\n( Usually up to 30 Seconds )");
const QString kReset = QStringLiteral(
    "Folder Icon has been Resetted into Default, please wait few seconds to see the changes!\n( Usually up to 30 Seconds )");
// The icons first, so that the picker starts on them.
const QString kIconFilter = QStringLiteral("Icon (*.ico);;Application (*.exe);;DLL File (*.dll)");
const QStringList kLibraryLocations = {QStringLiteral("C:\\Windows\\System32\\Shell32.dll"),
    QStringLiteral("C:\\Windows\\system32\\imageres.dll"), QStringLiteral("C:\\Windows\\System32\\Moricons.dll")};

std::string bytes(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}

QComboBox* iconCombo(QWidget* parent, const char* name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->addItems(kLibraryLocations);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    return combo;
}

QSpinBox* indexSpin(QWidget* parent, const char* name)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(0, 1000);
    spin->setValue(0);
    return spin;
}

QFrame* previewPanel(QWidget* parent, const char* panelName, const char* imageName, QLabel*& image)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(panelName));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setFixedSize(72, 72);
    image = new QLabel(panel);
    image->setObjectName(QString::fromLatin1(imageName));
    image->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(image);
    return panel;
}

// The icon `index` of the file, as the preview shows it; a null image when the
// file has none (or cannot be read).
QImage iconImage(const QString& path, int index)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > (64 << 20))
        return {};
    const QByteArray data = file.readAll();
    const std::string ico = korvala::iconFileBytes(data.toStdString(), index);
    if (ico.empty())
        return {};
    return QImage::fromData(QByteArray::fromStdString(ico), "ICO");
}

void showImage(QLabel* target, const QImage& image)
{
    if (image.isNull()) {
        target->clear();
        return;
    }
    target->setPixmap(QPixmap::fromImage(image.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace

TFolderIconChangerPage::TFolderIconChangerPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtFIC"), QStringLiteral("Folder Icon Changer"), QStringLiteral("FOLDER ICON CHANGER"), QStringLiteral("Label77"))
{
    pcFIC = new QTabWidget(this);
    pcFIC->setObjectName(QStringLiteral("pcFIC"));
    shtSFIC = new QWidget;
    shtSFIC->setObjectName(QStringLiteral("shtSFIC"));
    shtBFIC = new QWidget;
    shtBFIC->setObjectName(QStringLiteral("shtBFIC"));
    pcFIC->addTab(shtSFIC, QStringLiteral("Single Folder Icon Changer"));
    pcFIC->addTab(shtBFIC, QStringLiteral("Batch Folder Icon Changer"));
    body()->addWidget(pcFIC, 1);

    // The single folder.
    Label49 = kit::boldLabel(shtSFIC, "Label49", QStringLiteral("Folder Location :"));
    ficFolder = new QLineEdit(shtSFIC);
    ficFolder->setObjectName(QStringLiteral("ficFolder"));
    Button16 = kit::button(shtSFIC, "Button16", QStringLiteral("..."));
    Button16->setFixedWidth(32);
    Label50 = kit::boldLabel(shtSFIC, "Label50", QStringLiteral("Icon Location :"));
    ficIcon = iconCombo(shtSFIC, "ficIcon");
    Button32 = kit::button(shtSFIC, "Button32", QStringLiteral("...."));
    Button32->setFixedWidth(32);
    Label52 = kit::boldLabel(shtSFIC, "Label52", QStringLiteral("Icon Index :"));
    ficIndex = indexSpin(shtSFIC, "ficIndex");
    Panel1 = previewPanel(shtSFIC, "Panel1", "ficICO", ficICO);
    chkCopyIcon = kit::checkBox(shtSFIC, "chkCopyIcon", QStringLiteral("Copy Icon to Folder Location ( *.ICO Only )"));
    chkCopyIcon->setChecked(true);
    Label51 = kit::boldLabel(shtSFIC, "Label51", QStringLiteral("Info Tip :"));
    ficInfo = new QLineEdit(shtSFIC);
    ficInfo->setObjectName(QStringLiteral("ficInfo"));
    Button1 = kit::bigStartButton(shtSFIC, "Button1", QStringLiteral("CHANGE FOLDER ICON"), QSize(190, 50), 1);
    ficReset = kit::bigStartButton(shtSFIC, "ficReset", QStringLiteral("RESET FOLDER ICON"), QSize(190, 50), 1);

    auto* single = new QGridLayout(shtSFIC);
    single->addWidget(Label49, 0, 0);
    single->addWidget(ficFolder, 1, 0, 1, 2);
    single->addWidget(Button16, 1, 2);
    single->addWidget(Label50, 2, 0);
    single->addWidget(ficIcon, 3, 0, 1, 2);
    single->addWidget(Button32, 3, 2);
    single->addWidget(Label52, 4, 0);
    single->addWidget(ficIndex, 5, 0);
    single->addWidget(Panel1, 4, 1, 3, 1, Qt::AlignCenter);
    single->addWidget(chkCopyIcon, 7, 0, 1, 3);
    single->addWidget(Label51, 8, 0);
    single->addWidget(ficInfo, 9, 0, 1, 3);
    auto* singleButtons = new QHBoxLayout;
    singleButtons->addWidget(Button1);
    singleButtons->addWidget(ficReset);
    single->addLayout(singleButtons, 10, 0, 1, 3);
    single->setRowStretch(11, 1);

    // The batch list.
    QWidget* listBlock = TItemListBlock::create(shtBFIC,
        {.list = "lstBFIC", .counter = "totBFIC", .caption = "Label92", .captionText = "Folder Location :", .remove = "BitBtn16", .removeAll = "BitBtn17", .selection = QAbstractItemView::SingleSelection},
        {.list = &lstBFIC, .counter = &totBFIC, .caption = &Label92, .remove = &BitBtn16, .removeAll = &BitBtn17}, [this] { updateDropHint(); });
    Label95 = kit::boldLabel(shtBFIC, "Label95", QStringLiteral("Icon Location :"));
    bficICLoc = iconCombo(shtBFIC, "bficICLoc");
    Button58 = kit::button(shtBFIC, "Button58", QStringLiteral("...."));
    Button58->setFixedWidth(32);
    Label94 = kit::boldLabel(shtBFIC, "Label94", QStringLiteral("Icon Index :"));
    bficIndex = indexSpin(shtBFIC, "bficIndex");
    Panel4 = previewPanel(shtBFIC, "Panel4", "bficICO", bficICO);
    bficCopyIcon = kit::checkBox(shtBFIC, "bficCopyIcon", QStringLiteral("Copy Icon to Folder Location ( *.ICO Only )"));
    bficCopyIcon->setChecked(true);
    bficChange = kit::bigStartButton(shtBFIC, "bficChange", QStringLiteral("CHANGE FOLDER ICON"), QSize(190, 50), 1);
    Button59 = kit::bigStartButton(shtBFIC, "Button59", QStringLiteral("RESET FOLDER ICON"), QSize(190, 50), 1);

    auto* batch = new QVBoxLayout(shtBFIC);
    batch->addWidget(listBlock, 1);
    auto* iconRow = new QGridLayout;
    iconRow->addWidget(Label95, 0, 0);
    iconRow->addWidget(bficICLoc, 1, 0);
    iconRow->addWidget(Button58, 1, 1);
    iconRow->addWidget(Label94, 2, 0);
    iconRow->addWidget(bficIndex, 3, 0);
    iconRow->addWidget(Panel4, 0, 2, 4, 1, Qt::AlignCenter);
    batch->addLayout(iconRow);
    batch->addWidget(bficCopyIcon);
    auto* batchButtons = new QHBoxLayout;
    batchButtons->addWidget(bficChange);
    batchButtons->addWidget(Button59);
    batch->addLayout(batchButtons);

    // The hint sits over the middle of the list; it must not take the clicks
    // meant for the list.
    pnlbfic = new QLabel(QStringLiteral("DRAG && DROP YOUR FOLDER HERE").replace(QStringLiteral("&&"), QStringLiteral("&")), lstBFIC->viewport());
    pnlbfic->setObjectName(QStringLiteral("pnlbfic"));
    pnlbfic->setAlignment(Qt::AlignCenter);
    pnlbfic->setAttribute(Qt::WA_TransparentForMouseEvents);
    pnlbfic->setStyleSheet(QStringLiteral("background-color: white; color: rgb(120, 120, 120); font-weight: bold; font-size: 12pt;"));
    auto* hintLayout = new QGridLayout(lstBFIC->viewport());
    hintLayout->addWidget(pnlbfic, 0, 0, Qt::AlignCenter);

    onClicked(Button16, this, &TFolderIconChangerPage::Button33Click);
    onClicked(Button32, this, &TFolderIconChangerPage::Button32Click);
    onClicked(Button1, this, &TFolderIconChangerPage::Button1Click);
    onClicked(ficReset, this, &TFolderIconChangerPage::ficResetClick);
    onClicked(Button58, this, &TFolderIconChangerPage::Button58Click);
    onClicked(bficChange, this, &TFolderIconChangerPage::bficChangeClick);
    onClicked(Button59, this, &TFolderIconChangerPage::Button59Click);
    connect(ficIcon, &QComboBox::editTextChanged, this, [this] { ficIconChange(); });
    connect(ficIndex, &QSpinBox::valueChanged, this, [this] { ficIndexChange(); });
    connect(bficICLoc, &QComboBox::editTextChanged, this, [this] { bficICLocChange(); });
    connect(bficIndex, &QSpinBox::valueChanged, this, [this] { bficIndexChange(); });
    titleStrip()->installEventFilter(this);
}

bool TFolderIconChangerPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == titleStrip() && event->type() == QEvent::MouseButtonDblClick)
        runGuarded(this, [this] { Label77DblClick(); });
    return TToolPage::eventFilter(watched, event);
}

void TFolderIconChangerPage::updateDropHint()
{
    pnlbfic->setVisible(lstBFIC->count() == 0);
}

void TFolderIconChangerPage::addBatchFolder(const std::string& path)
{
    // Tested on the bytes: a name that is not UTF-8 does not survive decoding.
    korvala::TFileStatus status;
    if (!korvala::pathStatus(path, true, status) && status.isDirectory() && !lstBFIC->containsPath(path))
        lstBFIC->addPath(path);
    lstBFIC->UpdateCounter();
    updateDropHint();
}

void TFolderIconChangerPage::setSingleFolder(const QString& folder)
{
    ficFolder->setText(folder);
    loadSingleSettings();
}

void TFolderIconChangerPage::loadSingleSettings()
{
    const korvala::TFolderIconSettings s = korvala::LoadFolderIconSettings(bytes(ficFolder->text()));
    ficIcon->setEditText(QFile::decodeName(QByteArray::fromStdString(s.iconLocation)));
    ficIndex->setValue(std::clamp(s.iconIndex, 0, 1000));
    ficInfo->setText(QFile::decodeName(QByteArray::fromStdString(s.infoTip)));
    ficIndexChange();
}

void TFolderIconChangerPage::Button33Click()
{
    const QString parent = QFileInfo(ficFolder->text()).absolutePath();
    const QString initial = !ficFolder->text().isEmpty() && QDir(parent).exists() ? parent : QString();
    const QString chosen = context().dialogs().existingDirectory(this, QStringLiteral("Select Directory"), initial);
    if (!chosen.isEmpty())
        ficFolder->setText(chosen);
    loadSingleSettings();
}

QString TFolderIconChangerPage::pickIcon(const QString& initialFolder)
{
    return context().dialogs().openFileIn(this, QStringLiteral("Select Icon"), kIconFilter, initialFolder);
}

void TFolderIconChangerPage::Button32Click()
{
    const QString chosen = pickIcon(ficIcon->currentText().isEmpty() ? QString() : ficFolder->text());
    if (chosen.isEmpty())
        return;
    ficIcon->setEditText(chosen);
    ficIndex->setValue(0);
    ficIndexChange();
}

void TFolderIconChangerPage::Button58Click()
{
    if (bficICLoc->currentText().isEmpty())
        m_lastBatchIconFolder.clear();
    const QString chosen = pickIcon(m_lastBatchIconFolder);
    if (chosen.isEmpty())
        return;
    m_lastBatchIconFolder = QFileInfo(chosen).absolutePath();
    bficICLoc->setEditText(chosen);
    bficIndex->setValue(0);
    bficIndexChange();
}

void TFolderIconChangerPage::ficIconChange()
{
    ficICO->clear();
    ficIndexChange();
}

void TFolderIconChangerPage::ficIndexChange()
{
    const std::string source = korvala::IconPreviewSource(bytes(ficIcon->currentText()), bytes(ficFolder->text()));
    const QString path = QFile::decodeName(QByteArray::fromStdString(source));
    if (QFileInfo(path).isFile())
        showImage(ficICO, iconImage(path, ficIndex->value()));
}

void TFolderIconChangerPage::bficICLocChange()
{
    bficICO->clear();
    bficIndexChange();
}

void TFolderIconChangerPage::bficIndexChange()
{
    showImage(bficICO, iconImage(bficICLoc->currentText(), bficIndex->value()));
}

void TFolderIconChangerPage::Button1Click()
{
    if (ficFolder->text().isEmpty())
        return;
    const std::string folder = bytes(ficFolder->text());
    korvala::ApplyFolderIcon(folder, bytes(ficIcon->currentText()), ficIndex->value(), chkCopyIcon->isChecked(),
        bytes(ficInfo->text()));
    korvala::RefreshShellIcons({folder});
    context().dialogs().message(this, kChanged, Dialogs::Icon::Information);
}

void TFolderIconChangerPage::ficResetClick()
{
    const std::string folder = bytes(ficFolder->text());
    if (folder.empty() || !korvala::HasFolderSettings(folder))
        return;
    korvala::ResetFolderIcon(folder);
    korvala::RefreshShellIcons({folder});
    context().dialogs().message(this, kReset, Dialogs::Icon::Information);
}

void TFolderIconChangerPage::bficChangeClick()
{
    const std::vector<std::string> folders = lstBFIC->paths();
    if (folders.empty())
        return;
    // An error stops the run at that folder: later ones are not changed.
    for (const std::string& folder : folders)
        korvala::ApplyFolderIcon(folder, bytes(bficICLoc->currentText()), bficIndex->value(), bficCopyIcon->isChecked(),
            std::nullopt);
    korvala::RefreshShellIcons(folders);
    context().dialogs().message(this, kChanged, Dialogs::Icon::Information);
}

void TFolderIconChangerPage::Button59Click()
{
    const std::vector<std::string> folders = lstBFIC->paths();
    if (folders.empty())
        return;
    for (const std::string& folder : folders)
        if (!folder.empty())
            korvala::ResetFolderIcon(folder);
    korvala::RefreshShellIcons(folders);
    context().dialogs().message(this, kReset, Dialogs::Icon::Information);
}

void TFolderIconChangerPage::Label77DblClick()
{
    std::vector<std::string> folders = lstBFIC->paths();
    if (!ficFolder->text().isEmpty())
        folders.push_back(bytes(ficFolder->text()));
    korvala::RefreshShellIcons(folders);
}

bool TFolderIconChangerPage::batchSubPageActive() const
{
    return pcFIC->currentWidget() == shtBFIC;
}

void TFolderIconChangerPage::refreshBatchList()
{
    lstBFIC->UpdateCounter();
    updateDropHint();
}

void TFolderIconChangerPage::selectBatchSubPage()
{
    pcFIC->setCurrentWidget(shtBFIC);
}
