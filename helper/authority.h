#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace helper {

// Who is at the other end of a client connection, as the kernel recorded it (SO_PEERCRED,
// SO_PEERGROUPS): nothing the client says about itself.
struct PeerIdentity
{
    qint64 pid = 0; // 0 when the peer lives in a pid namespace the helper cannot see
    uint uid = 0;
    uint gid = 0;
    QList<uint> groups; // supplementary groups
};

enum class PolkitAnswer { Yes, No, Unavailable };

// The decision, as a pure function: root may always; members of the helper's group (by
// default "quellnet", gid groupId, -1 when the group does not exist) may always (an
// administrator's explicit grant, also where no polkit runs); everyone else as polkit answers
// for the action "org.quellnet.helper.control" (allow_active: the person at the desktop
// without a password); no polkit authority: refused.
bool isAuthorised(const PeerIdentity &peer, qint64 groupId, PolkitAnswer polkit);

// Asks polkit (org.freedesktop.PolicyKit1 on the system bus, CheckAuthorization for a
// unix-process subject with pid, start time and uid, no interaction) and applies
// isAuthorised(). Asynchronous and bounded: the answer arrives on the thread that owns the
// Authority within timeoutMs; a bus or authority that does not answer counts as Unavailable.
// Root and group members are decided without asking polkit.
class Authority : public QObject
{
    Q_OBJECT
public:
    explicit Authority(const QString &groupName = QStringLiteral("quellnet"),
                       QObject *parent = nullptr);

    using Verdict = std::function<void(bool allowed, const QString &why)>;
    // verdict runs exactly once, never inside check() itself (always from the event loop);
    // it does not run at all when the Authority is destroyed first. why is a log line.
    void check(const PeerIdentity &peer, Verdict verdict, int timeoutMs = 5000);

private:
    QString m_group;
};

// The peer's identity of a connected unix socket; false when the kernel does not tell.
// A kernel without SO_PEERGROUPS yields no supplementary groups (fails closed).
bool peerIdentity(qintptr socket, PeerIdentity *peer);

// The OS part behind Authority, per platform (authority_linux.cpp).
namespace os {
// Start time polkit pairs with the pid so that a recycled pid does not inherit a grant;
// 0 when the process is gone or unreadable.
quint64 processStartTime(qint64 pid);
// Field 22 of a /proc/<pid>/stat text. The name field may hold spaces and ')', so fields are
// counted from the last ')'. False on anything malformed.
bool parseStartTime(const QByteArray &stat, quint64 *startTime);
// The gid of a group name; -1 when there is no such group.
qint64 groupId(const QString &name);
} // namespace os

} // namespace helper
