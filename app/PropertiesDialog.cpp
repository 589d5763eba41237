#include "app/PropertiesDialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include "platform/File.h"
#include "platform/FileTimes.h"

namespace {

QString timeText(const timespec& stamp)
{
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(
        static_cast<qint64>(stamp.tv_sec) * 1000 + stamp.tv_nsec / 1000000);
    return QLocale().toString(when, QLocale::LongFormat);
}

QString typeText(korvala::TFileKind kind)
{
    using korvala::TFileKind;
    switch (kind) {
    case TFileKind::Directory: return QObject::tr("Folder");
    case TFileKind::Symlink: return QObject::tr("Symbolic link");
    case TFileKind::Regular: return QObject::tr("File");
    case TFileKind::Fifo: return QObject::tr("Pipe");
    case TFileKind::Socket: return QObject::tr("Socket");
    default: return QObject::tr("Device");
    }
}

// "rwxr-x---" with the octal form, as ls and chmod show it.
QString permissionText(uint32_t mode)
{
    const char letters[] = "rwxrwxrwx";
    QString text;
    for (int bit = 0; bit < 9; ++bit)
        text += (mode & (0400 >> bit)) ? QChar::fromLatin1(letters[bit]) : QChar(u'-');
    return text + QStringLiteral(" (%1)").arg(mode & 07777, 4, 8, QChar(u'0'));
}

}  // namespace

TfrmProperties::TfrmProperties(const std::string& path, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProperties"));
    const QString shown = QFile::decodeName(QByteArray::fromStdString(path));
    const qsizetype slash = shown.lastIndexOf(u'/');
    setWindowTitle(tr("Properties of %1").arg(shown.mid(slash + 1)));

    auto* form = new QFormLayout;
    form->addRow(tr("Name:"), new QLabel(shown.mid(slash + 1)));
    form->addRow(tr("Folder:"), new QLabel(slash > 0 ? shown.left(slash) : QStringLiteral("/")));

    // The item itself (a link is shown as a link); its times are read the way
    // the DateTime Changer reads them, so both show the same creation time.
    korvala::TFileStatus info;
    if (!korvala::pathStatus(path, false, info)) {
        korvala::FileTimes times;
        const bool haveTimes = !korvala::readFileTimes(path, times);
        auto stamp = [&](const timespec& t) { return haveTimes ? timeText(t) : QStringLiteral("-"); };
        form->addRow(tr("Type:"), new QLabel(typeText(info.kind)));
        form->addRow(tr("Size:"), new QLabel(tr("%1 (%2 bytes)")
            .arg(QLocale().formattedDataSize(static_cast<qint64>(info.size)))
            .arg(QLocale().toString(static_cast<qulonglong>(info.size)))));
        form->addRow(tr("Created:"), new QLabel(stamp(times.created)));
        form->addRow(tr("Modified:"), new QLabel(stamp(times.modified)));
        form->addRow(tr("Accessed:"), new QLabel(stamp(times.accessed)));
        form->addRow(tr("Permissions:"), new QLabel(permissionText(info.mode)));
    } else {
        form->addRow(tr("Status:"), new QLabel(tr("The item cannot be read.")));
    }
    for (QLabel* label : findChildren<QLabel*>())
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}
