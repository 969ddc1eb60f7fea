#pragma once

#include "accountreplies.h"
#include "appservices.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>

class ClickLimiter;

// The account as the backend knows it.
struct AccountInfo
{
    QString email;
    QDateTime expireDate;
    QString paymentText;
};

// The user's account: sign-in, registration, password recovery, silent refresh, logout and
// prices against the backend, the offline copy of the last accepted sign-in, the settings the
// sign-in keeps and the click limits of the account buttons. Widget-free: results arrive as
// signals the window shows. Requests block in a nested event loop; one runs at a time.
// GUI thread only.
class AccountSession : public QObject
{
    Q_OBJECT

public:
    // A typed value that was refused before anything was sent.
    enum class Field { LoginEmail, LoginPassword, RegisterEmail, RegisterPassword, RegisterAgain };

    AccountSession(AppServices services, const QString &loginCachePath, QObject *parent = nullptr);

    // The buttons: each within its click limit, with the busy signal around the request.
    void loginClicked(const QString &email, const QString &password);
    void registerClicked(const QString &email, const QString &password, const QString &again);
    void findPasswordClicked(const QString &email);
    // The account page's "Re-Login": a silent refresh that says how it went.
    void reloginClicked(const QString &email, const QString &password);

    // silent: no messages, no page change, nothing stored in the settings. Without an
    // answer from the backend the offline copy is used. True when the account was accepted.
    bool login(const QString &email, const QString &password, bool silent);
    void logout();
    void loadPrices();
    void setAutoLogin(bool on);

    bool loggedIn() const { return m_loggedIn; }
    const AccountInfo &info() const { return m_info; }
    bool lastLoginFromCache() const { return m_lastFromCache; }

signals:
    // A request the user waits for starts (true) or ends (false).
    void busyChanged(bool busy);
    void fieldRejected(AccountSession::Field field, const QString &text);
    void message(const QString &title, const QString &text);
    // info() holds the account; silent as given to login().
    void signedIn(bool silent);
    void signedOut();
    void pricesLoaded(const QVector<PriceOffer> &offers);

private:
    bool acceptReply(const QString &reply, bool silent, bool fromCache);
    void registerAccount(const QString &email, const QString &password, const QString &again);
    QString request(const QString &url, const QString &email, const QString *password);
    void showMessage(const AccountMessage &message);
    void remember(const QString &email, const QString &password);

    AppServices m_services;
    QString m_cachePath;
    int m_timeOffset = 0;
    bool m_requestRunning = false;
    bool m_lastFromCache = false;
    bool m_loggedIn = false;
    AccountInfo m_info;
    ClickLimiter *m_loginClicks;
    ClickLimiter *m_registerClicks;
    ClickLimiter *m_findClicks;
};
