// The desktop side of the shell calls: the freedesktop FileManager1 D-Bus
// service where it runs, plain folder opening and our own properties window
// where it does not.

#include "app/ShellIntegration.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStandardPaths>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "app/PropertiesDialog.h"

namespace {

const char* const kFileManagerService = "org.freedesktop.FileManager1";
const char* const kFileManagerPath = "/org/freedesktop/FileManager1";

// Percent-encodes the path's bytes, so that names that are not valid UTF-8
// still reach the file manager unchanged.
QUrl urlOf(const std::string& path)
{
    const QByteArray bytes = QByteArray::fromStdString(path);
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

// Calls one FileManager1 method with a single URI; false when the service is
// not there or refused the call.
bool callFileManager(const char* method, const QString& uri)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusConnectionInterface* registry = bus.interface();
    if (registry == nullptr)
        return false;
    const auto registered = registry->isServiceRegistered(QString::fromLatin1(kFileManagerService));
    if (!registered.isValid() || !registered.value()) {
        // A file manager may still be activatable on demand.
        const auto activatable = registry->activatableServiceNames();
        if (!activatable.isValid() || !activatable.value().contains(QString::fromLatin1(kFileManagerService)))
            return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kFileManagerService),
        QString::fromLatin1(kFileManagerPath), QString::fromLatin1(kFileManagerService),
        QString::fromLatin1(method));
    call << QStringList{uri} << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

class DesktopShell final : public ShellIntegration {
public:
    void openPath(const std::string& path) override
    {
        QDesktopServices::openUrl(urlOf(path));
    }

    void showItem(const std::string& path) override
    {
        if (callFileManager("ShowItems", fileUriOf(path)))
            return;
        const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(path)));
        QDesktopServices::openUrl(QUrl::fromLocalFile(info.absolutePath()));
    }

    void showProperties(const std::string& path) override
    {
        if (callFileManager("ShowItemProperties", fileUriOf(path)))
            return;
        TfrmProperties window(path);
        window.exec();
    }

    void openUrl(const QString& url) override
    {
        QDesktopServices::openUrl(QUrl(url));
    }

    void openTrash() override
    {
        if (callFileManager("ShowFolders", QStringLiteral("trash:///")))
            return;
        // Without the service: the desktop's handler of trash:, else the
        // folder of the home trash's files.
        if (QDesktopServices::openUrl(QUrl(QStringLiteral("trash:///"))))
            return;
        QDesktopServices::openUrl(QUrl::fromLocalFile(
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash/files")));
    }
};

DesktopShell g_desktop;
ShellIntegration* g_current = nullptr;

}  // namespace

ShellIntegration& shell()
{
    return g_current ? *g_current : g_desktop;
}

void setShell(ShellIntegration* replacement)
{
    g_current = replacement;
}

QString fileUriOf(const std::string& path)
{
    return QString::fromLatin1(urlOf(path).toEncoded());
}

void ShowShellProperties(const std::string& path)
{
    shell().showProperties(path);
}
