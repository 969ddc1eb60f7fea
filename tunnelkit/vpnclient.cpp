// vpnclient as the client side of quellnet-helper: every call becomes a message on the
// helper's socket, every event, log line and traffic figure comes back from it. Nothing here
// runs with privileges, and no call waits for the tunnel.
#include "vpnclient.h"

#include "engine.h"
#include "helperprotocol.h"

#include <QLocalSocket>
#include <QSet>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>

namespace {

using namespace tunnelkit;

using EventCallback = void (*)(const std::string &, const std::string &);
using LogCallback = void (*)(const std::string &);
using TrafficCallback = void (*)(float, float);

std::atomic<EventCallback> g_event{nullptr};
std::atomic<LogCallback> g_log{nullptr};
std::atomic<TrafficCallback> g_traffic{nullptr};

// How long a call waits for the client thread; the socket work there is bounded below it.
constexpr auto kCallBound = std::chrono::milliseconds(800);
constexpr int kConnectMs = 300;

const char kDefaultSocket[] = "/run/quellnet/helper.sock";

// Set by the one vpnclient; the callback setters are free functions.
std::function<void()> g_attach;

void emitEvent(const QString &name, const QString &info)
{
    if (const EventCallback cb = g_event.load())
        cb(name.toStdString(), info.toStdString());
}

void emitLog(const QString &line)
{
    if (const LogCallback cb = g_log.load())
        cb(line.toStdString());
}

bool isTerminal(const QString &name)
{
    return name == QLatin1String("FAILED") || name == QLatin1String("DISCONNECTED");
}

struct Policy
{
    int level = 0;
    bool keep = false;
    bool lan = false;
    bool known = false;

    void writeTo(QCborMap *body) const
    {
        body->insert(QStringLiteral("level"), level);
        body->insert(QStringLiteral("keep"), keep);
        body->insert(QStringLiteral("lan"), lan);
        body->insert(QStringLiteral("known"), known);
    }
};

// The connection to the helper; lives on the client thread.
class Link : public QObject
{
public:
    Link(QString socketPath, std::atomic<bool> *running)
        : m_path(std::move(socketPath))
        , m_running(running)
    { }

    // Connects if not connected yet; false when no helper answers.
    bool ensureConnected()
    {
        if (m_socket && m_socket->state() == QLocalSocket::ConnectedState)
            return true;
        reset();
        m_socket = new QLocalSocket(this);
        connect(m_socket, &QLocalSocket::readyRead, this, &Link::onReadyRead);
        connect(m_socket, &QLocalSocket::disconnected, this, &Link::onDisconnected);
        m_socket->connectToServer(m_path);
        if (m_socket->state() != QLocalSocket::ConnectedState
            && !m_socket->waitForConnected(kConnectMs)) {
            m_lastError = m_socket->errorString();
            reset();
            return false;
        }
        write(wire::Type::Hello, QCborMap());
        return true;
    }

    bool command(wire::Type type, QCborMap body)
    {
        if (!ensureConnected())
            return false;
        const qint64 seq = ++m_seq;
        body.insert(QStringLiteral("seq"), seq);
        m_pending.insert(seq);
        return write(type, body);
    }

    // Last call on the client thread, as it ends: nothing is deferred any more.
    void flushAndClose()
    {
        if (m_socket && m_socket->state() == QLocalSocket::ConnectedState) {
            m_socket->waitForBytesWritten(kConnectMs);
            m_socket->disconnectFromServer();
        }
        reset(true);
    }

    QString socketPath() const { return m_path; }
    QString lastError() const { return m_lastError; }

private:
    bool write(wire::Type type, const QCborMap &body)
    {
        const QByteArray frame = wire::encode({type, body});
        if (frame.isEmpty() || !m_socket)
            return false;
        m_socket->write(frame);
        m_socket->flush();
        return true;
    }

    // now: delete the socket at once (not from inside one of its own signals).
    void reset(bool now = false)
    {
        if (m_socket) {
            m_socket->disconnect(this);
            m_socket->abort();
            if (now)
                delete m_socket;
            else
                m_socket->deleteLater();
            m_socket = nullptr;
        }
        m_decoder = wire::FrameDecoder();
        m_pending.clear();
    }

    // The helper's word on whether a session runs counts only once it has seen all our
    // commands: until then, the state start() or stop() set here stands.
    void takeRunning(bool running)
    {
        if (m_pending.isEmpty())
            m_running->store(running);
    }

