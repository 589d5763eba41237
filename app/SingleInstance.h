#pragma once
// One window per user session: the first start owns the D-Bus name
// org.korvala.Korvala on the session bus; a later start hands its page and
// paths to that window over the bus and ends instead of opening another.

#include <string>
#include <vector>

#include <QByteArray>
#include <QDBusConnection>
#include <QList>
#include <QObject>

class TSingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.korvala.Korvala")

public:
    static const char* const ServiceName;  // "org.korvala.Korvala"
    static const char* const ObjectPath;   // "/org/korvala/Korvala"

    explicit TSingleInstance(const QDBusConnection& bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~TSingleInstance() override;

    // Takes the name for this process; false when another process holds it
    // (or there is no session bus: then this start runs on its own).
    bool claim();
    bool claimed() const { return m_claimed; }

    // Asks the process that holds the name to show the page of tool (-1:
    // keep its page) and take paths; true when it answered.
    static bool handOver(const QDBusConnection& bus, int tool, const std::vector<std::string>& paths);

public slots:
    // The method a later start calls. Paths are byte strings, so names of any
    // bytes arrive whole.
    Q_SCRIPTABLE void Open(int tool, const QList<QByteArray>& paths);

signals:
    void openRequested(int tool, const std::vector<std::string>& paths);

private:
    QDBusConnection m_bus;
    bool m_claimed = false;
};
