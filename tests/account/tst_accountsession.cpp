// The account session against a real reference backend on loopback: sign-in fills the
// account and stores the reply privately; refusals, silent refreshes, registration, password
// recovery, input checks and click limits; the offline copy.

#include "accountsession.h"
#include "encryptedfiles.h"
#include "mconfig.h"
#include "mnetwork.h"
#include "testbackend.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

const QString kEmail = QStringLiteral("demo@quellnet.example");
const QString kPassword = QStringLiteral("quellnet-demo");
const int kOffset = 2 * 3600; // the session believes it is at UTC+2

class AccountSessionTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<AccountSession> makeSession()
    {
        AppServices services;
        services.now = [] {
            return QDateTime(QDate(2026, 12, 6), QTime(12, 0), Qt::OffsetFromUTC, kOffset);
        };
        services.saveSettings = &MConfig::saveCommConfig;
        auto session = std::make_unique<AccountSession>(services, m_cachePath);
        connect(session.get(), &AccountSession::message, this,
                [this](const QString &title, const QString &text) {
                    m_messages << title + QLatin1Char('|') + text;
                });
        connect(session.get(), &AccountSession::fieldRejected, this,
                [this](AccountSession::Field field) { m_rejected << field; });
        return session;
    }
    QStringList takeMessages() { return std::exchange(m_messages, {}); }
    QStringList accountPaths()
    {
        QStringList paths;
        for (const TestBackend::Request &request : m_backend.requests()) {
            if (request.path.startsWith(QLatin1String("/vpnserver/")))
                paths << request.path;
        }
        return paths;
    }

    TestBackend m_backend;
    std::unique_ptr<AccountSession> m_session;
    QStringList m_messages;
    QList<AccountSession::Field> m_rejected;
    QString m_cachePath;

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        QVERIFY(m_backend.start());
        MNetwork::globalInit();
        m_cachePath = MConfig::getAppDataFolder(QString()) + QStringLiteral("user_content.fg");
    }
    void init()
    {
        QFile::remove(MConfig::getConfigFile());
        QFile::remove(m_cachePath);
        MConfig::loadCommConfig();
        m_messages.clear();
        m_rejected.clear();
        m_session = makeSession();
        QVERIFY(m_backend.resetRequests());
    }
    void cleanupTestCase() { MNetwork::globalClean(); }

    void signInFillsTheAccountAndStoresTheReply()
    {
        QSignalSpy signedIn(m_session.get(), &AccountSession::signedIn);
        QSignalSpy busy(m_session.get(), &AccountSession::busyChanged);
        m_session->loginClicked(QStringLiteral("  ") + kEmail + QStringLiteral(" "), kPassword);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
        QVERIFY(m_session->loggedIn());
        QCOMPARE(signedIn, QList<QVariantList>{{false}}); // not silent
        QCOMPARE(busy.count(), 2);

        // The stored reply is what the backend sent; its UTC dates come out two hours later.
        const QJsonObject reply
            = QJsonDocument::fromJson(readLoginCache(m_cachePath).toUtf8()).object();
        QCOMPARE(reply.value(QStringLiteral("email")).toString(), kEmail);
        const QDateTime expire
            = QDateTime::fromString(reply.value(QStringLiteral("expire_date")).toString(),
                                    QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                  .addSecs(kOffset);
        QVERIFY(expire.isValid());
        QCOMPARE(m_session->info().email, kEmail);
        QCOMPARE(m_session->info().expireDate, expire);

        // The typed credentials are saved; the copy is for the user's eyes only.
        MConfig::loadCommConfig();
        QCOMPARE(MConfig::instance()->loginEmail, kEmail);
        QCOMPARE(MConfig::instance()->loginPassword, kPassword);
        QCOMPARE(QFile::permissions(m_cachePath) & 0x0077, QFileDevice::Permissions());
    }

    void refusalsAreMessagesAndSilentRefreshesSayNothing()
    {
        // A silent refresh with a wrong password asks, shows and saves nothing.
        QVERIFY(!m_session->login(kEmail, QStringLiteral("wrong-password"), true));
        QCOMPARE(accountPaths(), QStringList{QStringLiteral("/vpnserver/loginvpn/")});
        QVERIFY(m_messages.isEmpty());
        MConfig::loadCommConfig();
        QVERIFY(MConfig::instance()->loginPassword.isEmpty());

        m_session->loginClicked(kEmail, QStringLiteral("wrong-password"));
        QCOMPARE(
            takeMessages(),
            QStringList{QStringLiteral("Login failed|Incorrect password or user does not exist")});
        QVERIFY(!m_session->loggedIn());
        QVERIFY(!QFile::exists(m_cachePath));

        // The demo account is bound to this machine by now; another machine id is refused.
        QVERIFY(m_session->login(kEmail, kPassword, false));
        const QString ownId = MConfig::instance()->userID;
        MConfig::instance()->userID = QStringLiteral("0123456789ABCDEF0123456789ABCDEF");
        QVERIFY(!m_session->login(kEmail, kPassword, false));
        MConfig::instance()->userID = ownId;
        QCOMPARE(takeMessages(),
                 QStringList{QStringLiteral("Login failed|Only one device can be bound to "
                                            "the same account in each system")});

        // Re-Login says how it went.
        m_session->reloginClicked(kEmail, kPassword);
        QCOMPARE(m_messages,
                 QStringList{QStringLiteral("Refresh|Account information has been refreshed")});
    }

    void registrationSignsInAndSavesTheCredentials()
    {
        const QString email = QStringLiteral("new.user+%1@quellnet.example")
                                  .arg(QDateTime::currentMSecsSinceEpoch());
        m_session->registerClicked(email, kPassword, kPassword);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
        QVERIFY(m_session->loggedIn());
        QCOMPARE(m_session->info().email, email);
        // A new account is a trial without payment.
        QCOMPARE(m_session->info().paymentText, QStringLiteral("None"));
        MConfig::loadCommConfig();
        QCOMPARE(MConfig::instance()->loginEmail, email);
        QCOMPARE(MConfig::instance()->loginPassword, kPassword);

        m_session->registerClicked(email, kPassword, kPassword);
        QCOMPARE(m_messages,
                 QStringList{QStringLiteral(
                     "Register failed|This email was registered,please login with it")});
    }

    void passwordRecoveryReplies()
    {
        m_session->findPasswordClicked(kEmail);
        m_session->findPasswordClicked(QStringLiteral("nobody@quellnet.example"));
        QCOMPARE(
            m_messages,
            (QStringList{QStringLiteral("Find Password|Change password link is sent to your email "
                                        "address,<br/>please click it to change your password"),
                         QStringLiteral("Find password|Sorry, This user does not exist")}));
    }

    void inputChecksAndClickLimitsSendNothing()
    {
        using F = AccountSession::Field;
        m_session->loginClicked(QStringLiteral("a@b.c"), QStringLiteral("password"));
        m_session->loginClicked(kEmail, QStringLiteral("12345"));
        m_session->findPasswordClicked(QStringLiteral(" abcd "));
        m_session->registerClicked(QStringLiteral("abcde"), QString(), QString());
        m_session->registerClicked(kEmail, QStringLiteral("secret-1"), QStringLiteral("secret-2"));
        m_session->registerClicked(kEmail, QStringLiteral("12345"), QStringLiteral("12345"));
        QCOMPARE(m_rejected,
                 (QList<F>{F::LoginEmail, F::LoginPassword, F::LoginEmail, F::RegisterEmail,
                           F::RegisterAgain, F::RegisterPassword}));

        // One button's limiter serves its clicks (one went above), then sends nothing; the
        // limiter's own rules are unit-tested.
        m_rejected.clear();
        for (int i = 0; i < 5; ++i)
            m_session->findPasswordClicked(QStringLiteral("x"));
        m_session->findPasswordClicked(kEmail);
        QCOMPARE(m_rejected.size(), 3 - 1);
        QVERIFY(accountPaths().isEmpty());
        MConfig::loadCommConfig();
        QVERIFY(MConfig::instance()->loginEmail.isEmpty());
    }

    void offlineSignInUsesTheStoredReply()
    {
        QVERIFY(m_session->login(kEmail, kPassword, false));
        const QDateTime expire = m_session->info().expireDate;
        const QString before = readLoginCache(m_cachePath);

        QVERIFY(m_backend.stop());
        m_session = makeSession();
        QVERIFY(m_session->login(kEmail, kPassword, false));
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
        QVERIFY(m_session->lastLoginFromCache());
        QCOMPARE(m_session->info().expireDate, expire);
        QCOMPARE(readLoginCache(m_cachePath), before); // used, not rewritten

        // Re-Login from the offline copy is not reported as a refresh.
        m_session->reloginClicked(kEmail, kPassword);
        const QStringList relogin = takeMessages();
        QVERIFY2(relogin.size() == 1 && relogin.first().contains(QLatin1String("not be refreshed")),
                 qPrintable(relogin.join('\n')));

        // Without a copy a silent refresh fails silently; a click says why.
        QVERIFY(QFile::remove(m_cachePath));
        m_session = makeSession();
        QVERIFY(!m_session->login(kEmail, kPassword, true));
        QVERIFY(m_messages.isEmpty());
        m_session->loginClicked(kEmail, kPassword);
        QCOMPARE(m_messages,
                 QStringList{QStringLiteral("Login failed.|Sorry, login failed, please "
                                            "check your network and try it again.")});
        QVERIFY(!m_session->loggedIn());
        QVERIFY(m_backend.start());
    }
};

QTEST_GUILESS_MAIN(AccountSessionTest)
#include "tst_accountsession.moc"
