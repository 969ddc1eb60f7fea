#pragma once

#include "childprocess.h"
#include "configfilter.h"
#include "dns.h"
#include "environment.h"
#include "killswitch.h"
#include "management.h"
#include "netwatch.h"
#include "nftrunner.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class QLocalServer;
class QLocalSocket;
class QSocketNotifier;
class QTemporaryDir;
class QTimer;

namespace tunnelkit {

struct KillSwitchSettings
{
    int level = 0; // 0 off, 3 on
    bool keepBlocked = false;
    bool allowLan = false;
    bool known = false; // set by the client in this run; unknown settings leave the table be
};

struct StartRequest
{
    KillSwitchSettings killSwitch;
    std::string server;
    std::string config;
    Environment environment;
};

// What repair() found and did: one short English sentence per finding or action; ok when the
// tun device works and every clean-up step succeeded.
struct RepairReport
{
    bool ok = true;
    QStringList lines;
    void note(const QString &line) { lines << line; }
    void fail(const QString &line)
    {
        ok = false;
        lines << line;
    }
};

// Where the engine's reports go; called on the engine thread only.
struct EngineSink
{
    std::function<void(const std::string &name, const std::string &info)> event;
    std::function<void(const std::string &line)> log;
    std::function<void(float inMb, float outMb)> traffic;
};

// start() results other than 0.
enum StartResult {
    StartOk = 0,
    StartConfigRefused = 1,
    StartResolveFailed = 2,
    StartKillSwitchFailed = 4,
    StartFilesFailed = 5,
    StartLaunchFailed = 6,
    StartManagementFailed = 7,
    StartNoHelper = 8, // the client found no helper to run the engine
};

// One openvpn session at a time with its kill switch. Created, used and destroyed on the
// engine thread; other threads only post() to it. `running`
// mirrors "a session is running or being set up" for readers on other threads.
class Engine : public QObject
{
    Q_OBJECT
public:
    Engine(EngineSink sink, std::atomic<bool> *running, QObject *parent = nullptr);
    ~Engine() override;

    // Returns once openvpn's management session is up, or a StartResult on failure (after a
    // log line and a "FAILED" event). A running session is replaced without events.
    int start(const StartRequest &request);
    // Ends the session (then "DISCONNECTED") and settles the kill switch for a user stop.
    void stop(const KillSwitchSettings &killSwitch, const Environment &environment);
    // With no session running: settles the kill switch as a user stop would for these
    // settings. A running session keeps its settings until it ends.
    void setPolicy(const KillSwitchSettings &killSwitch, const Environment &environment);
    // Once, before anything else: undoes what an earlier run that crashed left (session
    // folders, an openvpn still running, DNS changes) and puts the table in the state the
    // saved settings ask for while disconnected.
    void recover(const KillSwitchSettings &saved, const Environment &environment);
    // Checks the tun device (loading its module if it is missing); with no session running,
    // then does what recover() does. A running session's table, interface and DNS stay.
    RepairReport repair(const KillSwitchSettings &saved, const Environment &environment);
    // The physical network changed (links, addresses, routes): a tunnel that has been up
    // reconnects at once when its way to the server went, came back or is another one.
    void networkChanged();
    // The machine woke up: a tunnel that has been up reconnects at once.
    void resumed();

    // Any thread: runs job on the engine thread, in order. Jobs travel through a std::mutex
    // and a pipe, not Qt's event queue, so thread checkers see the hand-over.
    void post(std::function<void()> job);
    // Any thread: asks the engine thread's event loop to end (quitRequested).
    void requestQuit();

signals:
    void quitRequested();

private:
    // Where the current session stands. Within a session it only moves forward; start()
    // begins the next session at Preparing.
    enum class Phase {
        Idle, // no session has run yet
        Preparing, // start(): configuration, server address, session files
        Launching, // openvpn runs; its output is held until its management link greets us
        Attached, // the management link is up; openvpn has reported no state yet
        Connecting, // openvpn reports states on its way to CONNECTED
        Connected, // openvpn has been CONNECTED in this session
        Stopping, // the engine ends openvpn: nothing openvpn still reports counts
        Ended, // the session's last event has been sent
    };

    void runJobs();

