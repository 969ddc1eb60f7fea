#pragma once

#include "authority.h"
#include "environment.h"
#include "helperprotocol.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <map>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace tunnelkit {
class EngineHost;
struct KillSwitchSettings;
struct RepairReport;
} // namespace tunnelkit

namespace helper {

// Settings of the helper process; they come from its own command line (root's), never from
// a client.
struct HelperOptions
{
    QString socketPath = QStringLiteral("/run/quellnet/helper.sock");
    QString runtimeDir = QStringLiteral("/run/quellnet");
    QString stateDir = QStringLiteral("/var/lib/quellnet");
    QString openvpn = QStringLiteral("/usr/sbin/openvpn");
    QString nft; // empty: the nftables library
    tunnelkit::DnsMode dns = tunnelkit::DnsMode::Auto;
    bool checkRoutes = true;
    QString group = QStringLiteral("quellnet");
    // Empty: the system bus, where logind announces suspend and resume.
    QString systemBus;
    int reconnectTimeoutSeconds = 30;
};

// The root side of the tunnel: one engine, any number of authorised clients. Every event, log
// line and traffic figure goes to every authorised client; a client that connects later is
// told where the session stands. The session belongs to the helper, not to a client: a client
// that goes away leaves it running. Main thread only.
class HelperServer : public QObject
{
    Q_OBJECT
public:
    explicit HelperServer(const HelperOptions &options, QObject *parent = nullptr);
    ~HelperServer() override;

    // Makes the folders, undoes what a crashed run left, then listens. False with a reason.
    bool start(QString *error);
    // Ends a running session as a user stop would (the saved kill-switch settings decide
    // whether the block stays), for a service stop; waits for it.
    void shutdown();

private:
    struct Client;

    void onNewConnection();
    void onReadyRead(Client *client);
    void drop(Client *client, const QString &why);
    void handle(Client *client, const tunnelkit::wire::Message &message);
    void send(Client *client, tunnelkit::wire::Type type, const QCborMap &body);
    void broadcast(tunnelkit::wire::Type type, const QCborMap &body);
    void sendState(Client *client);
    void savePolicy(const tunnelkit::KillSwitchSettings &settings);
    tunnelkit::KillSwitchSettings loadPolicy() const;

    void sendRepairReport(quint64 id, const tunnelkit::RepairReport &report);
    void engineEvent(const QString &name, const QString &info);
    void watchTheMachine();

    HelperOptions m_options;
    tunnelkit::Environment m_environment;
    Authority m_authority;
    QLocalServer *m_server = nullptr;
    std::unique_ptr<tunnelkit::EngineHost> m_host;
    std::map<quint64, std::unique_ptr<Client>> m_clients;
    quint64 m_nextClient = 1;
    bool m_running = false;
    QString m_stateName = QStringLiteral("WAIT");
    QString m_stateInfo;
    // At most one look at the network waits for the engine at a time.
    std::atomic<bool> m_networkCheckQueued{false};
};

} // namespace helper
