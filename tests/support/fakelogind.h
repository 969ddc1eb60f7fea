#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>

// Stands in for logind on a private bus of the caller's own (a dbus-daemon with the session
// bus's rules): owns org.freedesktop.login1 and announces a suspend and a resume. The helper
// is given the bus's address on its command line. Header-only; users link Qt5::DBus.
class FakeLogind
{
public:
    ~FakeLogind()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-logind"));
        m_daemon.kill();
        m_daemon.waitForFinished(2000);
    }
    // False when no bus could be started (dbus-daemon missing).
    bool start()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address"),
                        QStringLiteral("--address=unix:path=") + m_dir.filePath("bus")});
        if (!m_daemon.waitForStarted(5000) || !m_daemon.waitForReadyRead(5000))
            return false;
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QDBusConnection bus
            = QDBusConnection::connectToBus(m_address, QStringLiteral("fake-logind"));
        return bus.isConnected() && bus.registerService(QStringLiteral("org.freedesktop.login1"));
    }
    QString address() const { return m_address; }
    // PrepareForSleep(true), then (false): the machine slept and woke up.
    bool sleepAndWake() const
    {
        QDBusConnection bus(QStringLiteral("fake-logind"));
        for (const bool sleeping : {true, false}) {
            QDBusMessage announce
                = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                             QStringLiteral("org.freedesktop.login1.Manager"),
                                             QStringLiteral("PrepareForSleep"));
            announce << sleeping;
            if (!bus.send(announce))
                return false;
        }
        return true;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};
