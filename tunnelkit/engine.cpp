#include "engine.h"

#include "nftrunner.h"
#include "system.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/un.h>

namespace tunnelkit {
namespace {

// How long openvpn gets for each way of ending it.
constexpr int kGraceSignalMs = 6000;
constexpr int kGraceCloseMs = 2000;
constexpr int kGraceKillMs = 2000;
constexpr int kOutputPauseMs = 200;
constexpr int kResolveMs = 10000;
// Network changes that follow a restart this closely are one change: looked at once settled.
constexpr int kSettleMs = 300;
// The longest pause openvpn may ask for before it connects again.
constexpr int kMaxHoldSeconds = 30;
// openvpn's output kept while its management link is not up yet.
constexpr int kHeldOutputLines = 200;

QString fromStd(const std::string &s)
{
    return QString::fromUtf8(s.data(), int(s.size()));
}

} // namespace

Engine::Engine(EngineSink sink, std::atomic<bool> *running, QObject *parent)
    : QObject(parent)
    , m_sink(std::move(sink))
    , m_running(running)
{
    if (!os::openWakePipe(m_wake))
        qFatal("tunnelkit: cannot create the engine's wake-up pipe");
    m_wakeNotifier = new QSocketNotifier(m_wake[0], QSocketNotifier::Read, this);
    connect(m_wakeNotifier, &QSocketNotifier::activated, this, &Engine::runJobs);
    m_reconnectDeadline = new QTimer(this);
    m_reconnectDeadline->setSingleShot(true);
    connect(m_reconnectDeadline, &QTimer::timeout, this, [this]() {
        if (m_phase != Phase::Connected || m_givingUp || !m_process)
            return;
        m_exitReason = QStringLiteral("the tunnel did not come back within %1 s")
                           .arg(m_environment.reconnectTimeoutMs / 1000);
        log(QStringLiteral("tunnelkit: ") + m_exitReason);
        giveUp();
    });
}

Engine::~Engine()
{
    // Last resort at process exit: no events, no nft; openvpn ends with its management link.
    m_phase = Phase::Stopping;
    if (m_socket)
        m_socket->abort();
    if (m_process && m_process->isRunning()) {
        if (!m_process->waitForFinished(kGraceCloseMs))
            m_process->kill();
        m_process->waitForFinished(kGraceKillMs);
    }
    delete m_wakeNotifier;
    os::closeWakePipe(m_wake);
}

void Engine::post(std::function<void()> job)
{
    std::lock_guard<std::mutex> lock(m_jobsMutex);
    m_jobs.push_back(std::move(job));
    os::wake(m_wake[1]);
}

void Engine::requestQuit()
{
    post([this]() { emit quitRequested(); });
}

void Engine::runJobs()
{
    os::drainWake(m_wake[0]);
    for (;;) {
        std::function<void()> job;
        {
            std::lock_guard<std::mutex> lock(m_jobsMutex);
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}

void Engine::log(const QString &line)
{
    if (m_sink.log)
        m_sink.log(line.toStdString());
}

void Engine::emitEvent(const QString &name, const QString &info)
{
    if (m_sink.event)
        m_sink.event(name.toStdString(), info.toStdString());
}

void Engine::setPhase(Phase phase)
{
    if (phase > m_phase)
        m_phase = phase;
    m_running->store(m_phase >= Phase::Preparing && m_phase < Phase::Ended);
}

void Engine::beginSession(const StartRequest &request)
{
    if (m_process) {
        log(QStringLiteral("tunnelkit: replacing the running session"));
        setPhase(Phase::Stopping);
        endProcess();
        cleanupSession();
    }
    m_phase = Phase::Idle;
    setPhase(Phase::Preparing);
    ++m_session;
    m_environment = request.environment;
    m_killSwitch = request.killSwitch;
    m_interface = QStringLiteral("qnet%1").arg(m_environment.pid % 10000000);
    m_failure.clear();
    m_exitReason.clear();
    m_lastState.clear();
    m_givingUp = false;
    m_holding = false;
    m_ownRestart = false;
    m_path = NetworkPath();
    m_lastNetworkRestart.invalidate();
    m_meter.reset();
    m_pushedDns.clear();
    m_tunnelAddresses.clear();
}

int Engine::start(const StartRequest &request)
{
    beginSession(request);
    const FilteredConfig config = filterConfig(request.config, request.server);
    if (!config.ok)
        return fail(StartConfigRefused,
                    QStringLiteral("configuration refused: ") + fromStd(config.error));
    for (const std::string &note : config.notes)
        log(QStringLiteral("tunnelkit: configuration: ") + fromStd(note));

    QString why;
    if (!resolveEndpoint(config.remote, &why))
        return fail(StartResolveFailed, why);
    if (!makeRuntimeFolder(&why) || !writeConfig(config, &why))
        return fail(StartFilesFailed, why);
    const QString openvpn = resolveProgram(m_environment.openvpn);
    if (openvpn.isEmpty())
        return fail(StartLaunchFailed,
                    QStringLiteral("openvpn (%1) is not there").arg(m_environment.openvpn));
    if (!listenForManagement(&why))
        return fail(StartFilesFailed, why);
    if (!startOpenvpn(openvpn, &why))
        return fail(StartLaunchFailed, why);
    // openvpn waits (management-hold) until sendFirstCommands() releases it: the firewall
    // rules go in while it loads, and are in before it sends its first packet, kill switch
    // or not.
    if (!applyPolicy(FirewallState::Connecting))
        return fail(StartKillSwitchFailed,
                    QStringLiteral("the firewall rules could not be installed"));
    const int result = awaitManagement();
    if (result != StartOk)
        return result;
    attachManagement();
    // While openvpn goes on: what the DNS change will replace is noted (on disk, for a crash),
    // so the change itself is quick on the way to CONNECTED.
    QString dnsError;
    if (dns() && !dns()->prepare(m_interface, &dnsError))
        log(QStringLiteral("tunnelkit: DNS: ") + dnsError);
    return result;
}

int Engine::fail(int result, const QString &why)
{
    log(QStringLiteral("tunnelkit: start failed: ") + why);
    // Ended while still Launching: what openvpn printed joins the held output.
    endProcess();
    setPhase(Phase::Stopping);
    drain();
    cleanupSession();
    restoreDns();
    // Fail closed: whatever was let through for this attempt is taken back.
    if (m_killSwitch.level == 3 && m_tableInstalled && result != StartKillSwitchFailed)
        applyPolicy(FirewallState::Blocked);
    else if (m_killSwitch.level != 3)
        removeTable();
    setPhase(Phase::Ended);
    emitEvent(QStringLiteral("FAILED"), why);
    return result;
}

bool Engine::resolveEndpoint(const RemoteSpec &remote, QString *why)
{
    m_serverPort = remote.port;
    m_transport = remote.transport;
    const QString host = fromStd(remote.host);
    const auto familyOk = [&remote](const QHostAddress &a) {
        const auto p = a.protocol();
        if (p == QAbstractSocket::IPv4Protocol)
            return remote.family != 6;
        if (p == QAbstractSocket::IPv6Protocol)
            return remote.family != 4 && a.scopeId().isEmpty();
        return false;
    };

    QHostAddress literal;
    if (literal.setAddress(host)) {
        if (!familyOk(literal)) {
            *why = QStringLiteral("server address %1 does not fit the protocol").arg(host);
            return false;
        }
        m_serverAddress = literal;
        return true;
    }

    // Resolved here, before the kill switch blocks name look-ups; openvpn gets the address.
    QList<QHostAddress> found;
    bool answered = false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const int id = QHostInfo::lookupHost(host, &loop, [&](const QHostInfo &info) {
        answered = true;
        if (info.error() == QHostInfo::NoError)
            found = info.addresses();
        loop.quit();
    });
    timer.start(kResolveMs);
    if (!answered)
        loop.exec();
    if (!answered)
        QHostInfo::abortHostLookup(id);

    QHostAddress chosen;
    for (const QHostAddress &a : qAsConst(found)) {
        if (!familyOk(a))
            continue;
        if (chosen.isNull()
            || (a.protocol() == QAbstractSocket::IPv4Protocol
                && chosen.protocol() != QAbstractSocket::IPv4Protocol))
            chosen = a;
    }
    if (chosen.isNull()) {
        *why = answered ? QStringLiteral("cannot resolve the server name %1").arg(host)
                        : QStringLiteral("resolving the server name %1 took too long").arg(host);
        return false;
    }
    log(QStringLiteral("tunnelkit: %1 is %2").arg(host, chosen.toString()));
    m_serverAddress = chosen;
    return true;
}

void Engine::sweepStaleRuntimeFolders(RepairReport *report)
{
    // A crashed client leaves its folder (with the configuration's keys) behind; openvpn
    // itself is gone by then. Folders of engines that still run are left alone.
    const QDir base(m_environment.runtimeBase);
    const QFileInfoList folders = base.entryInfoList({QStringLiteral("quellnet-tunnel-*")},
                                                     QDir::Dirs | QDir::NoDotAndDotDot);
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-60);
    for (const QFileInfo &folder : folders) {
        if (folder.isSymLink() || folder.ownerId() != os::effectiveUserId())
            continue;
        QFile owner(folder.filePath() + QStringLiteral("/engine.pid"));
        const qint64 pid
            = owner.open(QIODevice::ReadOnly) ? owner.read(20).trimmed().toLongLong() : 0;
        if (pid > 0 ? os::processAlive(pid) : folder.lastModified().toUTC() > settled)
            continue;
        // openvpn normally ends with its management link; one that outlived a crash would keep
        // a tunnel nobody controls.
        QFile openvpnNote(folder.filePath() + QStringLiteral("/openvpn.pid"));
        const qint64 openvpnPid = openvpnNote.open(QIODevice::ReadOnly)
            ? openvpnNote.read(20).trimmed().toLongLong()
            : 0;
        if (os::endStrayOpenvpn(openvpnPid)) {
            log(QStringLiteral("tunnelkit: ended openvpn %1, left by an engine that ended")
                    .arg(openvpnPid));
            if (report)
                report->note(QStringLiteral("Ended an openvpn left running by an earlier run."));
        }
        if (QDir(folder.filePath()).removeRecursively()) {
            log(QStringLiteral("tunnelkit: removed %1, left by an engine that ended")
                    .arg(folder.filePath()));
            if (report)
                report->note(QStringLiteral("Removed the files of a tunnel that had ended."));
        } else if (report) {
            report->fail(QStringLiteral("The files of a tunnel that had ended could not be "
                                        "removed."));
        }
    }
}

bool Engine::makeRuntimeFolder(QString *why)
{
    sweepStaleRuntimeFolders();
    m_runtime = std::make_unique<QTemporaryDir>(m_environment.runtimeBase
                                                + QStringLiteral("/quellnet-tunnel-XXXXXX"));
    if (!m_runtime->isValid()) {
        *why = QStringLiteral("cannot create a runtime folder in %1: %2")
                   .arg(m_environment.runtimeBase, m_runtime->errorString());
        return false;
    }
    const QString socketPath = m_runtime->filePath(QStringLiteral("mgmt.sock"));
    if (socketPath.toLocal8Bit().size() >= int(sizeof(sockaddr_un::sun_path))) {
        *why = QStringLiteral("runtime folder path too long for a socket: %1").arg(socketPath);
        return false;
    }
    // Whose folder this is, for the sweep after a crash of this process.
    QFile owner(m_runtime->filePath(QStringLiteral("engine.pid")));
    if (!owner.open(QIODevice::WriteOnly | QIODevice::NewOnly)
        || owner.write(QByteArray::number(m_environment.pid)) <= 0) {
        *why = QStringLiteral("cannot write in %1").arg(m_runtime->path());
        return false;
    }
    return true;
}

bool Engine::writeConfig(const FilteredConfig &config, QString *why)
{
    TrailerParams trailer;
    trailer.device = m_interface.toStdString();
    trailer.address = m_serverAddress.toString().toStdString();
    trailer.port = m_serverPort;
    trailer.transport = m_transport;
    trailer.user = m_environment.userName.toStdString();
    trailer.mark = kOpenvpnMark;
    trailer.verb = config.verb;
    trailer.socketPath = m_runtime->filePath(QStringLiteral("mgmt.sock")).toStdString();
    const std::string body = config.body + configTrailer(trailer);

    m_configPath = m_runtime->filePath(QStringLiteral("client.conf"));
    QFile file(m_configPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)
        || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        *why = QStringLiteral("cannot create %1: %2").arg(m_configPath, file.errorString());
        return false;
    }
    const qint64 written = file.write(body.data(), qint64(body.size()));
    if (written != qint64(body.size()) || !file.flush()) {
        *why = QStringLiteral("cannot write %1: %2").arg(m_configPath, file.errorString());
        return false;
    }
    return true;
}

bool Engine::listenForManagement(QString *why)
{
    // Listening before openvpn starts: it connects once, at start-up, and ends when nobody
    // is there. Only our user and root can reach the socket (0700 folder, 0600 socket).
    const QString socketPath = m_runtime->filePath(QStringLiteral("mgmt.sock"));
    m_server = new QLocalServer(this);
    // Bound in place, then restricted: Qt's UserAccessOption detours through a temporary
    // folder, which is measurably slower on the way to CONNECTED.
    if (!m_server->listen(socketPath)
        || !QFile::setPermissions(socketPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        *why = QStringLiteral("cannot listen on %1: %2").arg(socketPath, m_server->errorString());
        return false;
    }
    return true;
}

bool Engine::startOpenvpn(const QString &program, QString *why)
{
    m_process = new ChildProcess(this);
    connect(m_process, &ChildProcess::readyRead, this, &Engine::onOutput);
    setPhase(Phase::Launching);
    // A fixed argument list: everything else is in the configuration the engine wrote.
    QString error;
    if (!m_process->start(program, {QStringLiteral("--config"), m_configPath}, m_runtime->path(),
                          &error)) {
        *why = QStringLiteral("cannot start %1: %2").arg(program, error);
        return false;
    }
    log(QStringLiteral("tunnelkit: started %1 (pid %2)").arg(program).arg(m_process->processId()));
    QFile pidNote(m_runtime->filePath(QStringLiteral("openvpn.pid")));
    if (pidNote.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        pidNote.write(QByteArray::number(m_process->processId()));
    pidNote.close();
    return true;
}

int Engine::awaitManagement()
{
    // Waits for openvpn to connect and greet. The loop reacts to the connection itself:
    // nothing is polled.
    const QDeadlineTimer deadline(20000);
    bool banner = false;
    {
        QEventLoop loop;
        const auto readBanner = [&]() {
            m_managementLines.append(m_socket->readAll());
            QByteArray line;
            while (!banner && m_managementLines.takeLine(&line)) {
                QByteArray payload;
                if (classifyLine(line, &payload) == ManagementKind::Info) {
                    banner = true;
                    log(QString::fromUtf8(payload));
                }
            }
            if (banner)
                loop.quit();
        };
        const auto accept = [&]() {
            while (!m_socket && m_server->hasPendingConnections()) {
                QLocalSocket *peer = m_server->nextPendingConnection();
                if (!isOurOpenvpn(peer)) {
                    peer->abort();
                    peer->deleteLater();
                    continue;
                }
                m_socket = peer;
                m_socket->setParent(this);
                connect(m_socket, &QLocalSocket::readyRead, &loop, readBanner);
                connect(m_socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
                // Nobody else gets in once openvpn is there.
                m_server->close();
                // Sent before its greeting arrives: openvpn waits for them.
                sendFirstCommands();
                if (m_socket->bytesAvailable() > 0)
                    readBanner();
            }
        };
        connect(m_server, &QLocalServer::newConnection, &loop, accept);
        connect(m_process, &ChildProcess::finished, &loop, &QEventLoop::quit);
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(int(qMax<qint64>(1, deadline.remainingTime())));
        // Only this start() runs here: jobs posted meanwhile wait for the outer loop.
        m_wakeNotifier->setEnabled(false);
        accept();
        if (!banner && m_process->isRunning())
            loop.exec();
        m_wakeNotifier->setEnabled(true);
    }
    if (banner)
        return StartOk;
    if (m_socket && m_socket->state() != QLocalSocket::ConnectedState)
        m_process->waitForFinished(kGraceCloseMs); // it ends with its link
    if (!m_process->isRunning())
        return launchEndedEarly();
    if (!m_socket)
        return fail(StartManagementFailed,
                    QStringLiteral("openvpn did not connect to the management socket"));
    return fail(StartManagementFailed,
                QStringLiteral("openvpn's management interface did not greet us"));
}

int Engine::launchEndedEarly()
{
    drain();
    flushHeldOutput();
    if (m_process->crashed())
        return fail(StartLaunchFailed,
                    QStringLiteral("openvpn crashed before its management interface was up"));
    return fail(StartLaunchFailed,
                QStringLiteral("openvpn ended before its management interface was up "
                               "(exit code %1)")
                    .arg(m_process->exitCode()));
}

void Engine::sendFirstCommands()
{
    // The history replays what came before. The log first: a replayed CONNECTED must find the
    // pushed DNS servers (read from the log) already known.
    sendCommand("log on all", ManagementKind::Log);
    sendCommand("state on all", ManagementKind::State);
    sendCommand("bytecount 1");
    // Released at once, without waiting for its >HOLD: the rules are in. openvpn reads
    // commands only once it holds; if it did before, its >HOLD is answered in handleLine().
    // The hold flag (management-hold) stays for every restart: the engine decides when it
    // goes on.
    sendCommand("hold release");
    m_socket->flush();
}

void Engine::attachManagement()
{
    delete m_server;
    m_server = nullptr;
    setPhase(Phase::Attached);
    // Its output now only repeats the management log: read in batches, not at each line (a
    // wake-up of this thread per line took CPU from openvpn on the way to CONNECTED).
    m_process->setReadPause(kOutputPauseMs);
    m_heldOutput.clear();
    m_heldDropped = 0;

    connect(m_socket, &QLocalSocket::readyRead, this, &Engine::onManagementReadyRead);
    connect(m_socket, &QLocalSocket::disconnected, this, &Engine::onManagementDisconnected);
    connect(m_process, &ChildProcess::finished, this, &Engine::onProcessFinished);
    // Lines that came with the banner, and an exit or a closed link that happened meanwhile.
    QMetaObject::invokeMethod(this, &Engine::onManagementReadyRead, Qt::QueuedConnection);
    if (!m_process->isRunning())
        QMetaObject::invokeMethod(this, &Engine::onProcessFinished, Qt::QueuedConnection);
    else if (m_socket->state() != QLocalSocket::ConnectedState)
        QMetaObject::invokeMethod(this, &Engine::onManagementDisconnected, Qt::QueuedConnection);
}

bool Engine::isOurOpenvpn(QLocalSocket *socket)
{
    // The folder keeps other users out; this keeps out any other process of root's.
    qint64 pid = 0;
    uint uid = 0;
    if (!os::peerCredentials(socket->socketDescriptor(), &pid, &uid)) {
        log(QStringLiteral("tunnelkit: refused a management connection: its peer is unknown"));
        return false;
    }
    if (pid != m_process->processId() || (uid != 0 && uid != os::effectiveUserId())) {
        log(QStringLiteral("tunnelkit: refused a management connection from pid %1 (uid %2): "
                           "not the openvpn started here")
                .arg(pid)
                .arg(uid));
        return false;
    }
    return true;
}

void Engine::flushHeldOutput()
{
    if (m_heldDropped > 0)
        log(QStringLiteral("tunnelkit: %1 earlier output line(s) of openvpn dropped")
                .arg(m_heldDropped));
    for (const QString &line : qAsConst(m_heldOutput))
        log(line);
    m_heldOutput.clear();
    m_heldDropped = 0;
}

bool Engine::managementUp() const
{
    return m_socket && m_phase >= Phase::Attached
        && m_socket->state() == QLocalSocket::ConnectedState;
}

bool Engine::tunnelUp() const
{
    return m_phase == Phase::Connected && m_lastState == QLatin1String("CONNECTED");
}

void Engine::recordFailure(const QString &why)
{
    // An authentication failure is the reason, whatever openvpn says after it.
    static const QString authFailed = QStringLiteral("authentication failed");
    if (m_failure != authFailed)
        m_failure = why;
}

void Engine::sendCommand(const QByteArray &command, ManagementKind history)
{
    if (!m_socket || m_socket->state() != QLocalSocket::ConnectedState)
        return;
    m_socket->write(command + '\n');
    if (history == ManagementKind::Success)
        m_replies.expectLine();
    else
        m_replies.expectHistory(history);
}

void Engine::endProcess()
{
    if (!m_process || !m_process->isRunning())
        return;
    if (m_socket && m_socket->state() == QLocalSocket::ConnectedState) {
        sendCommand("signal SIGTERM");
        m_socket->flush();
        if (m_process->waitForFinished(kGraceSignalMs))
            return;
        log(QStringLiteral("tunnelkit: openvpn did not end on the management signal"));
    }
    // Closing the management link ends openvpn too (management-signal); without one there is
    // nothing to wait for.
    if (m_socket) {
        m_socket->abort();
        if (m_process->waitForFinished(kGraceCloseMs))
            return;
    }
    m_process->terminate();
    if (m_process->waitForFinished(kGraceKillMs))
        return;
    log(QStringLiteral("tunnelkit: killing openvpn (pid %1)").arg(m_process->processId()));
    m_process->kill();
    if (m_process->waitForFinished(kGraceKillMs))
        return;
    log(QStringLiteral("tunnelkit: openvpn (pid %1) did not end").arg(m_process->processId()));
}

void Engine::drain()
{
    if (m_socket) {
        // After abort() the socket still looks open but reading it only warns.
        if (m_socket->bytesAvailable() > 0)
            m_managementLines.append(m_socket->readAll());
        QByteArray line;
        while (m_managementLines.takeLine(&line))
            handleLine(line);
        const QByteArray rest = m_managementLines.takeRest();
        if (!rest.isEmpty())
            handleLine(rest);
    }
    if (m_process) {
        onOutput();
        const QByteArray rest = m_outputLines.takeRest();
        if (!rest.isEmpty())
            log(QString::fromLocal8Bit(rest));
    }
}

void Engine::cleanupSession()
{
    // Output of an openvpn that never connected; drain() has read what was left.
    flushHeldOutput();
    delete m_server;
    m_server = nullptr;
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    if (m_process) {
        m_process->disconnect(this);
        // Deleted later: this may run inside the process's own finished signal.
        m_process->deleteLater();
        m_process = nullptr;
    }
    if (m_runtime) {
        const QString path = m_runtime->path();
        if (m_runtime->isValid() && !m_runtime->remove())
            log(QStringLiteral("tunnelkit: cannot remove %1").arg(path));
        m_runtime.reset();
    }
    m_managementLines = LineBuffer();
    m_outputLines = LineBuffer();
    m_replies.reset();
    m_lastState.clear();
    m_reconnectDeadline->stop();
    m_holding = false;
    if (m_serverRoute.isUp())
        os::removeServerRoute(m_serverAddress, m_serverRoute);
    m_serverRoute = NetworkPath();
}

void Engine::stop(const KillSwitchSettings &killSwitch, const Environment &environment)
{
    const bool hadSession = m_process != nullptr;
    if (hadSession) {
        setPhase(Phase::Stopping);
        endProcess();
        drain();
        cleanupSession();
    }
    m_environment = environment;
    if (killSwitch.known)
        m_killSwitch = killSwitch;
    restoreDns();
    settleAfterStop();
    if (hadSession) {
        setPhase(Phase::Ended);
        emitEvent(QStringLiteral("DISCONNECTED"), QStringLiteral("stopped"));
    }
}

void Engine::sessionEnded()
{
    drain();
    const bool crashed = m_process->crashed();
    const int code = m_process->exitCode();
    log(crashed ? QStringLiteral("tunnelkit: openvpn crashed")
                : QStringLiteral("tunnelkit: openvpn ended with exit code %1").arg(code));

    const bool everConnected = m_phase == Phase::Connected;
    const bool failed = !m_failure.isEmpty() || !everConnected;
    QString info;
    if (!m_failure.isEmpty())
        info = m_failure;
    else if (crashed)
        info = QStringLiteral("openvpn crashed");
    else if (!everConnected)
        info = m_exitReason.isEmpty()
            ? QStringLiteral("openvpn ended before the tunnel was up (exit code %1)").arg(code)
            : QStringLiteral("openvpn ended before the tunnel was up: ") + m_exitReason;
    else
        info = m_exitReason.isEmpty() ? QStringLiteral("connection lost")
                                      : QStringLiteral("connection lost: ") + m_exitReason;

    cleanupSession();
    restoreDns();
    if (m_killSwitch.level == 3)
        applyPolicy(FirewallState::Blocked);
    else
        removeTable();
    setPhase(Phase::Ended);
    emitEvent(failed ? QStringLiteral("FAILED") : QStringLiteral("DISCONNECTED"), info);
}

void Engine::onProcessFinished()
{
    if (!m_process || m_phase >= Phase::Stopping)
        return;
    sessionEnded();
}

void Engine::onOutput()
{
    if (!m_process)
        return;
    m_outputLines.append(m_process->readAll());
    QByteArray line;
    while (m_outputLines.takeLine(&line)) {
        // Once the management session is up, its >LOG: lines carry the same text.
        if (managementUp() || line.isEmpty())
            continue;
        if (m_phase != Phase::Launching) {
            log(QString::fromLocal8Bit(line));
        } else if (m_heldOutput.size() < kHeldOutputLines) {
            m_heldOutput << QString::fromLocal8Bit(line);
        } else {
            // The last lines tell why openvpn ended.
            m_heldOutput.removeFirst();
            m_heldOutput << QString::fromLocal8Bit(line);
            ++m_heldDropped;
        }
    }
    if (const int dropped = m_outputLines.takeDropped())
        log(QStringLiteral("tunnelkit: %1 overlong output line(s) of openvpn dropped")
                .arg(dropped));
}

void Engine::onManagementReadyRead()
{
    if (!m_socket)
        return;
    // Also run for lines that came with the banner, when nothing new may be waiting.
    if (m_socket->bytesAvailable() > 0)
        m_managementLines.append(m_socket->readAll());
    QByteArray line;
    while (m_socket && m_managementLines.takeLine(&line))
        handleLine(line);
    if (const int dropped = m_managementLines.takeDropped())
        log(QStringLiteral("tunnelkit: %1 overlong management line(s) dropped").arg(dropped));
}

void Engine::onManagementDisconnected()
{
    if (!m_process || m_phase >= Phase::Stopping)
        return;
    log(QStringLiteral("tunnelkit: the management connection closed"));
    // What it prints now is all there is.
    m_process->setReadPause(0);
    // openvpn ends itself when the link goes (management-signal); make sure of it.
    QTimer::singleShot(kGraceSignalMs, this, [this, session = m_session]() {
        if (m_session == session && m_process && m_phase < Phase::Stopping
            && m_process->isRunning()) {
            log(QStringLiteral("tunnelkit: openvpn still runs without its management link"));
            endProcess();
        }
    });
}

void Engine::handleLine(const QByteArray &line)
{
    QByteArray payload;
    QString text;
    StateLine state;
    quint64 bytesIn = 0;
    quint64 bytesOut = 0;
    ManagementKind kind = classifyLine(line, &payload);
    if (kind == ManagementKind::Success || kind == ManagementKind::Error
        || kind == ManagementKind::Other)
        kind = m_replies.sort(kind, line, &payload);
    switch (kind) {
    case ManagementKind::Info:
        log(QString::fromUtf8(payload));
        break;
    case ManagementKind::State:
        if (parseState(payload, &state))
            handleState(state);
        else
            log(QStringLiteral("tunnelkit: malformed state line ignored"));
        break;
    case ManagementKind::ByteCount:
        if (!parseByteCount(payload, &bytesIn, &bytesOut)) {
            log(QStringLiteral("tunnelkit: malformed byte count ignored"));
        } else if (tunnelUp()) {
            float inMb = 0;
            float outMb = 0;
            if (m_meter.sample(bytesIn, bytesOut, &inMb, &outMb) && m_sink.traffic)
                m_sink.traffic(inMb, outMb);
        }
        break;
    case ManagementKind::Log:
        if (parseLog(payload, &text)) {
            QList<QHostAddress> servers;
            if (pushedDnsServers(text, &servers))
                m_pushedDns = servers;
            log(redactSecrets(text));
        }
        break;
    case ManagementKind::Fatal:
        recordFailure(QString::fromUtf8(payload));
        log(QStringLiteral("tunnelkit: openvpn reports a fatal error: ")
            + QString::fromUtf8(payload));
        break;
    case ManagementKind::Hold: {
        // At the start and before each restart (management-hold): the start and the engine's
        // own restarts go on at once, openvpn's after the pause it would have made (a server
        // that refuses at once is not hammered).
        m_holding = true;
        const int seconds = payload.mid(payload.lastIndexOf(':') + 1).toInt();
        if (m_ownRestart || seconds <= 0)
            releaseHold();
        else
            QTimer::singleShot(qMin(seconds, kMaxHoldSeconds) * 1000, this,
                               [this, session = m_session]() {
                                   if (m_session == session && m_holding)
                                       releaseHold();
                               });
        break;
    }
    case ManagementKind::Password:
        // A pushed auth-token is openvpn telling us its new credentials, not a question; it
        // is kept by openvpn itself and never logged.
        if (payload.startsWith("Auth-Token:"))
            break;
        if (payload.contains("Verification Failed")) {
            recordFailure(QStringLiteral("authentication failed"));
            log(QStringLiteral("tunnelkit: authentication failed: ") + QString::fromUtf8(payload));
            break;
        }
        Q_FALLTHROUGH();
    case ManagementKind::NeedInput:
        // The engine has nobody to ask; waiting would hang the session forever.
        recordFailure(QStringLiteral("openvpn asks for input the engine cannot give"));
        log(QStringLiteral("tunnelkit: openvpn asks for input the engine cannot give: ")
            + QString::fromUtf8(payload));
        sendCommand("signal SIGTERM");
        break;
    case ManagementKind::Error:
        log(QStringLiteral("tunnelkit: management: ERROR: ") + QString::fromUtf8(payload));
        break;
    case ManagementKind::Success:
    case ManagementKind::Other:
        break;
    }
}

void Engine::handleState(const StateLine &state)
{
    if (m_phase >= Phase::Stopping || m_givingUp)
        return;
    // openvpn's initial state, from before the engine was attached (state history): the
    // sequence begins with what openvpn does next.
    const bool first = m_phase < Phase::Connecting;
    setPhase(Phase::Connecting);
    if (first && state.name == QLatin1String("CONNECTING"))
        return;
    const QString name = eventNameForState(state.name);
    if (name.isEmpty()) {
        log(QStringLiteral("tunnelkit: state '%1' ignored").arg(state.name.left(64)));
        return;
    }
    if (state.name == QLatin1String("RECONNECTING")) {
        if (m_phase < Phase::Connected) {
            // A failed first attempt: the client owns retries.
            m_exitReason = state.reason.isEmpty() ? QStringLiteral("restart") : state.reason;
            giveUp();
            return;
        }
        if (!m_reconnectDeadline->isActive())
            m_reconnectDeadline->start(m_environment.reconnectTimeoutMs);
    }
    const bool connected = state.name == QLatin1String("CONNECTED");
    if (connected) {
        QString why;
        if (!connectedChecks(state, &why)) {
            recordFailure(why);
            log(QStringLiteral("tunnelkit: ") + why);
            sendCommand("signal SIGTERM");
            return;
        }
        setPhase(Phase::Connected);
        m_reconnectDeadline->stop();
        m_meter.reset();
    }
    if (state.name == QLatin1String("EXITING"))
        m_exitReason = state.reason;
    m_lastState = state.name;
    emitEvent(name, stateInfo(state));
    // What a later network change is measured against; after the event, off its way.
    if (connected)
        m_path = os::pathToServer(m_serverAddress, m_interface);
}

void Engine::networkChanged()
{
    if (m_phase != Phase::Connected || m_givingUp || !managementUp())
        return;
    const NetworkPath now = os::pathToServer(m_serverAddress, m_interface);
    if (now.sameAs(m_path))
        return;
    // A burst (an address, then its routes) is one change: the rest is looked at once
    // settled, so the reconnect it started is not cut short for each step.
    const qint64 since = m_lastNetworkRestart.isValid() ? m_lastNetworkRestart.elapsed() : -1;
    if (now.isUp() && since >= 0 && since < kSettleMs) {
        if (!m_recheckQueued) {
            m_recheckQueued = true;
            QTimer::singleShot(int(kSettleMs - since), this, [this, session = m_session]() {
                m_recheckQueued = false;
                if (m_session == session)
                    networkChanged();
            });
        }
        return;
    }
    m_path = now;
    m_lastNetworkRestart.start();
    // Gone too: the window says Reconnecting at once, not Connected over a dead link, and the
    // deadline runs.
    reconnect(now.isUp() ? QStringLiteral("the network changed")
                         : QStringLiteral("the network is gone"));
}

void Engine::resumed()
{
    if (m_phase != Phase::Connected || m_givingUp || !managementUp())
        return;
    m_path = os::pathToServer(m_serverAddress, m_interface);
    m_lastNetworkRestart.start();
    reconnect(QStringLiteral("the system woke up"));
}

void Engine::reconnect(const QString &why)
{
    log(QStringLiteral("tunnelkit: %1: reconnecting").arg(why));
    // persist-tun keeps the routes openvpn made, but the host route to the server went with
    // the link it ran over; without it openvpn would send into its own tunnel.
    if (m_path.isUp() && !m_path.direct) {
        QString error;
        if (os::addServerRoute(m_serverAddress, m_path, &error)) {
            m_serverRoute = m_path;
            m_path.direct = true;
        } else {
            log(QStringLiteral("tunnelkit: the route to the server could not be put back: ")
                + error);
        }
    }
    m_ownRestart = true;
    // openvpn ignores SIGUSR1 while it holds; releasing it is the restart then.
    if (m_holding)
        releaseHold();
    else
        sendCommand("signal SIGUSR1");
    if (!m_reconnectDeadline->isActive())
        m_reconnectDeadline->start(m_environment.reconnectTimeoutMs);
}

void Engine::releaseHold()
{
    m_holding = false;
    m_ownRestart = false;
    sendCommand("hold release");
}

void Engine::giveUp()
{
    m_givingUp = true;
    m_reconnectDeadline->stop();
    sendCommand("signal SIGTERM");
    QTimer::singleShot(kGraceSignalMs, this, [this, session = m_session]() {
        if (m_session == session && m_process && m_phase < Phase::Stopping
            && m_process->isRunning()) {
            log(QStringLiteral("tunnelkit: openvpn did not end on the management signal"));
            endProcess();
        }
    });
}

FirewallPolicy Engine::policy(FirewallState state) const
{
    FirewallPolicy p;
    p.state = state;
    p.killSwitch = m_killSwitch.level == 3;
    p.allowLan = m_killSwitch.allowLan;
    p.tunnelAddresses = m_tunnelAddresses;
    p.serverAddress = m_serverAddress;
    p.serverPort = m_serverPort;
    p.transport = m_transport;
    p.tunnelInterface = m_interface;
    return p;
}

bool Engine::applyPolicy(FirewallState state)
{
    const QString script = killSwitchRuleset(policy(state));
    if (script.isEmpty()) {
        log(QStringLiteral("tunnelkit: kill switch: no rules can be written for this policy"));
        return false;
    }
    if (m_tableInstalled && script == m_installedRuleset)
        return true;
    // On the way to CONNECTED: from this session's "connecting" table only rules are added.
    const bool onlyAdd = state == FirewallState::Connected && m_tableInstalled
        && m_installedRuleset == killSwitchRuleset(policy(FirewallState::Connecting));
    // Written first: a crash after nft still leaves the note that a table may be there. Once
    // there it is not written again (a rewrite costs a disk flush on the way to CONNECTED).
    const QFileInfo marker(m_environment.markerPath);
    if (!marker.exists()) {
        QDir().mkpath(marker.absolutePath());
        QFile note(marker.absoluteFilePath());
        if (note.open(QIODevice::WriteOnly))
            note.write("table inet quellnet may be installed\n");
    }

    QString error;
    if (!nft().run(onlyAdd ? killSwitchTunnelRules(policy(state)) : script, &error)) {
        log(QStringLiteral("tunnelkit: kill switch: ") + error);
        return false;
    }
    m_tableInstalled = true;
    m_installedRuleset = script;
    return true;
}

bool Engine::removeTable()
{
    // The marker outlives a crashed run, so a table of ours is never forgotten; without it
    // there is nothing of ours to remove, and nft need not run at all.
    const bool mayExist = m_tableInstalled || QFileInfo::exists(m_environment.markerPath);
    if (!mayExist)
        return true;
    QString error;
    if (!nft().run(killSwitchRemoval(), &error)) {
        log(QStringLiteral("tunnelkit: kill switch: cannot remove the table: ") + error);
        return false;
    }
    m_tableInstalled = false;
    m_installedRuleset.clear();
    QFile::remove(m_environment.markerPath);
    return true;
}

DnsConfigurator *Engine::dns()
{
    if (!m_dns)
        m_dns = makeDns(m_environment.dns, m_environment.stateDir);
    return m_dns.get();
}

NftRunner &Engine::nft()
{
    // One for the engine's life: the library's context is made once.
    if (!m_nft || m_nftProgram != m_environment.nft) {
        m_nft = std::make_unique<NftRunner>(m_environment.nft);
        m_nftProgram = m_environment.nft;
    }
    return *m_nft;
}

bool Engine::connectedChecks(const StateLine &state, QString *why)
{
    // A reconnect may bring other addresses; the rules follow, replaced in one go.
    m_tunnelAddresses.clear();
    for (const QString &text : {state.localAddress, state.localAddress6}) {
        const QHostAddress a(text);
        if (!text.isEmpty() && !a.isNull() && !m_tunnelAddresses.contains(a))
            m_tunnelAddresses << a;
    }
    if (!applyPolicy(FirewallState::Connected)) {
        *why = QStringLiteral("the firewall could not let the tunnel through");
        return false;
    }
    if (m_environment.checkRoutes) {
        // A configuration that routes nothing into the tunnel would show Connected while
        // every packet leaves outside it.
        // One address from each half of the IPv4 space (redirect-gateway def1 routes them
        // separately); never the server's own, which rightly goes outside.
        const char *const halves[2][2] = {{"1.1.1.1", "1.0.0.1"}, {"203.0.113.1", "198.51.100.1"}};
        for (const auto &half : halves) {
            QHostAddress address{QLatin1String(half[0])};
            if (address == m_serverAddress)
                address = QHostAddress(QLatin1String(half[1]));
            QString iface;
            if (!os::routeInterface(address, &iface) || iface != m_interface) {
                *why = QStringLiteral("the default route does not lead into the tunnel "
                                      "(%1 goes to %2)")
                           .arg(address.toString(),
                                iface.isEmpty() ? QStringLiteral("no interface") : iface);
                return false;
            }
        }
    }
    if (DnsConfigurator *resolver = dns()) {
        QString error;
        if (m_pushedDns.isEmpty()) {
            log(QStringLiteral("tunnelkit: the server pushed no DNS server; name look-ups "
                               "outside the tunnel stay blocked"));
        } else if (!resolver->apply(m_interface, m_pushedDns, &error)) {
            *why = QStringLiteral("the server's DNS could not be applied (%1): %2")
                       .arg(resolver->name(), error);
            return false;
        } else {
            QStringList names;
            for (const QHostAddress &a : qAsConst(m_pushedDns))
                names << a.toString();
            log(QStringLiteral("tunnelkit: DNS through the tunnel (%1): %2")
                    .arg(resolver->name(), names.join(QStringLiteral(", "))));
        }
    }
    return true;
}

void Engine::restoreDns()
{
    QString error;
    if (dns() && !dns()->restore(&error))
        log(QStringLiteral("tunnelkit: DNS settings could not be put back (%1): %2")
                .arg(dns()->name(), error));
}

void Engine::setPolicy(const KillSwitchSettings &killSwitch, const Environment &environment)
{
    if (!killSwitch.known)
        return;
    m_killSwitch = killSwitch;
    if (m_process)
        return;
    m_environment = environment;
    settleAfterStop();
}

void Engine::recover(const KillSwitchSettings &saved, const Environment &environment)
{
    m_environment = environment;
    cleanUpLeftovers(saved, nullptr);
}

RepairReport Engine::repair(const KillSwitchSettings &saved, const Environment &environment)
{
    RepairReport report;
    checkTunDevice(&report);
    if (m_process) {
        report.note(QStringLiteral("A tunnel is running: its firewall rules, interface and DNS "
                                   "settings were left alone."));
        return report;
    }
    m_environment = environment;
    cleanUpLeftovers(saved, &report);
    return report;
}

void Engine::cleanUpLeftovers(const KillSwitchSettings &saved, RepairReport *report)
{
    m_killSwitch = saved;
    sweepStaleRuntimeFolders(report);
    removeStaleInterfaces(report);
    QString error;
    if (DnsConfigurator *resolver = dns()) {
        if (resolver->restore(&error)) {
            if (report)
                report->note(QStringLiteral("DNS settings are the system's own."));
        } else {
            log(QStringLiteral("tunnelkit: DNS settings could not be put back (%1): %2")
                    .arg(resolver->name(), error));
            if (report)
                report->fail(QStringLiteral("DNS settings could not be put back."));
        }
    }
    // The table may be there without the marker (it was written by an older run or by hand):
    // the removal is harmless when it is not.
    if (saved.known && saved.level == 3 && saved.keepBlocked) {
        // Written again even if it seems in place: someone may have deleted it by hand.
        m_tableInstalled = false;
        const bool blocked = applyPolicy(FirewallState::Blocked);
        if (report && blocked)
            report->note(QStringLiteral("The network stays blocked while disconnected, as "
                                        "set in the kill-switch settings."));
        else if (report)
            report->fail(QStringLiteral("The blocking firewall rules could not be installed."));
    } else {
        m_tableInstalled = true;
        const bool removed = removeTable();
        if (report && removed)
            report->note(QStringLiteral("No Quellnet firewall rules are left; nothing is "
                                        "blocked."));
        else if (report)
            report->fail(QStringLiteral("Quellnet's firewall rules could not be removed."));
    }
}

void Engine::removeStaleInterfaces(RepairReport *report)
{
    // openvpn's tunnel goes with openvpn; one made persistent outlives it and nothing else
    // would ever remove it. One a process still holds is not stale.
    for (const QString &name : os::tunnelInterfaces()) {
        bool busy = false;
        QString why;
        if (os::removeTunInterface(name, &busy, &why)) {
            log(QStringLiteral("tunnelkit: removed the leftover tunnel interface %1").arg(name));
            if (report)
                report->note(QStringLiteral("Removed the leftover tunnel interface %1.").arg(name));
        } else if (busy) {
            if (report)
                report->note(QStringLiteral("The tunnel interface %1 is in use by another "
                                            "program and was left alone.")
                                 .arg(name));
        } else {
            log(QStringLiteral("tunnelkit: cannot remove the tunnel interface %1: %2")
                    .arg(name, why));
            if (report)
                report->fail(QStringLiteral("The tunnel interface %1 could not be removed: %2.")
                                 .arg(name, why));
        }
    }
}

void Engine::checkTunDevice(RepairReport *report)
{
    QString why;
    bool missing = false;
    if (os::tunDeviceUsable(&why, &missing)) {
        report->note(QStringLiteral("The tun device works."));
        return;
    }
    if (!missing) {
        report->fail(QStringLiteral("The tun device cannot be opened: %1.").arg(why));
        return;
    }
    QString loadError;
    if (!os::loadTunModule(&loadError)) {
        report->fail(QStringLiteral("The tun device is missing (%1) and the tun module could "
                                    "not be loaded: %2.")
                         .arg(why, loadError));
        return;
    }
    if (os::tunDeviceUsable(&why, &missing))
        report->note(QStringLiteral("The tun device was missing; the tun module was loaded "
                                    "and it works now."));
    else
        report->fail(QStringLiteral("The tun module was loaded but the tun device still cannot "
                                    "be opened: %1.")
                         .arg(why));
}

void Engine::settleAfterStop()
{
    // A table kept from an earlier run stays until the client says what it wants.
    if (!m_killSwitch.known)
        return;
    if (m_killSwitch.level == 3 && m_killSwitch.keepBlocked)
        applyPolicy(FirewallState::Blocked);
    else
        removeTable();
}

} // namespace tunnelkit
