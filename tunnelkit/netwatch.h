#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>

class QSocketNotifier;

namespace tunnelkit {

// The way to the VPN server outside the tunnel: the interface, its gateway and its addresses of
// the server's family. Not up while there is none (no route, link down, no address).
struct NetworkPath
{
    int interfaceIndex = 0;
    QHostAddress gateway; // null when the server is on the link
    QList<QHostAddress> addresses; // sorted
    // A route outside the tunnel leads to the server; false when only a default route does
    // (the kernel dropped the host route with the link it ran over).
    bool direct = false;

    bool isUp() const { return interfaceIndex > 0; }
    // The same way out, however it was found.
    bool sameAs(const NetworkPath &other) const
    {
        return interfaceIndex == other.interfaceIndex && gateway == other.gateway
            && addresses == other.addresses;
    }
};

namespace os {
// The kernel's route to server if it avoids the tunnel interface, else the main table's best
// default route that does, on a link that is up and has an address.
NetworkPath pathToServer(const QHostAddress &server, const QString &tunnel);
// Adds (or replaces) the host route to server along path; false with the reason.
bool addServerRoute(const QHostAddress &server, const NetworkPath &path, QString *why);
// Removes that route; a route already gone is no error.
void removeServerRoute(const QHostAddress &server, const NetworkPath &path);
} // namespace os

// Reports changes of links, addresses and routes (rtnetlink), except those of the engine's
// tunnel interfaces. One changed() per batch the kernel hands over: a burst of messages read
// together is one report; the receiver tells real changes from noise. Main thread.
class NetworkWatcher : public QObject
{
    Q_OBJECT
public:
    explicit NetworkWatcher(QObject *parent = nullptr);
    ~NetworkWatcher() override;
    // False with the reason when the kernel's notifications cannot be had.
    bool start(QString *error);

signals:
    void changed();

private:
    void onReadable();

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace tunnelkit
