#include "app/SingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>

const char* const TSingleInstance::ServiceName = "org.korvala.Korvala";
const char* const TSingleInstance::ObjectPath = "/org/korvala/Korvala";

namespace {

// A hand-over that gets no answer in this time (a window stuck in a long
// handler) lets the later start give up rather than hang.
constexpr int kHandOverTimeoutMs = 10000;

void registerTypes()
{
    qDBusRegisterMetaType<QList<QByteArray>>();
}

}  // namespace

TSingleInstance::TSingleInstance(const QDBusConnection& bus, QObject* parent) : QObject(parent), m_bus(bus)
{
    registerTypes();
}

TSingleInstance::~TSingleInstance()
{
    if (m_claimed) {
        m_bus.unregisterObject(QString::fromLatin1(ObjectPath));
        m_bus.unregisterService(QString::fromLatin1(ServiceName));
    }
}

bool TSingleInstance::claim()
{
    if (m_claimed)
        return true;
    if (!m_bus.isConnected())
        return false;
    // The object first, so that a start that sees the name can call it.
    if (!m_bus.registerObject(QString::fromLatin1(ObjectPath), this, QDBusConnection::ExportScriptableSlots))
        return false;
    // Without queueing: when the name is taken, this start hands over.
    QDBusConnectionInterface* names = m_bus.interface();
    const auto reply = names->registerService(QString::fromLatin1(ServiceName),
        QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        m_bus.unregisterObject(QString::fromLatin1(ObjectPath));
        return false;
    }
    m_claimed = true;
    return true;
}

bool TSingleInstance::handOver(const QDBusConnection& bus, int tool, const std::vector<std::string>& paths)
{
    if (!bus.isConnected())
        return false;
    registerTypes();
    QList<QByteArray> list;
    for (const std::string& path : paths)
        list.push_back(QByteArray::fromStdString(path));
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(ServiceName),
        QString::fromLatin1(ObjectPath), QString::fromLatin1(ServiceName), QStringLiteral("Open"));
    call << tool << QVariant::fromValue(list);
    const QDBusMessage reply = QDBusConnection(bus).call(call, QDBus::Block, kHandOverTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void TSingleInstance::Open(int tool, const QList<QByteArray>& paths)
{
    std::vector<std::string> bytes;
    bytes.reserve(static_cast<size_t>(paths.size()));
    // Only absolute paths: a relative one would be read against this
    // process's working folder, not the caller's.
    for (const QByteArray& path : paths)
        if (path.startsWith('/'))
            bytes.push_back(path.toStdString());
    // Answered at once; the window takes the paths on its next turn, so a
    // box it shows meanwhile does not keep the caller waiting.
    QMetaObject::invokeMethod(
        this, [this, tool, bytes] { emit openRequested(tool, bytes); }, Qt::QueuedConnection);
}
