#include "accountsession.h"

#include "clicklimiter.h"
#include "encryptedfiles.h"
#include "mconfig.h"
#include "mnetwork.h"

#include <QDebug>

AccountSession::AccountSession(AppServices services, const QString &loginCachePath, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_cachePath(loginCachePath)
    , m_timeOffset(m_services.currentTime().offsetFromUtc())
    , m_loginClicks(new ClickLimiter(10, 300000, this))
    , m_registerClicks(new ClickLimiter(5, 300000, this))
    , m_findClicks(new ClickLimiter(3, 300000, this))
{ }

void AccountSession::loginClicked(const QString &email, const QString &password)
{
    if (!m_loginClicks->click())
        return;
    emit busyChanged(true);
    login(email, password, false);
    emit busyChanged(false);
    m_services.event(QStringLiteral("Login"), QStringLiteral("Quell"), QStringLiteral("VPN"));
}

void AccountSession::registerClicked(const QString &email, const QString &password,
                                     const QString &again)
{
    if (!m_registerClicks->click())
        return;
    emit busyChanged(true);
    registerAccount(email.trimmed(), password.trimmed(), again.trimmed());
    emit busyChanged(false);
    m_services.event(QStringLiteral("Register"), QStringLiteral("Quell"), QStringLiteral("VPN"));
}

void AccountSession::findPasswordClicked(const QString &typedEmail)
{
    if (!m_findClicks->click() || m_requestRunning)
        return;
    const QString email = typedEmail.trimmed();
    if (email.size() < 6) {
        emit fieldRejected(Field::LoginEmail, tr("Please type email"));
        return;
    }
    emit busyChanged(true);
    const QString reply = request(Endpoint::findPassword(), email, nullptr);
    emit busyChanged(false);
    qInfo().noquote() << "Result:" << reply;
    showMessage(findPasswordMessage(reply));
}

void AccountSession::reloginClicked(const QString &email, const QString &password)
{
    emit busyChanged(true);
    const bool accepted = login(email, password, true);
    emit busyChanged(false);
    // Only a reply from the backend refreshes anything; the offline copy is no news.
    if (accepted && !m_lastFromCache) {
        emit message(tr("Refresh"), tr("Account information has been refreshed"));
    } else {
        emit message(tr("Refresh"),
                     tr("Sorry, the account information could not be refreshed, please check "
                        "your network and try it again."));
    }
}

bool AccountSession::login(const QString &typedEmail, const QString &typedPassword, bool silent)
{
    // A silent refresh may fire while another request waits in its nested event loop.
    if (m_requestRunning)
        return false;
    const QString email = typedEmail.trimmed();
    const QString password = typedPassword.trimmed();
    if (email.size() < 6 || password.size() < 6) {
        if (!silent) {
            emit fieldRejected(email.size() < 6 ? Field::LoginEmail : Field::LoginPassword,
                               email.size() < 6 ? tr("Please type email")
                                                : tr("Please type password"));
        }
        return false;
    }
    if (!silent) {
        m_info.email = email;
        remember(email, password);
    }

    QString reply = request(Endpoint::login(), email, &password);
    bool fromCache = false;
    if (reply.size() < 5) {
        // No answer: carry on with the last accepted reply, so the client works offline.
        m_info.email = email;
        reply = readLoginCache(m_cachePath);
        fromCache = true;
    }
    m_lastFromCache = fromCache;
    return acceptReply(reply, silent, fromCache);
}

void AccountSession::registerAccount(const QString &email, const QString &password,
                                     const QString &again)
{
    if (m_requestRunning)
        return;
    if (email.size() < 6) {
        emit fieldRejected(Field::RegisterEmail, tr("Invalid email"));
        return;
    }
    if (password != again) {
        emit fieldRejected(Field::RegisterAgain, tr("Sorry, passwords do not match"));
        return;
    }
    if (password.size() < 6) {
        emit fieldRejected(Field::RegisterPassword, tr("Password length is less than 6"));
        return;
    }
    const QString reply = request(Endpoint::registration(), email, &password);
    const LoginReply result = readLoginReply(reply, m_timeOffset);
    if (result.kind != LoginReply::Kind::Accepted) {
        showMessage(loginFailureMessage(AccountRequest::Register, result));
        return;
    }
    if (!acceptReply(reply, false, false))
        return;
    m_info.email = email;
    remember(email, password);
}

bool AccountSession::acceptReply(const QString &reply, bool silent, bool fromCache)
{
    qInfo().noquote() << "Result:" << reply;
    const LoginReply result = readLoginReply(reply, m_timeOffset);
    if (result.kind != LoginReply::Kind::Accepted) {
        // Offline without a stored copy included: a click hears why nothing happened.
        if (!silent)
            showMessage(loginFailureMessage(AccountRequest::Login, result));
        return false;
    }

    if (!result.email.isEmpty())
        m_info.email = result.email;
    if (m_info.email.isEmpty())
        m_info.email = MConfig::instance()->loginEmail;
    if (m_info.email.isEmpty())
        m_info.email = tr("Please re-login");
    m_info.expireDate = result.expireDate;
    m_info.paymentText = result.paymentDate.isEmpty() ? tr("None") : result.paymentDate;
    m_loggedIn = true;
    emit signedIn(silent);
    if (!fromCache)
        save_logiInfo(m_cachePath, reply);
    return true;
}

void AccountSession::logout()
{
    m_loggedIn = false;
    m_info.email.clear();
    emit signedOut();
}

void AccountSession::loadPrices()
{
    const QString text = MNetwork::getWebConent(Endpoint::priceList());
    emit pricesLoaded(readPriceList(text.trimmed()));
}

void AccountSession::setAutoLogin(bool on)
{
    MConfig::instance()->ckbAutoLogin = on ? 1 : 0;
    m_services.save();
}

QString AccountSession::request(const QString &url, const QString &email, const QString *password)
{
    HeaderMap headers;
    makeRequestHeaders(headers);
    addAccountHeaders(headers, email, password);
    m_requestRunning = true;
    const QString reply = MNetwork::get(url, headers, MNetwork::Call::Account).trimmed();
    m_requestRunning = false;
    return reply;
}

void AccountSession::showMessage(const AccountMessage &message)
{
    if (!message.isNull())
        emit this->message(message.title, message.text);
}

void AccountSession::remember(const QString &email, const QString &password)
{
    MConfig &config = *MConfig::instance();
    config.loginEmail = email;
    config.loginPassword = password;
    m_services.save();
}
