#include "app/PropertiesDialog.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace {

QString timeText(const struct statx_timestamp& stamp)
{
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(
        static_cast<qint64>(stamp.tv_sec) * 1000 + stamp.tv_nsec / 1000000);
    return QLocale().toString(when, QLocale::LongFormat);
}

QString typeText(mode_t mode)
{
    if (S_ISDIR(mode)) return QObject::tr("Folder");
    if (S_ISLNK(mode)) return QObject::tr("Symbolic link");
    if (S_ISREG(mode)) return QObject::tr("File");
    if (S_ISFIFO(mode)) return QObject::tr("Pipe");
    if (S_ISSOCK(mode)) return QObject::tr("Socket");
    return QObject::tr("Device");
}

// "rwxr-x---" with the octal form, as ls and chmod show it.
QString permissionText(mode_t mode)
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

    struct statx info {};
    if (statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW,
            STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME, &info) == 0) {
        form->addRow(tr("Type:"), new QLabel(typeText(info.stx_mode)));
        form->addRow(tr("Size:"), new QLabel(tr("%1 (%2 bytes)")
            .arg(QLocale().formattedDataSize(static_cast<qint64>(info.stx_size)))
            .arg(QLocale().toString(static_cast<qulonglong>(info.stx_size)))));
        form->addRow(tr("Created:"), new QLabel((info.stx_mask & STATX_BTIME) ? timeText(info.stx_btime) : QStringLiteral("-")));
        form->addRow(tr("Modified:"), new QLabel(timeText(info.stx_mtime)));
        form->addRow(tr("Accessed:"), new QLabel(timeText(info.stx_atime)));
        form->addRow(tr("Permissions:"), new QLabel(permissionText(info.stx_mode)));
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
