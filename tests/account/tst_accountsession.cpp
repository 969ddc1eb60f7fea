// The account session against a real reference backend on loopback: sign-in fills the
// account and stores the reply privately; refusals, silent refreshes, registration, password
// recovery, input checks and click limits; the offline copy.

#include "accountsession.h"
#include "clicklimiter.h"
#include "encryptedfiles.h"
#include "mconfig.h"
#include "mnetwork.h"
#include "testbackend.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QString kEmail = QStringLiteral("demo@quellnet.example");
const QString kPassword = QStringLiteral("quellnet-demo");
const int kOffset = 2 * 3600; // the session believes it is at UTC+2

} // namespace

class AccountSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() { MNetwork::globalClean(); }

    void signInFillsTheAccountAndStoresTheReply();
    void refusalsAreMessagesAndSilentRefreshesSayNothing();
    void registrationSignsInAndSavesTheCredentials();
    void passwordRecoveryReplies();
    void inputChecksAndClickLimitsSendNothing();
    void offlineSignInUsesTheStoredReply();

private:
    std::unique_ptr<AccountSession> makeSession();
    QStringList accountPaths();

    TestBackend m_backend;
    std::unique_ptr<AccountSession> m_session;
    QStringList m_messages;
    QStringList m_rejected;
    QString m_cachePath;
};

void AccountSessionTest::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
    QVERIFY(m_backend.start());
    m_backend.exportClientEnvironment();
    MNetwork::globalInit();
    m_cachePath = MConfig::getAppDataFolder(QString()) + QStringLiteral("user_content.fg");
}

void AccountSessionTest::init()
{
    QFile::remove(MConfig::getConfigFile());
    QFile::remove(m_cachePath);
    MConfig::loadCommConfig();
    m_messages.clear();
    m_rejected.clear();
    m_session = makeSession();
    QVERIFY(m_backend.resetRequests());
}

std::unique_ptr<AccountSession> AccountSessionTest::makeSession()
{
    AppServices services;
    services.now = [] {
        return QDateTime(QDate(2026, 12, 6), QTime(12, 0), Qt::OffsetFromUTC, kOffset);
    };
    services.saveSettings = [] {
        MConfig::saveCommConfig();
    };
    auto session = std::make_unique<AccountSession>(services, m_cachePath);
    connect(session.get(), &AccountSession::message, this,
            [this](const QString &title, const QString &text) {
                m_messages << title + QLatin1Char('|') + text;
            });
    connect(session.get(), &AccountSession::fieldRejected, this,
            [this](AccountSession::Field field, const QString &text) {
                m_rejected << QStringLiteral("%1:%2").arg(int(field)).arg(text);
            });
    return session;
}

QStringList AccountSessionTest::accountPaths()
{
    QStringList paths;
    for (const TestBackend::Request &request : m_backend.requests()) {
        if (request.path.startsWith(QLatin1String("/vpnserver/")))
            paths << request.path;
    }
    return paths;
}

void AccountSessionTest::signInFillsTheAccountAndStoresTheReply()
{
    QSignalSpy signedIn(m_session.get(), &AccountSession::signedIn);
    QSignalSpy busy(m_session.get(), &AccountSession::busyChanged);
    m_session->loginClicked(QStringLiteral("  ") + kEmail + QStringLiteral(" "), kPassword);
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
    QVERIFY(m_session->loggedIn());
    QCOMPARE(signedIn.count(), 1);
    QCOMPARE(signedIn.at(0).at(0).toBool(), false);
    QCOMPARE(busy.count(), 2);

    // The stored reply is what the backend sent; its UTC dates come out two hours later.
    const QJsonObject reply
        = QJsonDocument::fromJson(readLoginCache(m_cachePath).toUtf8()).object();
    QCOMPARE(reply.value(QStringLiteral("email")).toString(), kEmail);
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    const QDateTime expire
        = QDateTime::fromString(reply.value(QStringLiteral("expire_date")).toString(), format)
              .addSecs(kOffset);
    QVERIFY(expire.isValid());
    QCOMPARE(m_session->info().email, kEmail);
    QCOMPARE(m_session->info().expireDate, expire);
    QVERIFY(!m_session->info().paymentText.isEmpty());

    // The typed credentials are saved; the copy is for the user's eyes only.
    MConfig::loadCommConfig();
    QCOMPARE(MConfig::instance()->loginEmail, kEmail);
    QCOMPARE(MConfig::instance()->loginPassword, kPassword);
    QCOMPARE(QFileInfo(m_cachePath).permissions() & 0x0077, QFileDevice::Permissions());

    QSignalSpy signedOut(m_session.get(), &AccountSession::signedOut);
    m_session->logout();
    QVERIFY(!m_session->loggedIn());
    QCOMPARE(signedOut.count(), 1);
}

