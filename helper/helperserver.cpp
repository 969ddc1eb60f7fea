#include "helperserver.h"

#include "enginehost.h"
#include "netwatch.h"
#include "sleepwatcher.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSaveFile>

using namespace tunnelkit;

namespace helper {
namespace {

constexpr int kMaxClients = 32;
// Commands a client may send before its authorisation is decided.
constexpr int kMaxQueued = 8;
// A client that does not read its events is not allowed to pile them up here.
constexpr qint64 kMaxUnsent = 4 * 1024 * 1024;
constexpr qsizetype kMaxServer = 255;
constexpr int kMaxReportLine = 180;

bool isTerminal(const QString &name)
{
    return name == QLatin1String("FAILED") || name == QLatin1String("DISCONNECTED");
}

KillSwitchSettings policyFrom(const QCborMap &body)
{
    KillSwitchSettings k;
    k.known = wire::boolField(body, "known");
    // Anything but 0 errs on the side of blocking, as the client's own setter does.
    k.level = wire::intField(body, "level", 0) == 0 ? 0 : 3;
    k.keepBlocked = wire::boolField(body, "keep");
    k.allowLan = wire::boolField(body, "lan");
    return k;
}

bool makePrivateFolder(const QString &path, QFileDevice::Permissions permissions)
{
    return QDir().mkpath(path) && QFile::setPermissions(path, permissions);
}

} // namespace

struct HelperServer::Client
{
    quint64 id = 0;
    QLocalSocket *socket = nullptr;
    wire::FrameDecoder decoder;
    PeerIdentity peer;
    bool allowed = false;
    QList<wire::Message> queued;
};

HelperServer::HelperServer(const HelperOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_environment(Environment::forHelper(options.runtimeDir, options.stateDir))
    , m_authority(options.group)
{
    m_environment.openvpn = options.openvpn;
    m_environment.nft = options.nft;
    m_environment.dns = options.dns;
    m_environment.checkRoutes = options.checkRoutes;
    m_environment.reconnectTimeoutMs = options.reconnectTimeoutSeconds * 1000;
}

HelperServer::~HelperServer()
{
    // Ends the engine thread before the clients and this object go.
    m_host.reset();
}

bool HelperServer::start(QString *error)
{
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const auto everyone = owner | QFileDevice::ReadGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::ExeOther;
    // Clients must reach the socket; the configuration, keys and notes are root's alone.
    if (!makePrivateFolder(m_options.runtimeDir, everyone)
        || !makePrivateFolder(m_environment.runtimeBase, owner)
        || !makePrivateFolder(m_environment.stateDir, owner)) {
        *error = QStringLiteral("cannot make the folders below %1").arg(m_options.runtimeDir);
        return false;
    }

    EngineSink sink;
    sink.event = [this](const std::string &name, const std::string &info) {
        const QString n = QString::fromStdString(name);
        const QString i = QString::fromStdString(info);
        QMetaObject::invokeMethod(
            this, [this, n, i]() { engineEvent(n, i); }, Qt::QueuedConnection);
    };
    sink.log = [this](const std::string &line) {
        const QString l = QString::fromStdString(line);
        QMetaObject::invokeMethod(
            this,
            [this, l]() {
                qInfo("%s", qPrintable(l));
                broadcast(wire::Type::Log, QCborMap{{QStringLiteral("line"), l}});
            },
            Qt::QueuedConnection);
    };
    sink.traffic = [this](float inMb, float outMb) {
        QMetaObject::invokeMethod(
            this,
            [this, inMb, outMb]() {
                broadcast(wire::Type::Traffic,
                          QCborMap{{QStringLiteral("in"), double(inMb)},
                                   {QStringLiteral("out"), double(outMb)}});
            },
            Qt::QueuedConnection);
    };
    m_host = std::make_unique<EngineHost>(std::move(sink));

    // Before any client: what a crashed run left is undone first.
    const KillSwitchSettings saved = loadPolicy();
    m_host->run([&](Engine &engine) { engine.recover(saved, m_environment); });

    m_server = new QLocalServer(this);
    QLocalServer::removeServer(m_options.socketPath);
    if (!m_server->listen(m_options.socketPath)) {
        *error = QStringLiteral("cannot listen on %1: %2")
                     .arg(m_options.socketPath, m_server->errorString());
        return false;
    }
    // Anyone may knock; who may act is decided per connection from the kernel's credentials.
    QFile::setPermissions(m_options.socketPath,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                              | QFileDevice::WriteGroup | QFileDevice::ReadOther
                              | QFileDevice::WriteOther);
    connect(m_server, &QLocalServer::newConnection, this, &HelperServer::onNewConnection);
    watchTheMachine();
    qInfo("quellnet-helper: listening on %s", qPrintable(m_options.socketPath));
    return true;
}

void HelperServer::watchTheMachine()
{
    // A tunnel outlives suspend, resume and network changes only if openvpn is told at once;
    // by itself it notices after its keep-alive time-out, a minute or more.
    auto *network = new NetworkWatcher(this);
    QString error;
    if (network->start(&error))
        connect(network, &NetworkWatcher::changed, this, [this]() {
            if (!m_host || m_networkCheckQueued.exchange(true))
                return;
            m_host->post([this](Engine &engine) {
                m_networkCheckQueued = false;
                engine.networkChanged();
            });
        });
    else
        qWarning("quellnet-helper: network changes are not watched: %s", qPrintable(error));
    auto *sleep = new SleepWatcher(this);
    if (sleep->start(m_options.systemBus, &error))
        connect(sleep, &SleepWatcher::resumed, this, [this]() {
            if (m_host)
                m_host->post([](Engine &engine) { engine.resumed(); });
        });
    else
        qInfo("quellnet-helper: suspend and resume are not watched: %s", qPrintable(error));
}

void HelperServer::shutdown()
{
    if (!m_host)
        return;
    if (m_server)
        m_server->close();
    const KillSwitchSettings saved = loadPolicy();
    m_host->run([&](Engine &engine) { engine.stop(saved, m_environment); });
    m_host.reset();
}

void HelperServer::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        auto client = std::make_unique<Client>();
        client->id = m_nextClient++;
        client->socket = socket;
        socket->setParent(this);
        Client *c = client.get();
        if (m_clients.size() >= size_t(kMaxClients)) {
            qWarning("quellnet-helper: too many clients, one refused");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        if (!peerIdentity(socket->socketDescriptor(), &c->peer)) {
            qWarning("quellnet-helper: a client whose credentials are unknown was refused");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_clients.emplace(c->id, std::move(client));
        const quint64 id = c->id;
        connect(socket, &QLocalSocket::readyRead, this, [this, id]() {
            auto it = m_clients.find(id);
            if (it != m_clients.end())
                onReadyRead(it->second.get());
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, id]() {
            // What it sent before it went still counts (a client's stop on its way out).
            auto it = m_clients.find(id);
            if (it != m_clients.end())
                onReadyRead(it->second.get());
            it = m_clients.find(id);
            if (it != m_clients.end())
                drop(it->second.get(), QString());
        });
        m_authority.check(c->peer, [this, id](bool allowed, const QString &why) {
            auto it = m_clients.find(id);
            if (it == m_clients.end())
                return;
            Client *client = it->second.get();
            qInfo("quellnet-helper: client pid %lld: %s", client->peer.pid, qPrintable(why));
            if (!allowed) {
                send(client, wire::Type::Error,
                     QCborMap{
                         {QStringLiteral("text"),
                          QString(QStringLiteral("not authorised to control the VPN: ") + why)}});
                client->socket->flush();
                drop(client, QString());
                return;
            }
            client->allowed = true;
            const QList<wire::Message> queued = std::move(client->queued);
            client->queued.clear();
            for (const wire::Message &m : queued) {
                if (m_clients.count(id) == 0)
                    return;
                handle(client, m);
            }
        });
        onReadyRead(c);
    }
}

void HelperServer::onReadyRead(Client *client)
{
    client->decoder.feed(client->socket->readAll());
    wire::Message message;
    for (;;) {
        const wire::FrameDecoder::Result r = client->decoder.next(&message);
        if (r == wire::FrameDecoder::NeedMore)
            return;
        if (r == wire::FrameDecoder::Failed) {
            send(client, wire::Type::Error,
                 QCborMap{{QStringLiteral("text"), client->decoder.error()}});
            client->socket->flush();
            drop(client, client->decoder.error());
            return;
        }
        if (!client->allowed) {
            if (client->queued.size() >= kMaxQueued) {
                drop(client, QStringLiteral("too many commands before its authorisation"));
                return;
            }
            client->queued << message;
            continue;
        }
        const quint64 id = client->id;
        handle(client, message);
        if (m_clients.count(id) == 0)
            return;
    }
}

void HelperServer::drop(Client *client, const QString &why)
{
    if (!why.isEmpty())
        qWarning("quellnet-helper: client pid %lld dropped: %s", client->peer.pid, qPrintable(why));
    QLocalSocket *socket = client->socket;
    socket->disconnect(this);
    socket->disconnectFromServer();
    socket->deleteLater();
    m_clients.erase(client->id);
}

void HelperServer::send(Client *client, wire::Type type, const QCborMap &body)
{
    if (client->socket->bytesToWrite() > kMaxUnsent) {
        drop(client, QStringLiteral("it does not read what it is sent"));
        return;
    }
    client->socket->write(wire::encode({type, body}));
}

void HelperServer::broadcast(wire::Type type, const QCborMap &body)
{
    const QByteArray frame = wire::encode({type, body});
    std::vector<quint64> slow;
    for (auto &entry : m_clients) {
        Client *c = entry.second.get();
        if (!c->allowed)
            continue;
        if (c->socket->bytesToWrite() > kMaxUnsent)
            slow.push_back(entry.first);
        else
            c->socket->write(frame);
    }
    for (quint64 id : slow) {
        auto it = m_clients.find(id);
        if (it != m_clients.end())
            drop(it->second.get(), QStringLiteral("it does not read what it is sent"));
    }
}

void HelperServer::sendState(Client *client)
{
    send(client, wire::Type::State,
         QCborMap{{QStringLiteral("running"), m_running},
                  {QStringLiteral("name"), m_stateName},
                  {QStringLiteral("info"), m_stateInfo}});
}

void HelperServer::handle(Client *client, const wire::Message &message)
{
    const QCborMap &body = message.body;
    const qint64 seq = wire::intField(body, "seq", 0);
    const quint64 id = client->id;
    // Runs on the engine thread after the job; the answer goes to the one client that asked.
    const auto done = [this, id, seq](int result, bool running) {
        QMetaObject::invokeMethod(
            this,
            [this, id, seq, result, running]() {
                m_running = running;
                auto it = m_clients.find(id);
                if (it == m_clients.end())
                    return;
                send(it->second.get(), wire::Type::Done,
                     QCborMap{{QStringLiteral("seq"), seq},
                              {QStringLiteral("result"), result},
                              {QStringLiteral("running"), running}});
            },
            Qt::QueuedConnection);
    };
    const Environment environment = m_environment;
    switch (message.type) {
    case wire::Type::Hello:
    case wire::Type::Query:
        sendState(client);
        return;
    case wire::Type::Connect: {
        StartRequest request;
        request.killSwitch = policyFrom(body);
        const QString server = wire::textField(body, "server", kMaxServer);
        const QByteArray config = wire::bytesField(body, "config", wire::kMaxBody);
        if (config.isEmpty() && body.contains(QStringLiteral("config"))) {
            drop(client, QStringLiteral("a configuration that is no byte string or too long"));
            return;
        }
        request.server = server.toStdString();
        request.config = config.toStdString();
        request.environment = environment;
        if (request.killSwitch.known)
            savePolicy(request.killSwitch);
        qInfo("quellnet-helper: client pid %lld (uid %u) connects to %s", client->peer.pid,
              client->peer.uid, qPrintable(server));
        m_host->post([request, done](Engine &engine) {
            const int result = engine.start(request);
            done(result, result == StartOk);
        });
        return;
    }
    case wire::Type::Disconnect: {
        const KillSwitchSettings k = policyFrom(body);
        if (k.known)
            savePolicy(k);
        qInfo("quellnet-helper: client pid %lld (uid %u) disconnects", client->peer.pid,
              client->peer.uid);
        m_host->post([k, environment, done](Engine &engine) {
            engine.stop(k, environment);
            done(0, false);
        });
        return;
    }
    case wire::Type::SetPolicy: {
        const KillSwitchSettings k = policyFrom(body);
        if (k.known)
            savePolicy(k);
        const bool running = m_running;
        m_host->post([k, environment, done, running](Engine &engine) {
            engine.setPolicy(k, environment);
            done(0, running);
        });
        return;
    }
    case wire::Type::Repair: {
        qInfo("quellnet-helper: client pid %lld (uid %u) asks for a network repair",
              client->peer.pid, client->peer.uid);
        const KillSwitchSettings saved = loadPolicy();
        m_host->post([this, id, saved, environment](Engine &engine) {
            const RepairReport report = engine.repair(saved, environment);
            QMetaObject::invokeMethod(
                this, [this, id, report]() { sendRepairReport(id, report); }, Qt::QueuedConnection);
        });
        return;
    }
    default:
        send(client, wire::Type::Error,
             QCborMap{{QStringLiteral("text"), QStringLiteral("not a command")}});
        client->socket->flush();
        drop(client, QStringLiteral("sent a message that is no command"));
        return;
    }
}

void HelperServer::sendRepairReport(quint64 id, const RepairReport &report)
{
    auto it = m_clients.find(id);
    if (it == m_clients.end())
        return;
    QStringList lines;
    for (const QString &line : report.lines)
        lines << line.left(kMaxReportLine);
    while (lines.join(QLatin1Char('\n')).toUtf8().size() > wire::kMaxReport)
        lines.removeLast();
    for (const QString &line : qAsConst(lines))
        qInfo("quellnet-helper: repair: %s", qPrintable(line));
    send(it->second.get(), wire::Type::RepairDone,
         QCborMap{{QStringLiteral("ok"), report.ok},
                  {QStringLiteral("report"), lines.join(QLatin1Char('\n'))}});
}

void HelperServer::engineEvent(const QString &name, const QString &info)
{
    m_running = !isTerminal(name);
    m_stateName = name;
    m_stateInfo = info;
    broadcast(wire::Type::Event,
              QCborMap{{QStringLiteral("name"), name},
                       {QStringLiteral("info"), info},
                       {QStringLiteral("running"), m_running}});
}

void HelperServer::savePolicy(const KillSwitchSettings &settings)
{
    // Read again after a crash of the helper: whether the block must stay.
    const QString path = m_environment.stateDir + QStringLiteral("/policy");
    const QByteArray line = QByteArray::number(settings.level) + ' '
        + QByteArray::number(int(settings.keepBlocked)) + ' '
        + QByteArray::number(int(settings.allowLan)) + '\n';
    // Mostly unchanged; a save waits for the disk, on the way to every connect.
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.read(64) == line)
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(line);
    file.commit();
}

KillSwitchSettings HelperServer::loadPolicy() const
{
    KillSwitchSettings k;
    QFile file(m_environment.stateDir + QStringLiteral("/policy"));
    if (!file.open(QIODevice::ReadOnly))
        return k;
    const QList<QByteArray> f = file.read(64).trimmed().split(' ');
    if (f.size() != 3)
        return k;
    k.known = true;
    k.level = f[0].toInt() == 0 ? 0 : 3;
    k.keepBlocked = f[1] == "1";
    k.allowLan = f[2] == "1";
    return k;
}

} // namespace helper
