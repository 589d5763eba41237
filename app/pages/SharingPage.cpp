#include "app/pages/SharingPage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/kit/PageWidgets.h"
#include "platform/Terminal.h"
#include "tools/sharing/DSiWin32.h"
#include "tools/sharing/ShareListing.h"

namespace {

std::string bytes(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}

// A heading on a coloured bar, as the page's title strip is drawn.
QLabel* barLabel(QWidget* parent, const char* name, const QString& text)
{
    QLabel* label = kit::boldLabel(parent, name, text);
    label->setAutoFillBackground(true);
    label->setStyleSheet(QStringLiteral("background-color: #3F88E0; color: white; padding: 3px;"));
    return label;
}

// The file server started (and from now on started at boot) the way the
// system does it, in a terminal where sudo may ask for the password.
const char kStartServer[] =
    "sudo systemctl enable --now smbd || sudo service smbd start; echo; printf 'Press Enter to close this window. '; "
    "read answer";

}  // namespace

TSharingPage::TSharingPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtShare"), QStringLiteral("Sharing"), QStringLiteral("SHARING"),
          QStringLiteral("Label81"))
{
    QWidget* page = this;
    Label69 = kit::boldLabel(page, "Label69", QStringLiteral("Share name :"));
    txtSharename = new QLineEdit(page);
    txtSharename->setObjectName(QStringLiteral("txtSharename"));
    Label70 = kit::boldLabel(page, "Label70", QStringLiteral("Resource Location :"));
    txtResource = new QLineEdit(page);
    txtResource->setObjectName(QStringLiteral("txtResource"));
    Button48 = kit::button(page, "Button48", QStringLiteral("..."));
    Button48->setFixedWidth(32);
    Label71 = kit::boldLabel(page, "Label71", QStringLiteral("Comment :"));
    txtComment = new QLineEdit(page);
    txtComment->setObjectName(QStringLiteral("txtComment"));
    btnShare = kit::bigStartButton(page, "btnShare", QStringLiteral("SHARE"), QSize(150, 40), 2);
    BitBtn1 = kit::bigStartButton(page, "BitBtn1", QStringLiteral("STOP SHARING"), QSize(150, 40), 2);
    Label68 = barLabel(page, "Label68", QStringLiteral("Sharing Information"));

    mmShare = new QPlainTextEdit(page);
    mmShare->setObjectName(QStringLiteral("mmShare"));
    mmShare->setReadOnly(true);
    mmShare->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmShare->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmShare->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont fixed(QStringLiteral("Courier"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    fixed.setPixelSize(16);
    if (!QFontInfo(fixed).fixedPitch())
        fixed.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    mmShare->setFont(fixed);

    Label67 = kit::label(page, "Label67", QStringLiteral("Note : You must Start \"Server\" service to access Sharing feature"));
    Button47 = kit::button(page, "Button47", QStringLiteral("Start"));
    Button49 = kit::button(page, "Button49", QStringLiteral("Info"));
    Button49->setStyleSheet(QStringLiteral("color: blue;"));

    auto* fields = new QGridLayout;
    fields->addWidget(Label69, 0, 0);
    fields->addWidget(txtSharename, 0, 1, 1, 2);
    fields->addWidget(Label70, 1, 0);
    fields->addWidget(txtResource, 1, 1);
    fields->addWidget(Button48, 1, 2);
    fields->addWidget(Label71, 2, 0);
    fields->addWidget(txtComment, 2, 1, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnShare);
    buttons->addWidget(BitBtn1);
    auto* top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addLayout(buttons);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label67);
    bottom->addWidget(Button47);
    bottom->addStretch(1);
    bottom->addWidget(Button49);
    body()->addLayout(top);
    body()->addWidget(Label68);
    body()->addWidget(mmShare, 1);
    body()->addLayout(bottom);

    onClicked(btnShare, this, &TSharingPage::btnShareClick);
    onClicked(BitBtn1, this, &TSharingPage::BitBtn1Click);
    onClicked(Button47, this, &TSharingPage::Button47Click);
    onClicked(Button48, this, &TSharingPage::Button48Click);
    onClicked(Button49, this, &TSharingPage::Button49Click);
}

void TSharingPage::pageSelected()
{
    runGuarded(this, [this] { GetShareInfo(); });
}

void TSharingPage::GetShareInfo()
{
    mmShare->setUpdatesEnabled(false);
    mmShare->setPlainText(QFile::decodeName(QByteArray::fromStdString(korvala::GetShareInfo())));
    mmShare->setUpdatesEnabled(true);
}

void TSharingPage::reportFailure(const std::string& message)
{
    context().dialogs().message(this, QFile::decodeName(QByteArray::fromStdString(message)), Dialogs::Icon::Warning);
}

void TSharingPage::btnShareClick()
{
    const std::string folder = bytes(txtResource->text());
    if (korvala::missingResourceLocation(folder)) {
        context().dialogs().message(this, QStringLiteral("Resource location doesn't exist!"), Dialogs::Icon::Warning);
        return;
    }
    // Raises for an empty folder or name: the error box shows it and the
    // listing stays as it was.
    const korvala::TShareOutcome outcome =
        korvala::DSiShareFolder(folder, bytes(txtSharename->text()), bytes(txtComment->text()));
    GetShareInfo();
    if (!outcome.done)
        reportFailure(outcome.message);
}

void TSharingPage::BitBtn1Click()
{
    QString answer;
    const bool given = context().dialogs().input(this, QStringLiteral("Stop Sharing"),
        QStringLiteral("Type \"Share name\" which you want to Unshare :"), answer);
    korvala::TShareOutcome outcome{true, {}};
    if (given && !answer.isEmpty())
        outcome = korvala::DSiUnshareFolder(bytes(answer));
    GetShareInfo();
    if (!outcome.done)
        reportFailure(outcome.message);
}

void TSharingPage::Button47Click()
{
    if (korvala::startInTerminal({"/bin/sh", "-c", kStartServer}))
        context().dialogs().message(this,
            QStringLiteral("No terminal program was found to start the file server in.\n"
                           "Run \"sudo systemctl enable --now smbd\" yourself."),
            Dialogs::Icon::Warning);
    // The server takes a moment to come up; the listing follows after it.
    QTimer::singleShot(1000, this, [this] { runGuarded(this, [this] { GetShareInfo(); }); });
}

void TSharingPage::Button48Click()
{
    const QString parent = QFileInfo(txtResource->text()).absolutePath();
    const QString initial = !txtResource->text().isEmpty() && QDir(parent).exists() ? parent : QString();
    const QString chosen = context().dialogs().existingDirectory(this, QStringLiteral("Select Directory"), initial);
    if (!chosen.isEmpty())
        txtResource->setText(chosen);
}

void TSharingPage::Button49Click()
{
    context().dialogs().message(this,
        QStringLiteral("If you want to Reshare a Folder with different Resource Location (with same Share name), \n"
                       "you must \"Stop Sharing\" it First, then you can Share it again by clicking \"Share\" button!"));
}
