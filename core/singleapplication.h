#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class SingleApplicationPrivate;

// One running copy of the program per user (or per machine). Constructed once, right after
// the application object and its name, organisation and version are set, it decides whether
// this process is the first one (the primary) or a later one. The primary publishes itself in
// a named shared-memory block and listens on a local socket of the same name; a later start
// announces itself there so the primary can come to the front. A primary that died without
// cleaning up (its process gone, or its server not answering) is replaced. GUI thread only.
class SingleApplication : public QObject
{
    Q_OBJECT

public:
    enum Mode {
        User = 1 << 0,
        System = 1 << 1,
        SecondaryNotification = 1 << 2,
        ExcludeAppVersion = 1 << 3,
        ExcludeAppPath = 1 << 4,
    };
    Q_DECLARE_FLAGS(Options, Mode)

    explicit SingleApplication(bool allowSecondary = false, Options options = User,
                               int timeoutMs = 1000, QObject *parent = nullptr);
    ~SingleApplication() override;

    bool isPrimary() const;
    bool isSecondary() const;
    // 0 for the primary, 1, 2, ... for permitted secondaries.
    quint32 instanceId() const;
    // -1 when this process goes on; otherwise the exit code to end with now: 0 after it
    // announced itself to the running primary, 1 when the shared block cannot be used.
    int exitCode() const;
    // The key of the shared block and the local server.
    QString blockName() const;
    // The primary's local-socket path; empty in other instances.
    QString serverPath() const;

signals:
    // In the primary: another start of the program announced itself.
    void instanceStarted();
    // In the primary: further bytes sent by a connected instance.
    void receivedMessage(quint32 instanceId, QByteArray message);

private:
    friend class SingleApplicationPrivate;
    SingleApplicationPrivate *d;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(SingleApplication::Options)

// Operating-system facts the guard needs; one implementation file per platform.
namespace SingleApplicationOs {
// The account name of the current user; empty when unknown.
QByteArray userName();
// Whether pid names a running process other than the caller.
bool processAlive(qint64 pid);
// Makes the socket file at path reachable by its owner only; false if it is not ours.
bool restrictToOwner(const QString &path);
// Where the server named name listens: the user's runtime folder, else the temp folder, else
// /tmp when the path would not fit a socket address.
QString socketPath(const QString &name);
} // namespace SingleApplicationOs