    void onReadyRead()
    {
        m_decoder.feed(m_socket->readAll());
        wire::Message m;
        for (;;) {
            const wire::FrameDecoder::Result r = m_decoder.next(&m);
            if (r == wire::FrameDecoder::NeedMore)
                return;
            if (r == wire::FrameDecoder::Failed) {
                lost(QStringLiteral("the helper sent something unreadable: ") + m_decoder.error());
                return;
            }
            handle(m);
            if (!m_socket)
                return;
        }
    }

    void handle(const wire::Message &m)
    {
        const QCborMap &b = m.body;
        switch (m.type) {
        case wire::Type::State: {
            const bool running = wire::boolField(b, "running");
            takeRunning(running);
            // A client that starts while the helper runs a session shows where it stands.
            if (running && m_pending.isEmpty())
                emitEvent(wire::textField(b, "name", 64), wire::textField(b, "info", 4096));
            break;
        }
        case wire::Type::Event: {
            const QString name = wire::textField(b, "name", 64);
            if (isTerminal(name) && m_pending.isEmpty())
                m_running->store(false);
            else
                takeRunning(wire::boolField(b, "running"));
            emitEvent(name, wire::textField(b, "info", 4096));
            break;
        }
        case wire::Type::Log:
            emitLog(wire::textField(b, "line", 64 * 1024));
            break;
        case wire::Type::Traffic:
            if (const TrafficCallback cb = g_traffic.load())
                cb(float(wire::doubleField(b, "in")), float(wire::doubleField(b, "out")));
            break;
        case wire::Type::Done:
            m_pending.remove(wire::intField(b, "seq"));
            takeRunning(wire::boolField(b, "running"));
            break;
        case wire::Type::Error:
            lost(wire::textField(b, "text", 4096));
            break;
        default:
            lost(QStringLiteral("the helper sent a client command"));
            break;
        }
    }

    void lost(const QString &why)
    {
        const bool wasRunning = m_running->load() || !m_pending.isEmpty();
        reset();
        m_running->store(false);
        emitLog(QStringLiteral("tunnelkit: helper: ") + why);
        if (wasRunning)
            emitEvent(QStringLiteral("FAILED"), why);
    }

    void onDisconnected()
    {
        const bool wasRunning = m_running->load();
        reset();
        m_running->store(false);
        if (wasRunning) {
            // The tunnel ends with the helper (openvpn goes with its management link).
            emitLog(QStringLiteral("tunnelkit: the connection to the helper ended"));
            emitEvent(QStringLiteral("DISCONNECTED"),
                      QStringLiteral("the Quellnet helper stopped"));
        }
    }

    QString m_path;
    std::atomic<bool> *m_running;
    QLocalSocket *m_socket = nullptr;
    wire::FrameDecoder m_decoder;
    qint64 m_seq = 0;
    QSet<qint64> m_pending;
    QString m_lastError;
};

} // namespace

struct vpnclient::Private
{
    Policy policy;
    std::string server;
    std::string config;
    std::atomic<bool> running{false};
    // A QThread: its quit() also holds when asked before its loop runs, and works at process
    // exit, after the application object is gone (the helper connection ends there too).
    std::unique_ptr<QThread> thread;
    Link *link = nullptr; // lives on the client thread, deleted after it ended

    void ensureThread()
    {
        if (link)
            return;
        QString path = qEnvironmentVariable("QUELLNET_HELPER_SOCKET");
        if (path.isEmpty())
            path = QLatin1String(kDefaultSocket);
        thread = std::make_unique<QThread>();
        thread->setObjectName(QStringLiteral("tunnelkit-client"));
        link = new Link(path, &running);
        link->moveToThread(thread.get());
        Link *l = link;
        QObject::connect(
            thread.get(), &QThread::finished, l, [l]() { l->flushAndClose(); },
            Qt::DirectConnection);
        thread->start();
    }

    // Runs f on the client thread; waits for it at most kCallBound. The result lives in a
    // shared state, so a late f writes nowhere harmful.
    template<typename F>
    bool onLink(F f, bool fallback)
    {
        ensureThread();
        auto result = std::make_shared<std::promise<bool>>();
        std::future<bool> answer = result->get_future();
        QMetaObject::invokeMethod(
            link, [l = link, f, result]() { result->set_value(f(l)); }, Qt::QueuedConnection);
        if (answer.wait_for(kCallBound) != std::future_status::ready)
            return fallback;
        return answer.get();
    }

