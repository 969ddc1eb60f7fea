#include "connectioncontroller.h"

#include "mconfig.h"
#include "vpnengine.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTimer>

#include <atomic>

namespace {

const int kSpinInterval = 100;
const int kExpiryInterval = 5000;
const int kReloginInterval = 36000000; // ten hours
const int kMaxCountedFailures = 3;

const char kCircleIdle[] = "border-image:url(:/wnd/circle_0.png);";
const char kCircleConnected[] = "border-image:url(:/wnd/circle_1.png);";
const char kCircleBusy[] = "border-image:url(:/wnd/circle_3.png);";

// The engine's callbacks are plain function pointers: they find the controller here.
std::atomic<ConnectionController *> s_callbackTarget{nullptr};

QString fromEngine(const std::string &text)
{
    return QString::fromUtf8(text.data(), int(text.size()));
}

// Texts of the main window share its translation context.
QString trMain(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

void onEngineEvent(const std::string &name, const std::string &info)
{
    const QString status = fromEngine(name);
    const QString text = fromEngine(info);
    qInfo().noquote() << "vpn_event_callback evname:" << status << text;
    if (ConnectionController *target = s_callbackTarget.load())
        emit target->signalStatuesChanged(status, text);
}

void onEngineLog(const std::string &line)
{
    qInfo().noquote() << "VPN:" << fromEngine(line);
}

void onEngineTraffic(float inMb, float outMb)
{
    if (ConnectionController *target = s_callbackTarget.load())
        emit target->signalTraffic(inMb, outMb);
}

} // namespace

ConnectionController::Services ConnectionController::Services::defaults()
{
    Services services;
    services.now = [] {
        return QDateTime::currentDateTime();
    };
    services.saveSettings = [] {
        MConfig::saveCommConfig();
    };
    return services;
}

ConnectionController::ConnectionController(VpnEngine *engine, Services services, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
    , m_services(std::move(services))
    , m_spinTimer(new QTimer(this))
    , m_expiryTimer(new QTimer(this))
    , m_reloginTimer(new QTimer(this))
{
    m_spinTimer->setInterval(kSpinInterval);
    m_expiryTimer->setInterval(kExpiryInterval);
    m_reloginTimer->setInterval(kReloginInterval);
    connect(m_spinTimer, &QTimer::timeout, this, &ConnectionController::spinTick);
    connect(m_expiryTimer, &QTimer::timeout, this, &ConnectionController::checkExpiry);
    connect(m_reloginTimer, &QTimer::timeout, this, &ConnectionController::reloginRequested);

    // Queued even when raised on this thread, so every event is handled in arrival order
    // outside the code that raised it.
    connect(this, &ConnectionController::signalStatuesChanged, this,
            qOverload<const QString &, const QString &>(&ConnectionController::statuesChanged),
            Qt::QueuedConnection);
    connect(this, &ConnectionController::signalTraffic, this, &ConnectionController::slotTraffic,
            Qt::QueuedConnection);

    statuesChanged(QStringLiteral("WAIT"), QString());
}

ConnectionController::~ConnectionController()
{
    ConnectionController *self = this;
    s_callbackTarget.compare_exchange_strong(self, nullptr);
}

void ConnectionController::registerEngineCallbacks()
{
    s_callbackTarget.store(this);
    if (m_engine)
        m_engine->setCallbacks(&onEngineEvent, &onEngineLog, &onEngineTraffic);
}

void ConnectionController::setCurrentServer(const QString &host, const QString &ovpn)
{
    m_host = host;
    m_ovpn = ovpn;
}

bool ConnectionController::engineRunning() const
{
    return m_engine && m_engine->isStart();
}

float ConnectionController::advanceSpin()
{
    if (m_busy) {
        m_spinAngle += 10;
        if (m_spinAngle >= 360)
            m_spinAngle = 0;
    }
    return m_spinAngle;
}

void ConnectionController::startAccountTimers()
{
    m_expiryTimer->start();
    m_reloginTimer->start();
}

void ConnectionController::slotConnectVPN()
{
    if (!m_loggedIn) {
        emit loginPageRequested();
        return;
    }
    if (engineRunning())
        stopVPN();
    else
        connectVPN();
}

void ConnectionController::connectVPN()
{
    // An unset expiry date counts as expired.
    if (!(now() < m_expireDate)) {
        qInfo() << "Connect VPN refused: the account is expired.";
        const int result = m_services.expiredDialog ? m_services.expiredDialog() : 0;
        if (result > 0)
            emit purchaseRequested();
        return;
    }
    qInfo().noquote() << "Connect VPN...." << m_host;
    if (!m_engine)
        return;

    const MConfig &config = *MConfig::instance();
    m_engine->setKillSwith(config.killSwitch == QLatin1String("id_killswitch_off") ? 0 : 3);
    m_engine->setKillDisconnect(config.killSwithDisc == 1);
    m_engine->setKillLocal(config.killSwithAllLocal >= 0);
    m_engine->setconfig(m_host.toStdString(), m_ovpn.toStdString());

    const int code = m_engine->start();
    if (code != 0) {
        qInfo() << "Connect VPN failed." << code;
        // Back to idle: a failed start must not leave the window spinning.
        statuesChanged(QStringLiteral("DISCONNECTED"), QString());
    } else {
        m_spinAngle = 0;
        setBusy(true);
    }
    if (m_services.sendEvent)
        m_services.sendEvent(QStringLiteral("Connect"), m_host, QStringLiteral("Win"), 1);
}

void ConnectionController::stopVPN()
{
    qInfo() << "Stop VPN....";
    if (m_engine)
        m_engine->stop();
    setBusy(false);
    statuesChanged(QStringLiteral("WAIT"), QString());
}

void ConnectionController::statuesChanged(const QString &status)
{
    statuesChanged(status, QString());
}

void ConnectionController::statuesChanged(const QString &status, const QString &info)
{
    m_currentStatus = status;

    const bool terminal = status == QLatin1String("CONNECTED") || status == QLatin1String("WAIT")
        || status == QLatin1String("DISCONNECTED") || status == QLatin1String("FAILED");
    if (terminal && m_stopPending) {
        m_stopPending = false;
        stopVPN();
        return;
    }

    if (status == QLatin1String("CONNECTED")) {
        setButton(QStringLiteral("Disconnect"), trMain("Disconnect vpn server"));
        m_view.statusText = trMain("VPN Connected");
        m_view.circleStyle = QLatin1String(kCircleConnected);
        setBusy(false);
        emit trayBalloon(trMain("VPN is connected"));
    } else if (status == QLatin1String("WAIT") || status == QLatin1String("DISCONNECTED")) {
        setButton(QStringLiteral("Connect"), trMain("Connect vpn server"));
        m_view.statusText = trMain("Ready to Connect");
        m_view.circleStyle = QLatin1String(kCircleIdle);
        setBusy(false);
        emit trayBalloon(trMain("VPN is disconnected"));
        m_view.idText = userIdText();
    } else if (status == QLatin1String("FAILED")) {
        setButton(QStringLiteral("Connect"), trMain("Connect vpn server"));
        m_view.statusText = trMain("Connect failed");
        m_view.circleStyle = QLatin1String(kCircleIdle);
        setBusy(false);
        emit trayBalloon(trMain("VPN connect failed"));
        m_view.idText = userIdText();
        MConfig &config = *MConfig::instance();
        if (config.errorCount < kMaxCountedFailures) {
            ++config.errorCount;
            config.installedTap.clear();
            if (m_services.saveSettings)
                m_services.saveSettings();
        }
    } else {
        QString label;
        if (status == QLatin1String("INSTALL"))
            label = trMain("Install TAP...");
        else if (status == QLatin1String("CONNECTING"))
            label = trMain("Connecting...");
        else if (status == QLatin1String("ASSIGN_IP"))
            label = trMain("Assign IP...");
        else if (status == QLatin1String("GET_CONFIG"))
            label = trMain("Get Configuration...");
        else if (status == QLatin1String("RESOLVE"))
            label = trMain("Resolving...");
        else
            label = info;
        m_view.statusText = label;
        if (!m_stopPending) {
            setButton(QStringLiteral("Cancel"), trMain("Cancel connect"));
            m_view.circleStyle = QLatin1String(kCircleBusy);
            setBusy(true);
        }
    }

    if (!m_stopPending)
        m_view.busyImageShown = m_busy;
    m_view.connected = status == QLatin1String("CONNECTED");
    emit viewChanged();
}

void ConnectionController::slotTraffic(float inMb, float /*outMb*/)
{
    m_view.idText = QStringLiteral(" ") + trMain("Speed") + QStringLiteral(":")
        + QString::number(double(inMb), 'g') + QStringLiteral(" MB/s");
    emit viewChanged();
}

void ConnectionController::applyServerChoice(bool reconnect)
{
    if (!reconnect)
        return;
    if (!m_loggedIn)
        emit loginPageRequested();
    else if (engineRunning())
        stopVPN();
    else
        connectVPN();
}

void ConnectionController::shutdown()
{
    if (!m_engine)
        return;
    m_engine->stop();
    m_engine->close();
}

void ConnectionController::checkExpiry()
{
    if (!m_loggedIn || m_currentStatus != QLatin1String("CONNECTED") || now() < m_expireDate)
        return;
    stopVPN();
    m_view.statusText = trMain("Your account is expired");
    emit viewChanged();
}

void ConnectionController::setBusy(bool busy)
{
    m_busy = busy;
    // The busy image is only repainted while it turns.
    if (busy && !m_spinTimer->isActive())
        m_spinTimer->start();
    else if (!busy)
        m_spinTimer->stop();
}

void ConnectionController::setButton(const QString &text, const QString &toolTip)
{
    m_view.buttonText = text;
    m_view.buttonToolTip = toolTip;
}

QString ConnectionController::userIdText() const
{
    return trMain("ID:%1  ").arg(MConfig::getUserId());
}

QDateTime ConnectionController::now() const
{
    return m_services.now ? m_services.now() : QDateTime::currentDateTime();
}
