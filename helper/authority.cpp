#include "authority.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMap>
#include <QTimer>
#include <QVariantMap>

#include <limits>
#include <memory>
#include <utility>

namespace helper::polkit {

using StringMap = QMap<QString, QString>;

// CheckAuthorization's subject, (sa{sv}).
struct Subject
{
    QString kind;
    QVariantMap details;
};

// CheckAuthorization's reply, (bba{ss}).
struct Result
{
    bool authorized = false;
    bool challenge = false;
    StringMap details;
};

QDBusArgument &operator<<(QDBusArgument &arg, const Subject &subject)
{
    arg.beginStructure();
    arg << subject.kind << subject.details;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, Subject &subject)
{
    arg.beginStructure();
    arg >> subject.kind >> subject.details;
    arg.endStructure();
    return arg;
}

QDBusArgument &operator<<(QDBusArgument &arg, const Result &result)
{
    arg.beginStructure();
    arg << result.authorized << result.challenge << result.details;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, Result &result)
{
    arg.beginStructure();
    arg >> result.authorized >> result.challenge >> result.details;
    arg.endStructure();
    return arg;
}

} // namespace helper::polkit

Q_DECLARE_METATYPE(helper::polkit::Subject)
Q_DECLARE_METATYPE(helper::polkit::Result)

namespace helper {

namespace {

bool inGroup(const PeerIdentity &peer, qint64 groupId)
{
    if (groupId < 0 || groupId > std::numeric_limits<uint>::max())
        return false;
    const uint gid = uint(groupId);
    return peer.gid == gid || peer.groups.contains(gid);
}

QString explain(const PeerIdentity &peer, qint64 groupId, const QString &group, PolkitAnswer answer,
                const QString &detail)
{
    const QString who = QStringLiteral("uid %1").arg(peer.uid);
    if (peer.uid == 0)
        return who + QStringLiteral(" is authorised: root");
    if (inGroup(peer, groupId))
        return who + QStringLiteral(" is authorised: member of group ") + group;
    switch (answer) {
    case PolkitAnswer::Yes:
        return who + QStringLiteral(" is authorised by polkit");
    case PolkitAnswer::No:
        return who + QStringLiteral(" is not authorised: ") + detail;
    case PolkitAnswer::Unavailable:
        break;
    }
    return who + QStringLiteral(" is not authorised: ") + detail
        + QStringLiteral(" and it is neither root nor in group ") + group;
}

QString describe(const QDBusError &error, int timeoutMs)
{
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
        return QStringLiteral("no polkit authority runs");
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return QStringLiteral("polkit did not answer within %1 ms").arg(timeoutMs);
    default:
        // Bounded: the text ends up in a log line.
        return QStringLiteral("polkit failed (%1: %2)")
            .arg(error.name(), error.message().left(200));
    }
}

} // namespace

bool isAuthorised(const PeerIdentity &peer, qint64 groupId, PolkitAnswer polkit)
{
    return peer.uid == 0 || inGroup(peer, groupId) || polkit == PolkitAnswer::Yes;
}

Authority::Authority(const QString &groupName, QObject *parent)
    : QObject(parent)
    , m_group(groupName)
{
    qDBusRegisterMetaType<polkit::Subject>();
    qDBusRegisterMetaType<polkit::Result>();
    qDBusRegisterMetaType<polkit::StringMap>();
}

void Authority::check(const PeerIdentity &peer, Verdict verdict, int timeoutMs)
{
    timeoutMs = qMax(1, timeoutMs);
    // Looked up per check: an administrator may create the group while the helper runs.
    const qint64 gid = os::groupId(m_group);
    // Reply and time-out race for one slot; whichever comes first empties it.
    auto pending = std::make_shared<Verdict>(std::move(verdict));
    auto finish
        = [pending, peer, gid, group = m_group](PolkitAnswer answer, const QString &detail) {
              if (!*pending)
                  return;
              const Verdict once = std::exchange(*pending, Verdict());
              once(isAuthorised(peer, gid, answer), explain(peer, gid, group, answer, detail));
          };
    auto later = [this, finish](PolkitAnswer answer, const QString &detail) {
        QTimer::singleShot(0, this, [finish, answer, detail] { finish(answer, detail); });
    };

    if (isAuthorised(peer, gid, PolkitAnswer::Unavailable)) {
        later(PolkitAnswer::Unavailable, QString());
        return;
    }
    if (peer.pid <= 0) {
        later(PolkitAnswer::Unavailable,
              QStringLiteral("its process is not visible to the helper"));
        return;
    }
    // Without the start time polkit could judge whatever process reuses the pid.
    const quint64 startTime = os::processStartTime(peer.pid);
    if (startTime == 0) {
        later(PolkitAnswer::Unavailable,
              QStringLiteral("the start time of pid %1 is unreadable").arg(peer.pid));
        return;
    }
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        later(PolkitAnswer::Unavailable, QStringLiteral("no system bus runs"));
        return;
    }

    QDBusMessage call
        = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.PolicyKit1"),
                                         QStringLiteral("/org/freedesktop/PolicyKit1/Authority"),
                                         QStringLiteral("org.freedesktop.PolicyKit1.Authority"),
                                         QStringLiteral("CheckAuthorization"));
    const polkit::Subject subject{
        QStringLiteral("unix-process"),
        {{QStringLiteral("pid"), QVariant::fromValue(quint32(peer.pid))},
         {QStringLiteral("start-time"), QVariant::fromValue(quint64(startTime))},
         {QStringLiteral("uid"), QVariant::fromValue(qint32(peer.uid))}}};
    // Flags 0: polkit must not start an authentication dialog for a background service.
    call << QVariant::fromValue(subject) << QStringLiteral("org.quellnet.helper.control")
         << QVariant::fromValue(polkit::StringMap()) << quint32(0) << QString();

    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, timeoutMs), this);
    // Our own clock bounds the verdict, whatever the bus library does with its time-out.
    auto *timer = new QTimer(watcher);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, watcher, [finish, watcher, timeoutMs] {
        watcher->deleteLater();
        finish(PolkitAnswer::Unavailable,
               QStringLiteral("polkit did not answer within %1 ms").arg(timeoutMs));
    });
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [finish, watcher, timeoutMs] {
        watcher->deleteLater();
        const QDBusPendingReply<polkit::Result> reply = *watcher;
        if (reply.isError()) {
            finish(PolkitAnswer::Unavailable, describe(reply.error(), timeoutMs));
            return;
        }
        const polkit::Result result = reply.value();
        if (result.authorized)
            finish(PolkitAnswer::Yes, QString());
        else if (result.challenge)
            finish(PolkitAnswer::No,
                   QStringLiteral("polkit wants authentication, which the helper never asks for"));
        else
            finish(PolkitAnswer::No, QStringLiteral("polkit said no"));
    });
    timer->start(timeoutMs);
}

} // namespace helper
