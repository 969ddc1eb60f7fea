#include "connectioncontroller.h"

#include "mconfig.h"
#include "vpnengine.h"

#include <QCoreApplication>
#include <QDebug>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <cmath>

namespace {

const int kSpinInterval = 100;
const int kExpiryInterval = 5000;
const int kReloginInterval = 36000000; // ten hours
const int kMaxCountedFailures = 3;

using Circle = ConnectionView::Circle;
enum class Button { Connect, Disconnect, Cancel };

// What the window shows for each engine status. A status not listed shows its info text
// and counts as a step of connecting.
struct StatusRow
{
    const char *status;
    const char *label;
    Button button;
    Circle circle;
    const char *balloon; // null: none
    bool busy;
};

const StatusRow kStatusRows[] = {
    {"CONNECTED", QT_TRANSLATE_NOOP("MainWindow", "VPN Connected"), Button::Disconnect,
     Circle::Connected, QT_TRANSLATE_NOOP("MainWindow", "VPN is connected"), false},
    {"WAIT", QT_TRANSLATE_NOOP("MainWindow", "Ready to Connect"), Button::Connect, Circle::Idle,
     QT_TRANSLATE_NOOP("MainWindow", "VPN is disconnected"), false},
    {"DISCONNECTED", QT_TRANSLATE_NOOP("MainWindow", "Ready to Connect"), Button::Connect,
     Circle::Idle, QT_TRANSLATE_NOOP("MainWindow", "VPN is disconnected"), false},
    {"FAILED", QT_TRANSLATE_NOOP("MainWindow", "Connect failed"), Button::Connect, Circle::Idle,
     QT_TRANSLATE_NOOP("MainWindow", "VPN connect failed"), false},
    {"INSTALL", QT_TRANSLATE_NOOP("MainWindow", "Install TAP..."), Button::Cancel, Circle::Busy,
     nullptr, true},
    {"CONNECTING", QT_TRANSLATE_NOOP("MainWindow", "Connecting..."), Button::Cancel, Circle::Busy,
     nullptr, true},
    {"ASSIGN_IP", QT_TRANSLATE_NOOP("MainWindow", "Assign IP..."), Button::Cancel, Circle::Busy,
     nullptr, true},
    {"GET_CONFIG", QT_TRANSLATE_NOOP("MainWindow", "Get Configuration..."), Button::Cancel,
     Circle::Busy, nullptr, true},
    {"RESOLVE", QT_TRANSLATE_NOOP("MainWindow", "Resolving..."), Button::Cancel, Circle::Busy,
     nullptr, true},
};

const StatusRow *statusRow(const QString &status)
{
    for (const StatusRow &row : kStatusRows) {
        if (status == QLatin1String(row.status))
            return &row;
    }
    return nullptr;
}

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

// A rate as people write it: "1.5", "0.2", "0.000038", never with an exponent.
QString rateText(float megabytes)
{
    if (!(megabytes > 0))
        return QStringLiteral("0");
    // Two significant digits below 1, two decimals above.
    const int decimals
        = megabytes >= 1 ? 2 : qBound(2, 1 - int(std::floor(std::log10(megabytes))), 6);
    QString text = QString::number(double(megabytes), 'f', decimals);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

ConnectionController::ConnectionController(VpnEngine *engine, AppServices services, QObject *parent)
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
    if (!(m_services.currentTime() < m_expireDate)) {
        qInfo() << "Connect VPN refused: the account is expired.";
        const int result = m_services.expiredDialog ? m_services.expiredDialog(nullptr) : 0;
        if (result > 0)
            emit purchaseRequested();
        return;
    }
    qInfo().noquote() << "Connect VPN...." << m_host;
    if (!m_engine)
        return;

    passKillSwitch();
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
    m_services.event(QStringLiteral("Connect"), m_host, QStringLiteral("Win"));
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

    const StatusRow *row = statusRow(status);
    const bool busy = !row || row->busy;
    if (!busy && m_stopPending) {
        m_stopPending = false;
        stopVPN();
        return;
    }

    // A stop asked for while connecting keeps the view as it is until a final status.
    if (!busy || !m_stopPending) {
        static const char *const kButtons[][2] = {
            {"Connect", QT_TRANSLATE_NOOP("MainWindow", "Connect vpn server")},
            {"Disconnect", QT_TRANSLATE_NOOP("MainWindow", "Disconnect vpn server")},
            {"Cancel", QT_TRANSLATE_NOOP("MainWindow", "Cancel connect")},
        };
        const auto button = int(row ? row->button : Button::Cancel);
        m_view.buttonText = QLatin1String(kButtons[button][0]);
        m_view.buttonToolTip = trMain(kButtons[button][1]);
        m_view.circle = row ? row->circle : Circle::Busy;
        setBusy(busy);
    }
    m_view.statusText = row ? trMain(row->label) : info;
    if (row && row->balloon)
        emit trayBalloon(trMain(row->balloon));
    if (row && row->circle == Circle::Idle)
        m_view.idText = userIdText();

    if (status == QLatin1String("FAILED")) {
        MConfig &config = *MConfig::instance();
        if (config.errorCount < kMaxCountedFailures) {
            ++config.errorCount;
            config.installedTap.clear();
            m_services.save();
        }
    }

    if (!m_stopPending)
        m_view.busyImageShown = m_busy;
    m_view.connected = status == QLatin1String("CONNECTED");
    emit viewChanged();
}

void ConnectionController::slotTraffic(float inMb, float /*outMb*/)
{
    m_view.idText = QStringLiteral(" ") + trMain(QT_TRANSLATE_NOOP("MainWindow", "Speed"))
        + QStringLiteral(":") + rateText(inMb) + QStringLiteral(" MB/s");
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

bool ConnectionController::changeKillSwitch(const QString &id)
{
    MConfig &config = *MConfig::instance();
    if (id == QLatin1String("id_killswitch_off") || id == QLatin1String("id_killswitch_both"))
        config.killSwitch = id;
    else if (id == QLatin1String("id_killswitch_disc"))
        config.killSwithDisc = config.killSwithDisc == 0 ? 1 : 0;
    else if (id == QLatin1String("id_killswitch_local"))
        config.killSwithAllLocal = config.killSwithAllLocal < 0 ? 1 : -1;
    else
        return false;
    if (engineRunning()) {
        connectVPN();
    } else if (m_engine) {
        // The block while disconnected comes and goes now, not at the next connect.
        passKillSwitch();
    }
    return true;
}

void ConnectionController::repairNetwork()
{
    qInfo() << "Install TAP....";
    if (!m_engine)
        return;
    QPointer<ConnectionController> self(this);
    m_engine->repairNetwork([self](bool ok, const std::string &report) {
        const QString text = fromEngine(report);
        QMetaObject::invokeMethod(
            self.data(),
            [self, ok, text] {
                if (!self)
                    return;
                qInfo().noquote() << "Repair:" << text;
                if (ok) {
                    MConfig::instance()->installedTap = QStringLiteral("installed");
                    self->m_services.save();
                    qInfo() << "Install TAP Finished";
                }
                emit self->repairFinished(ok, text);
            },
            Qt::QueuedConnection);
    });
}

void ConnectionController::passKillSwitch()
{
    const MConfig &config = *MConfig::instance();
    m_engine->setKillSwith(config.killSwitch == QLatin1String("id_killswitch_off") ? 0 : 3);
    m_engine->setKillDisconnect(config.killSwithDisc == 1);
    m_engine->setKillLocal(config.killSwithAllLocal >= 0);
}

void ConnectionController::checkExpiry()
{
    if (!m_loggedIn || m_currentStatus != QLatin1String("CONNECTED")
        || m_services.currentTime() < m_expireDate)
        return;
    stopVPN();
    m_view.statusText = trMain(QT_TRANSLATE_NOOP("MainWindow", "Your account is expired"));
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

QString ConnectionController::userIdText() const
{
    return trMain(QT_TRANSLATE_NOOP("MainWindow", "ID:%1  ")).arg(MConfig::getUserId());
}
