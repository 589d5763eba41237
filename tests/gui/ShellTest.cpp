// The desktop shell calls over a real (private) session bus: a file manager
// service of the test receives ShowItems and ShowItemProperties with the
// item's URI.

#include <mutex>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QThread>

#include <gtest/gtest.h>

#include "GuiEnvironment.h"
#include "app/PropertiesDialog.h"
#include "app/ShellIntegration.h"
#include "platform/FileTimes.h"

namespace {

struct ReceivedCall {
    QString method;
    QStringList uris;
    QString startupId;
};

// Answers the FileManager1 methods and records them.
class FakeFileManager : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override
    {
        return QStringLiteral(
            "<interface name=\"org.freedesktop.FileManager1\">"
            "<method name=\"ShowItems\"><arg type=\"as\" direction=\"in\"/><arg type=\"s\" direction=\"in\"/></method>"
            "<method name=\"ShowItemProperties\"><arg type=\"as\" direction=\"in\"/><arg type=\"s\" direction=\"in\"/></method>"
            "</interface>");
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QList<QVariant> args = message.arguments();
        {
            std::lock_guard<std::mutex> lock(mutex);
            calls.push_back({message.member(), args.value(0).toStringList(), args.value(1).toString()});
        }
        connection.send(message.createReply());
        return true;
    }

    std::vector<ReceivedCall> taken()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return calls;
    }

private:
    std::mutex mutex;
    std::vector<ReceivedCall> calls;  // guarded by mutex: filled on the service thread
};

TEST(DesktopShellTest, FileManagerServiceReceivesTheItemUri)
{
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        FAIL() << "cannot run here: no private session bus (dbus-daemon missing)";
    // The service lives on a connection and a thread of its own, so that the
    // window thread's blocking call can be answered.
    QThread serviceThread;
    serviceThread.start();
    FakeFileManager manager;
    manager.moveToThread(&serviceThread);
    QDBusConnection service = QDBusConnection::connectToBus(
        QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")), QStringLiteral("fake-file-manager"));
    ASSERT_TRUE(service.isConnected());
    ASSERT_TRUE(service.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.FileManager1")));

    setShell(nullptr);  // the desktop shell
    const std::string path = testRoot() + "/a folder/na\xC3\xAFve file.txt";
    shell().showItem(path);
    shell().showProperties(path);
    setShell(&testShell());

    const std::vector<ReceivedCall> calls = manager.taken();
    ASSERT_EQ(calls.size(), 2u);
    const QString uri = QStringLiteral("file://") + QString::fromStdString(testRoot())
        + QStringLiteral("/a%20folder/na%C3%AFve%20file.txt");
    EXPECT_EQ(calls[0].method, QStringLiteral("ShowItems"));
    EXPECT_EQ(calls[0].uris, QStringList{uri});
    EXPECT_EQ(calls[1].method, QStringLiteral("ShowItemProperties"));
    EXPECT_EQ(calls[1].uris, QStringList{uri});

    service.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    service.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-file-manager"));
    manager.moveToThread(QThread::currentThread());
    serviceThread.quit();
    serviceThread.wait();
}

TEST(PropertiesWindowTest, ShowsNameFolderSizeAndPermissions)
{
    const korvala::test::TTempTree tree;
    const std::string folder = tree.root();
    const std::string path = tree.file("report.txt", "content of report.txt");  // 21 bytes
    TfrmProperties window(path);
    QStringList texts;
    for (QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    const QString all = texts.join(u'\n');
    EXPECT_TRUE(texts.contains(QStringLiteral("report.txt"))) << all.toStdString();
    EXPECT_TRUE(texts.contains(QString::fromStdString(folder))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("21 bytes"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("rw-"))) << all.toStdString();

    TfrmProperties missing(folder + "/gone");
    bool unreadable = false;
    for (QLabel* label : missing.findChildren<QLabel*>())
        unreadable |= label->text().contains(QStringLiteral("cannot be read"));
    EXPECT_TRUE(unreadable);
}

// The creation time the DateTime Changer keeps in the attribute store is the
// one the window shows, not the file system's birth time.
TEST(PropertiesWindowTest, ShowsTheCreationTimeTheDateTimeChangerSet)
{
    const korvala::test::TTempTree tree;
    const std::string path = tree.file("dated.txt", "x");
    const timespec created{981173106, 0};  // 2001-02-03 04:05:06 UTC
    ASSERT_FALSE(korvala::writeFileTimes(path, created, std::nullopt, std::nullopt)) << path;
    TfrmProperties window(path);
    const QString expected =
        QLocale().toString(QDateTime::fromSecsSinceEpoch(created.tv_sec), QLocale::LongFormat);
    QStringList texts;
    for (QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(expected)) << expected.toStdString() << " not in " << texts.join(u'|').toStdString();
}

}  // namespace
