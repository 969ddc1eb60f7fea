#include "networkrepair.h"

#include "helperprotocol.h"

#include <QLocalSocket>
#include <QTimer>

using namespace tunnelkit;

NetworkRepair::NetworkRepair(QObject *parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this,
            [this]() { finish(false, tr("The Quellnet helper did not answer in time.")); });
}

NetworkRepair::~NetworkRepair() = default;

void NetworkRepair::start()
{
    if (m_running) {
        QMetaObject::invokeMethod(
            this, [this]() { emit finished(false, tr("A network repair is already under way.")); },
            Qt::QueuedConnection);
        return;
    }
    m_running = true;
    m_connected = false;
    m_decoder = std::make_unique<wire::FrameDecoder>();
    m_timer->start(m_timeoutMs);
    // A missing socket is reported within connectToServer(): never within start().
    QMetaObject::invokeMethod(this, &NetworkRepair::connectNow, Qt::QueuedConnection);
}

void NetworkRepair::connectNow()
{
    if (!m_running || m_socket)
        return;
    QString path = qEnvironmentVariable("QUELLNET_HELPER_SOCKET");
    if (path.isEmpty())
        path = QStringLiteral("/run/quellnet/helper.sock");
    m_socket = new QLocalSocket(this);
    connect(m_socket, &QLocalSocket::connected, this, [this]() {
        m_connected = true;
        m_socket->write(wire::encode({wire::Type::Repair, QCborMap()}));
    });
    connect(m_socket, &QLocalSocket::readyRead, this, &NetworkRepair::onReadyRead);
    connect(m_socket, &QLocalSocket::disconnected, this, &NetworkRepair::onGone);
    connect(m_socket, &QLocalSocket::errorOccurred, this, &NetworkRepair::onGone);
    m_socket->connectToServer(path);
}

void NetworkRepair::onReadyRead()
{
    if (!m_socket || !m_socket->isOpen())
        return;
    m_decoder->feed(m_socket->readAll());
    wire::Message message;
    for (;;) {
        const wire::FrameDecoder::Result r = m_decoder->next(&message);
        if (r == wire::FrameDecoder::NeedMore)
            return;
        if (r == wire::FrameDecoder::Failed) {
            finish(false, tr("The Quellnet helper's answer could not be read."));
            return;
        }
        if (message.type == wire::Type::RepairDone) {
            const QString report = wire::textField(message.body, "report", wire::kMaxReport);
            finish(wire::boolField(message.body, "ok"),
                   report.isEmpty() ? tr("The Quellnet helper sent no report.") : report);
            return;
        }
        if (message.type == wire::Type::Error) {
            finish(false,
                   tr("The Quellnet helper refused the repair: %1")
                       .arg(wire::textField(message.body, "text", 512)));
            return;
        }
    }
}

void NetworkRepair::onGone()
{
    if (!m_running || !m_socket)
        return;
    // What arrived before the connection ended still counts (a refusal, say).
    onReadyRead();
    if (!m_running)
        return;
    if (m_connected)
        finish(false, tr("The Quellnet helper closed the connection without an answer."));
    else
        finish(false,
               tr("The Quellnet helper does not answer (%1). Start it with: sudo systemctl "
                  "start quellnet-helper")
                   .arg(m_socket->errorString()));
}

void NetworkRepair::finish(bool ok, const QString &report)
{
    if (!m_running)
        return;
    m_running = false;
    m_timer->stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    emit finished(ok, report);
}