    void setPhase(Phase phase);
    void beginSession(const StartRequest &request);
    int fail(int result, const QString &why);
    // The steps of start(), in order.
    bool resolveEndpoint(const RemoteSpec &remote, QString *why);
    bool makeRuntimeFolder(QString *why);
    bool writeConfig(const FilteredConfig &config, QString *why);
    bool listenForManagement(QString *why);
    bool startOpenvpn(const QString &program, QString *why);
    int awaitManagement();
    int launchEndedEarly();
    void sendFirstCommands();
    void attachManagement();

    void sweepStaleRuntimeFolders(RepairReport *report = nullptr);
    // recover()'s work, also for repair(); with no session running only.
    void cleanUpLeftovers(const KillSwitchSettings &saved, RepairReport *report);
    void removeStaleInterfaces(RepairReport *report);
    void checkTunDevice(RepairReport *report);
    bool isOurOpenvpn(QLocalSocket *socket);
    bool managementUp() const;
    bool tunnelUp() const;
    void recordFailure(const QString &why);
    void flushHeldOutput();
    void endProcess();
    void cleanupSession();
    void sessionEnded();
    void drain();
    void restoreDns();
    NftRunner &nft();
    // Made on first use from the environment; null when DNS is left alone.
    DnsConfigurator *dns();
    bool connectedChecks(const StateLine &state, QString *why);
    // openvpn restarts its connection (SIGUSR1, or the release of a hold it is in) and keeps
    // its tunnel device; the route to the server is put back first if the network lost it.
    void reconnect(const QString &why);
    void releaseHold();
    // Ends openvpn for a reason the engine gave (recorded before); its states are not passed
    // on any more.
    void giveUp();

    FirewallPolicy policy(FirewallState state) const;
    bool applyPolicy(FirewallState state);
    bool removeTable();
    void settleAfterStop();

    void handleLine(const QByteArray &line);
    void handleState(const StateLine &state);
    // history: the kind of history block the reply carries ("state on all", "log on all"),
    // Success for a one-line reply.
    void sendCommand(const QByteArray &command, ManagementKind history = ManagementKind::Success);

    void onOutput();
    void onManagementReadyRead();
    void onManagementDisconnected();
    void onProcessFinished();

    void log(const QString &line);
    void emitEvent(const QString &name, const QString &info);

    EngineSink m_sink;
    std::atomic<bool> *m_running; // Preparing to Stopping, for readers on other threads

    Environment m_environment;
    std::unique_ptr<DnsConfigurator> m_dns;
    QList<QHostAddress> m_pushedDns;
    QList<QHostAddress> m_tunnelAddresses;
    KillSwitchSettings m_killSwitch;
    QHostAddress m_serverAddress;
    quint16 m_serverPort = 0;
    Transport m_transport = Transport::Udp;
    QString m_interface;

    Phase m_phase = Phase::Idle;
    quint64 m_session = 0; // tells a timer of an earlier session from the current one
    ChildProcess *m_process = nullptr;
    QLocalServer *m_server = nullptr; // only until openvpn has connected
    QLocalSocket *m_socket = nullptr;
    std::unique_ptr<QTemporaryDir> m_runtime;
    QString m_configPath;
    LineBuffer m_managementLines;
    LineBuffer m_outputLines;
    ReplyTracker m_replies;
    ThroughputMeter m_meter;
    // openvpn's output while Launching: "log on all" replays the same lines, so they are
    // logged only if openvpn never connects.
    QStringList m_heldOutput;
    int m_heldDropped = 0;
    QString m_lastState; // openvpn's last state passed on as an event
    QString m_failure; // why the session failed, if it did
    QString m_exitReason;
    bool m_givingUp = false; // the engine ends openvpn: its last states are not passed on
    // A restart: openvpn holds before it connects again; ours is released at once, its own
    // after the pause it asks for.
    bool m_holding = false;
    bool m_ownRestart = false;
    QTimer *m_reconnectDeadline = nullptr;
    NetworkPath m_path; // to the server outside the tunnel, as last seen
    QElapsedTimer m_lastNetworkRestart;
    bool m_recheckQueued = false;
    NetworkPath m_serverRoute; // a route to the server the engine added, removed at the end

    std::unique_ptr<NftRunner> m_nft;
    QString m_nftProgram;
    bool m_tableInstalled = false;
    QString m_installedRuleset;

    std::mutex m_jobsMutex;
    std::deque<std::function<void()>> m_jobs;
    int m_wake[2] = {-1, -1};
    QSocketNotifier *m_wakeNotifier = nullptr;
};

} // namespace tunnelkit
