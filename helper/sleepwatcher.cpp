#include "sleepwatcher.h"

#include <QDBusConnection>
#include <QDBusError>

namespace helper {

SleepWatcher::SleepWatcher(QObject *parent)
    : QObject(parent)
{ }

SleepWatcher::~SleepWatcher()
{
    if (!m_connectionName.isEmpty())
        QDBusConnection::disconnectFromBus(m_connectionName);
}

bool SleepWatcher::start(const QString &busAddress, QString *error)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!busAddress.isEmpty()) {
        m_connectionName = QStringLiteral("quellnet-sleep");
        bus = QDBusConnection::connectToBus(busAddress, m_connectionName);
    }
    // Bound to the name: only its owner's signals arrive, never another client's.
    if (!bus.isConnected()
        || !bus.connect(QStringLiteral("org.freedesktop.login1"),
                        QStringLiteral("/org/freedesktop/login1"),
                        QStringLiteral("org.freedesktop.login1.Manager"),
                        QStringLiteral("PrepareForSleep"), this, SLOT(onPrepareForSleep(bool)))) {
        *error = bus.lastError().message();
        if (error->isEmpty())
            *error = QStringLiteral("no bus");
        return false;
    }
    return true;
}

void SleepWatcher::onPrepareForSleep(bool sleeping)
{
    if (!sleeping)
        emit resumed();
}

} // namespace helper
