#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalSocket;
class QTimer;

namespace tunnelkit::wire {
class FrameDecoder;
}

// Asks quellnet-helper to repair the network: the tun device is checked (its module loaded
// if it is missing) and, with no tunnel running, what an ended or crashed session left is
// cleaned up (firewall table unless the block is wanted, tunnel interfaces, DNS). Talks to
// the helper on the caller's thread without blocking it; the helper's socket is
// QUELLNET_HELPER_SOCKET, else /run/quellnet/helper.sock.
class NetworkRepair : public QObject
{
    Q_OBJECT
public:
    explicit NetworkRepair(QObject *parent = nullptr);
    ~NetworkRepair() override;

    // Returns at once; finished() follows exactly once, from the event loop. A start() while
    // one is under way is answered with ok false and leaves that one running.
    void start();
    bool isRunning() const { return m_running; }
    // How long the helper has to answer; 15 s unless set.
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

signals:
    // report: one sentence per line, from the helper, or why there was no answer.
    void finished(bool ok, const QString &report);

private:
    void connectNow();
    void onReadyRead();
    void onGone();
    void finish(bool ok, const QString &report);

    QLocalSocket *m_socket = nullptr;
    QTimer *m_timer = nullptr;
    std::unique_ptr<tunnelkit::wire::FrameDecoder> m_decoder;
    int m_timeoutMs = 15000;
    bool m_running = false;
    bool m_connected = false;
};
