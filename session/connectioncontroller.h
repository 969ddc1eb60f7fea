#pragma once

#include "appservices.h"

#include <QDateTime>
#include <QObject>
#include <QString>

class QTimer;
class VpnEngine;

// What the main window shows for the tunnel: the window reads it after every viewChanged().
struct ConnectionView
{
    QString buttonText; // "Connect", "Disconnect" or "Cancel", never translated
    QString buttonToolTip;
    QString statusText; // the status label
    QString idText; // the id label: the user id, or the throughput while connected
    enum class Circle { Idle, Busy, Connected };
    Circle circle = Circle::Idle;
    bool busyImageShown = false; // the rotating busy image instead of the circle
    bool connected = false; // the "on" title bar, window and tray icons
};

// The connection controller: starts and stops the tunnel, turns the engine's status events
// into a ConnectionView, shows throughput, stops the tunnel when the account expires and
// counts failed connections. Lives on the GUI thread; the engine's callbacks reach it only
// through the queued signals signalStatuesChanged and signalTraffic, in the order they were
// raised. Widget-free: the main window applies the view.
class ConnectionController : public QObject
{
    Q_OBJECT

public:
    // engine is not owned and must outlive the controller. The controller starts idle
    // ("WAIT" handled once).
    explicit ConnectionController(VpnEngine *engine, AppServices services = AppServices::defaults(),
                                  QObject *parent = nullptr);
    ~ConnectionController() override;

    // Hands the engine the three callbacks, which deliver to this controller. Call once,
    // before any other engine call. The engine must have stopped calling back before the
    // controller is destroyed.
    void registerEngineCallbacks();

    const ConnectionView &view() const { return m_view; }
    QString currentStatus() const { return m_currentStatus; }
    bool isBusy() const { return m_busy; }
    bool stopPending() const { return m_stopPending; }
    void setStopPending(bool pending) { m_stopPending = pending; }
    bool loggedIn() const { return m_loggedIn; }
    void setLoggedIn(bool loggedIn) { m_loggedIn = loggedIn; }
    QDateTime expireDate() const { return m_expireDate; }
    void setExpireDate(const QDateTime &date) { m_expireDate = date; }
    // The chosen server's address and decoded tunnel configuration.
    void setCurrentServer(const QString &host, const QString &ovpn);
    QString currentHost() const { return m_host; }
    bool engineRunning() const;

    float spinAngle() const { return m_spinAngle; }
    // One paint of the busy image: while busy the angle grows by 10, wrapping at 360.
    float advanceSpin();

    QTimer *spinTimer() const { return m_spinTimer; }
    QTimer *expiryTimer() const { return m_expiryTimer; }
    QTimer *reloginTimer() const { return m_reloginTimer; }
    // Starts the expiry watchdog and the re-login timer (first show of the window).
    void startAccountTimers();

public slots:
    // The connect button: login page when logged out, else stop or connect.
    void slotConnectVPN();
    void connectVPN();
    void stopVPN();
    void statuesChanged(const QString &status, const QString &info);
    void statuesChanged(const QString &status);
    void slotTraffic(float inMb, float outMb);
    // After the user picked a server: with reconnect, connects to it (or asks for a login).
    void applyServerChoice(bool reconnect);
    // Program exit: stop, then close the engine.
    void shutdown();
    // A kill-switch menu entry: updates its setting (in memory) and hands the policy to the
    // engine at once; a running tunnel reconnects with it. False for an unknown id.
    bool changeKillSwitch(const QString &id);
    // "Fix Tap": the engine's network repair, without waiting. A repair that worked marks the
    // adapter installed.
    void repairNetwork();

signals:
    void signalStatuesChanged(const QString &status, const QString &info);
    void signalTraffic(float inMb, float outMb);

    void viewChanged();
    // A tray balloon text; the window shows it only while its tray icon is visible.
    void trayBalloon(const QString &text);
    void loginPageRequested();
    // The expired dialog's "Buy Now": act as the one-year offer button.
    void purchaseRequested();
    // Every ten hours: the silent re-login that refreshes the account data.
    void reloginRequested();
    // The busy image is due for a repaint.
    void spinTick();
    void repairFinished(bool ok, const QString &report);

private slots:
    void checkExpiry();

private:
    void setBusy(bool busy);
    void passKillSwitch();
    QString userIdText() const;

    VpnEngine *m_engine = nullptr;
    AppServices m_services;
    ConnectionView m_view;
    QString m_currentStatus = QStringLiteral("WAIT");
    bool m_busy = false;
    bool m_stopPending = false;
    bool m_loggedIn = false;
    QDateTime m_expireDate;
    QString m_host;
    QString m_ovpn;
    float m_spinAngle = 0;
    QTimer *m_spinTimer = nullptr;
    QTimer *m_expiryTimer = nullptr;
    QTimer *m_reloginTimer = nullptr;
};