    // Connects now, so that a running session is reported without waiting for a call.
    void attach();

    // A changed policy goes to the helper once the caller's current work is done, so that
    // the setters of one change arrive as one message, and never half set.
    bool policyPending = false;
    void policyChanged()
    {
        if (policyPending)
            return;
        policyPending = true;
        QTimer::singleShot(0, [this]() {
            if (!policyPending || !policy.known)
                return;
            policyPending = false;
            QCborMap body;
            policy.writeTo(&body);
            onLink([body](Link *link) { return link->command(wire::Type::SetPolicy, body); },
                   false);
        });
    }

    void shutdown()
    {
        if (!link)
            return;
        thread->quit();
        thread->wait();
        delete link;
        link = nullptr;
        thread.reset();
    }
};

vpnclient *vpnclient::instance()
{
    static vpnclient client;
    return &client;
}

vpnclient::vpnclient()
    : d(new Private)
{
    g_attach = [p = d]() {
        p->attach();
    };
}

vpnclient::~vpnclient()
{
    d->shutdown();
    delete d;
}

void vpnclient::setKillSwith(int level)
{
    // Only 0 and 3 are defined; anything else errs on the side of blocking.
    const int value = level == 0 ? 0 : 3;
    if (d->policy.known && d->policy.level == value)
        return;
    d->policy.level = value;
    d->policy.known = true;
    d->policyChanged();
}

void vpnclient::setKillDisconnect(bool keep)
{
    if (d->policy.keep == keep)
        return;
    d->policy.keep = keep;
    d->policyChanged();
}

void vpnclient::setKillLocal(bool allow)
{
    if (d->policy.lan == allow)
        return;
    d->policy.lan = allow;
    d->policyChanged();
}

void vpnclient::setconfig(const std::string &server, const std::string &config)
{
    d->server = server;
    d->config = config;
}

int vpnclient::start()
{
    if (d->config.size() > kMaxConfigBytes || d->server.size() > 255) {
        emitLog(QStringLiteral("tunnelkit: start failed: the configuration is too long"));
        emitEvent(QStringLiteral("FAILED"), QStringLiteral("configuration refused: too long"));
        return StartConfigRefused;
    }
    QCborMap body;
    d->policyPending = false;
    body.insert(QStringLiteral("server"), QString::fromStdString(d->server));
    body.insert(QStringLiteral("config"), QByteArray::fromStdString(d->config));
    d->policy.writeTo(&body);
    // The running flag changes on the client thread, in order with the helper's replies: a
    // reply to an earlier call must not undo it.
    std::atomic<bool> *running = &d->running;
    const bool sent = d->onLink(
        [body, running](Link *link) {
            const bool ok = link->command(wire::Type::Connect, body);
            running->store(ok);
            if (ok)
                return true;
            const QString why
                = QStringLiteral("the Quellnet helper does not answer on %1 (%2); start it "
                                 "with: sudo systemctl start quellnet-helper")
                      .arg(link->socketPath(), link->lastError());
            emitLog(QStringLiteral("tunnelkit: start failed: ") + why);
            emitEvent(QStringLiteral("FAILED"), why);
            return false;
        },
        false);
    return sent ? StartOk : StartNoHelper;
}

int vpnclient::stop()
{
    QCborMap body;
    d->policyPending = false;
    d->policy.writeTo(&body);
    std::atomic<bool> *running = &d->running;
    d->onLink(
        [body, running](Link *link) {
            running->store(false);
            return link->command(wire::Type::Disconnect, body);
        },
        false);
    return 0;
}

void vpnclient::Private::attach()
{
    onLink([](Link *link) { return link->ensureConnected(); }, false);
}

bool vpnclient::isStart()
{
    return d->running.load();
}

void vpnclient::close()
{
    stop();
    d->shutdown();
}

void vpn_event_set_callback(void (*callback)(const std::string &name, const std::string &info))
{
    g_event.store(callback);
    // The client shows a session the helper already runs as soon as it listens for events.
    if (callback) {
        vpnclient::instance();
        g_attach();
    }
}

void vpn_log_set_callback(void (*callback)(const std::string &line))
{
    g_log.store(callback);
}

void vpn_traffic_set_callback(void (*callback)(float inMb, float outMb))
{
    g_traffic.store(callback);
}