void AccountSessionTest::refusalsAreMessagesAndSilentRefreshesSayNothing()
{
    // A silent refresh with a wrong password asks, shows and saves nothing.
    QVERIFY(!m_session->login(kEmail, QStringLiteral("wrong-password"), true));
    QCOMPARE(accountPaths(), QStringList{QStringLiteral("/vpnserver/loginvpn/")});
    QVERIFY(m_messages.isEmpty());
    MConfig::loadCommConfig();
    QVERIFY(MConfig::instance()->loginPassword.isEmpty());

    m_session->loginClicked(kEmail, QStringLiteral("wrong-password"));
    QCOMPARE(m_messages,
             QStringList{QStringLiteral("Login failed|Incorrect password or user does not exist")});
    QVERIFY(!m_session->loggedIn());
    QVERIFY(!QFile::exists(m_cachePath));

    // The demo account is bound to this machine by now; another machine id is refused.
    m_messages.clear();
    QVERIFY(m_session->login(kEmail, kPassword, false));
    const QString ownId = MConfig::instance()->userID;
    MConfig::instance()->userID = QStringLiteral("0123456789ABCDEF0123456789ABCDEF");
    QVERIFY(!m_session->login(kEmail, kPassword, false));
    MConfig::instance()->userID = ownId;
    QCOMPARE(m_messages,
             QStringList{QStringLiteral("Login failed|Only one device can be bound to "
                                        "the same account in each system")});

    // Re-Login says how it went.
    m_messages.clear();
    m_session->reloginClicked(kEmail, kPassword);
    QCOMPARE(m_messages,
             QStringList{QStringLiteral("Refresh|Account information has been refreshed")});
}

void AccountSessionTest::registrationSignsInAndSavesTheCredentials()
{
    const QString email
        = QStringLiteral("new.user+%1@quellnet.example").arg(QDateTime::currentMSecsSinceEpoch());
    const QString password = QStringLiteral("secret-1");
    m_session->registerClicked(email, password, password);
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
    QVERIFY(m_session->loggedIn());
    QCOMPARE(m_session->info().email, email);
    // A new account is a trial without payment.
    QCOMPARE(m_session->info().paymentText, QStringLiteral("None"));
    MConfig::loadCommConfig();
    QCOMPARE(MConfig::instance()->loginEmail, email);
    QCOMPARE(MConfig::instance()->loginPassword, password);

    m_session->registerClicked(email, password, password);
    QCOMPARE(m_messages,
             QStringList{
                 QStringLiteral("Register failed|This email was registered,please login with it")});
}

void AccountSessionTest::passwordRecoveryReplies()
{
    m_session->findPasswordClicked(kEmail);
    m_session->findPasswordClicked(QStringLiteral("nobody@quellnet.example"));
    QCOMPARE(m_messages,
             (QStringList{QStringLiteral("Find Password|Change password link is sent to your email "
                                         "address,<br/>please click it to change your password"),
                          QStringLiteral("Find password|Sorry, This user does not exist")}));
}

void AccountSessionTest::inputChecksAndClickLimitsSendNothing()
{
    using F = AccountSession::Field;
    m_session->loginClicked(QStringLiteral("a@b.c"), QStringLiteral("password"));
    m_session->loginClicked(QStringLiteral("someone@quellnet.example"), QStringLiteral("12345"));
    m_session->findPasswordClicked(QStringLiteral(" abcd "));
    m_session->registerClicked(QStringLiteral("abcde"), QString(), QString());
    m_session->registerClicked(QStringLiteral("someone@quellnet.example"),
                               QStringLiteral("secret-1"), QStringLiteral("secret-2"));
    m_session->registerClicked(QStringLiteral("someone@quellnet.example"), QStringLiteral("12345"),
                               QStringLiteral("12345"));
    const auto entry = [](F field, const char *text) {
        return QStringLiteral("%1:%2").arg(int(field)).arg(QLatin1String(text));
    };
    QCOMPARE(m_rejected,
             (QStringList{entry(F::LoginEmail, "Please type email"),
                          entry(F::LoginPassword, "Please type password"),
                          entry(F::LoginEmail, "Please type email"),
                          entry(F::RegisterEmail, "Invalid email"),
                          entry(F::RegisterAgain, "Sorry, passwords do not match"),
                          entry(F::RegisterPassword, "Password length is less than 6")}));
    QVERIFY(accountPaths().isEmpty());
    MConfig::loadCommConfig();
    QVERIFY(MConfig::instance()->loginEmail.isEmpty());

    // Each button serves its number of clicks, then nothing until its reset timer fires.
    const struct
    {
        std::function<void()> click;
        int served;
    } buttons[] = {
        {[this] { m_session->loginClicked(QStringLiteral("x"), QString()); }, 10 - 2},
        {[this] { m_session->registerClicked(QStringLiteral("x"), QString(), QString()); }, 5 - 3},
        {[this] { m_session->findPasswordClicked(QStringLiteral("x")); }, 3 - 1},
    };
    for (const auto &button : buttons) {
        m_rejected.clear();
        for (int i = 0; i < button.served + 5; ++i)
            button.click();
        QCOMPARE(m_rejected.size(), button.served);
    }
    for (ClickLimiter *limiter : m_session->findChildren<ClickLimiter *>())
        limiter->resetTimer()->start(1);
    QTRY_COMPARE_WITH_TIMEOUT(m_session->findChildren<ClickLimiter *>().last()->count(), 0, 2000);
    m_rejected.clear();
    buttons[2].click();
    QCOMPARE(m_rejected.size(), 1);
}

void AccountSessionTest::offlineSignInUsesTheStoredReply()
{
    QVERIFY(m_session->login(kEmail, kPassword, false));
    const QDateTime expire = m_session->info().expireDate;
    QFile cache(m_cachePath);
    QVERIFY(cache.open(QIODevice::ReadOnly));
    const QByteArray before = cache.readAll();
    cache.close();

    QVERIFY(m_backend.stop());
    m_session = makeSession();
    QVERIFY(m_session->login(kEmail, kPassword, false));
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
    QVERIFY(m_session->lastLoginFromCache());
    QCOMPARE(m_session->info().expireDate, expire);
    // The copy is used, not rewritten.
    QVERIFY(cache.open(QIODevice::ReadOnly));
    QCOMPARE(cache.readAll(), before);
    cache.close();

    // Re-Login from the offline copy is not reported as a refresh.
    m_session->reloginClicked(kEmail, kPassword);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.first().contains(QStringLiteral("could not be refreshed")),
             qPrintable(m_messages.first()));

    // Without a copy a silent refresh fails silently; a click says why.
    QVERIFY(QFile::remove(m_cachePath));
    m_messages.clear();
    m_session = makeSession();
    QVERIFY(!m_session->login(kEmail, kPassword, true));
    QVERIFY(m_messages.isEmpty());
    m_session->loginClicked(kEmail, kPassword);
    QCOMPARE(m_messages,
             QStringList{QStringLiteral("Login failed.|Sorry, login failed, please "
                                        "check your network and try it again.")});
    QVERIFY(!m_session->loggedIn());
    QVERIFY(m_backend.start());
    m_backend.exportClientEnvironment();
}

QTEST_GUILESS_MAIN(AccountSessionTest)
#include "tst_accountsession.moc"
