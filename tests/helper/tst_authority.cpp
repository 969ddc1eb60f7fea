#include "authority.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace helper;

Q_DECLARE_METATYPE(PeerIdentity)
Q_DECLARE_METATYPE(PolkitAnswer)

namespace {

const QString PolkitName = QStringLiteral("org.freedesktop.PolicyKit1");
const QString NoSuchGroup = QStringLiteral("quellnet-test-no-such-group");

struct Verdicts
{
    QList<QPair<bool, QString>> got;
    Authority::Verdict sink()
    {
        return [this](bool allowed, const QString &why) {
            got.append({allowed, why});
        };
    }
};

PeerIdentity peer(uint uid, uint gid, QList<uint> groups = {}, qint64 pid = 4242)
{
    PeerIdentity p;
    p.pid = pid;
    p.uid = uid;
    p.gid = gid;
    p.groups = groups;
    return p;
}

QByteArray statLine(const QByteArray &name, const QByteArray &startTime)
{
    return "4242 (" + name + ") S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 20 0 1 0 " + startTime
        + " 4096 100\n";
}

// polkit's authority object on a private bus: records the request, answers as told.
class FakeAuthority : public QDBusVirtualObject
{
public:
    enum Reply { Yes, No, Challenge, Error, Silent, Absent };
    Reply reply = No;
    QString signature, kind, action;
    QVariantMap subject;
    uint flags = ~0u;

    QString introspect(const QString &) const override { return QString(); }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        signature = message.signature();
        const QDBusArgument arg = message.arguments().value(0).value<QDBusArgument>();
        arg.beginStructure();
        arg >> kind >> subject;
        arg.endStructure();
        action = message.arguments().value(1).toString();
        flags = message.arguments().value(3).toUInt();
        if (reply == Error) {
            connection.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.PolicyKit1.Error.Failed"), QStringLiteral("x")));
        } else if (reply != Silent) {
            QDBusArgument result;
            result.beginStructure();
            result << (reply == Yes) << (reply == Challenge);
            result.beginMap(QMetaType::QString, QMetaType::QString);
            result.endMap();
            result.endStructure();
            connection.send(message.createReply(QVariant::fromValue(result)));
        }
        return true;
    }
};

} // namespace

class TestAuthority : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void decisionFollowsRootGroupThenPolkit_data();
    void decisionFollowsRootGroupThenPolkit();
    void startTimeIsCountedFromTheLastParenthesis_data();
    void startTimeIsCountedFromTheLastParenthesis();
    void startTimeAndGroupsComeFromTheSystem();
    void peerIdentityIsTheKernelsView();
    void checkWithoutPolkitAnswersOnceFromTheEventLoop_data();
    void checkWithoutPolkitAnswersOnceFromTheEventLoop();
    void polkitIsAskedForTheProcessWithoutInteraction();
    void polkitAnswerDecides_data();
    void polkitAnswerDecides();

private:
    void expectOwnIdentity(qintptr socket);

    QTemporaryDir m_dir;
    QProcess m_bus;
    QString m_busAddress;
    FakeAuthority m_fake;
};

void TestAuthority::initTestCase()
{
    // A private bus stands in for the system bus; without dbus-daemon the polkit tests skip.
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty() || !m_dir.isValid())
        return;
    QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("<busconfig><type>session</type><listen>unix:path="
                 + m_dir.filePath(QStringLiteral("bus")).toUtf8()
                 + "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                   "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                   "<allow own=\"*\"/></policy></busconfig>\n");
    config.close();
    m_bus.start(daemon,
                {QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                 QStringLiteral("--print-address=1"),
                 QStringLiteral("--config-file=") + config.fileName()});
    QVERIFY(m_bus.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(m_bus.canReadLine(), 5000);
    m_busAddress = QString::fromUtf8(m_bus.readLine().trimmed());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_busAddress.toUtf8());
    QDBusConnection fake = QDBusConnection::connectToBus(m_busAddress, QStringLiteral("fake"));
    QVERIFY(fake.isConnected());
    QVERIFY(fake.registerVirtualObject(QStringLiteral("/org/freedesktop/PolicyKit1/Authority"),
                                       &m_fake));
}

void TestAuthority::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("fake"));
    m_bus.terminate();
    m_bus.waitForFinished(5000);
}

void TestAuthority::decisionFollowsRootGroupThenPolkit_data()
{
    QTest::addColumn<PeerIdentity>("who");
    QTest::addColumn<qint64>("groupId");
    QTest::addColumn<PolkitAnswer>("polkit");
    QTest::addColumn<bool>("allowed");

    const auto na = PolkitAnswer::Unavailable;
    QTest::newRow("root, no polkit") << peer(0, 0) << qint64(-1) << na << true;
    QTest::newRow("root, polkit no") << peer(0, 0) << qint64(-1) << PolkitAnswer::No << true;
    QTest::newRow("group by primary gid") << peer(1000, 990) << qint64(990) << na << true;
    QTest::newRow("group by supplementary")
        << peer(1000, 1000, {27, 990}) << qint64(990) << na << true;
    QTest::newRow("other group") << peer(1000, 1000, {27}) << qint64(990) << na << false;
    QTest::newRow("missing group matches no gid")
        << peer(1000, uint(-1), {uint(-1)}) << qint64(-1) << na << false;
    QTest::newRow("polkit yes") << peer(1000, 1000) << qint64(-1) << PolkitAnswer::Yes << true;
    QTest::newRow("polkit no") << peer(1000, 1000) << qint64(990) << PolkitAnswer::No << false;
    QTest::newRow("no polkit") << peer(1000, 1000) << qint64(990) << na << false;
}

void TestAuthority::decisionFollowsRootGroupThenPolkit()
{
    QFETCH(PeerIdentity, who);
    QFETCH(qint64, groupId);
    QFETCH(PolkitAnswer, polkit);
    QFETCH(bool, allowed);
    QCOMPARE(isAuthorised(who, groupId, polkit), allowed);
}

void TestAuthority::startTimeIsCountedFromTheLastParenthesis_data()
{
    QTest::addColumn<QByteArray>("stat");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint64>("startTime");

    QTest::newRow("plain name") << statLine("bash", "987654") << true << quint64(987654);
    QTest::newRow("spaces and parentheses") << statLine("a) (b c", "77") << true << quint64(77);
    QTest::newRow("name forging fields") << statLine("x) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 "
                                                     "16 17 18 666",
                                                     "55")
                                         << true << quint64(55);
    QTest::newRow("too few fields") << QByteArray("1 (a) S 1 2 3") << false << quint64(0);
    QTest::newRow("no parenthesis") << QByteArray("1 a S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 "
                                                  "16 17 18 19 20 21")
                                    << false << quint64(0);
    QTest::newRow("not a number") << statLine("a", "12x") << false << quint64(0);
    QTest::newRow("negative") << statLine("a", "-5") << false << quint64(0);
    QTest::newRow("empty") << QByteArray() << false << quint64(0);
}

void TestAuthority::startTimeIsCountedFromTheLastParenthesis()
{
    QFETCH(QByteArray, stat);
    QFETCH(bool, ok);
    QFETCH(quint64, startTime);
    quint64 parsed = 0;
    QCOMPARE(os::parseStartTime(stat, &parsed), ok);
    if (ok)
        QCOMPARE(parsed, startTime);
}

void TestAuthority::startTimeAndGroupsComeFromTheSystem()
{
    QVERIFY(os::processStartTime(getpid()) > 0);
    QCOMPARE(os::processStartTime(0), quint64(0));
    QCOMPARE(os::processStartTime(0x3ffffffe), quint64(0));
    QCOMPARE(os::groupId(QStringLiteral("root")), qint64(0));
    QCOMPARE(os::groupId(NoSuchGroup), qint64(-1));
    QCOMPARE(os::groupId(QString()), qint64(-1));
}

void TestAuthority::expectOwnIdentity(qintptr socket)
{
    PeerIdentity seen;
    QVERIFY(peerIdentity(socket, &seen));
    QCOMPARE(seen.pid, qint64(getpid()));
    QCOMPARE(seen.uid, uint(getuid()));
    QCOMPARE(seen.gid, uint(getgid()));
    QVector<gid_t> own(getgroups(0, nullptr));
    QCOMPARE(getgroups(own.size(), own.data()), own.size());
    QList<uint> expected(own.begin(), own.end());
    std::sort(expected.begin(), expected.end());
    std::sort(seen.groups.begin(), seen.groups.end());
    QCOMPARE(seen.groups, expected);
}

void TestAuthority::peerIdentityIsTheKernelsView()
{
    int pair[2];
    QCOMPARE(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
    expectOwnIdentity(pair[0]);
    ::close(pair[0]);
    ::close(pair[1]);

    QLocalServer server;
    QVERIFY(server.listen(m_dir.filePath(QStringLiteral("helper.sock"))));
    QLocalSocket client;
    client.connectToServer(server.fullServerName());
    QVERIFY(server.waitForNewConnection(5000));
    QLocalSocket *accepted = server.nextPendingConnection();
    QVERIFY(accepted);
    expectOwnIdentity(accepted->socketDescriptor());

    PeerIdentity none;
    QVERIFY(!peerIdentity(-1, &none));
    int pipe[2];
    QCOMPARE(pipe2(pipe, O_CLOEXEC), 0);
    QVERIFY(!peerIdentity(pipe[0], &none));
    ::close(pipe[0]);
    ::close(pipe[1]);
}

void TestAuthority::checkWithoutPolkitAnswersOnceFromTheEventLoop_data()
{
    QTest::addColumn<PeerIdentity>("who");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<QString>("why");

    QTest::newRow("root") << peer(0, 0) << NoSuchGroup << true
                          << QStringLiteral("uid 0 is authorised: root");
    QTest::newRow("group member") << peer(1000, 0) << QStringLiteral("root") << true
                                  << QStringLiteral("uid 1000 is authorised: member of group root");
    QTest::newRow("process out of sight")
        << peer(1000, 1000, {}, 0) << NoSuchGroup << false
        << QStringLiteral("uid 1000 is not authorised: its process is not visible to the helper "
                          "and it is neither root nor in group ")
            + NoSuchGroup;
}

void TestAuthority::checkWithoutPolkitAnswersOnceFromTheEventLoop()
{
    QFETCH(PeerIdentity, who);
    QFETCH(QString, group);
    QFETCH(bool, allowed);
    QFETCH(QString, why);

    Authority authority(group);
    Verdicts verdicts;
    authority.check(who, verdicts.sink());
    QVERIFY(verdicts.got.isEmpty());
    QTRY_COMPARE(verdicts.got.size(), 1);
    QCOMPARE(verdicts.got.first().first, allowed);
    QCOMPARE(verdicts.got.first().second, why);
    QTest::qWait(50);
    QCOMPARE(verdicts.got.size(), 1);
}

void TestAuthority::polkitIsAskedForTheProcessWithoutInteraction()
{
    if (m_busAddress.isEmpty())
        QSKIP("dbus-daemon is not installed");
    QVERIFY(QDBusConnection(QStringLiteral("fake")).registerService(PolkitName));
    m_fake.reply = FakeAuthority::No;
    Authority authority(NoSuchGroup);
    Verdicts verdicts;
    authority.check(peer(65534, 65534, {}, getpid()), verdicts.sink());
    QTRY_COMPARE(verdicts.got.size(), 1);

    QCOMPARE(m_fake.signature, QStringLiteral("(sa{sv})sa{ss}us"));
    QCOMPARE(m_fake.kind, QStringLiteral("unix-process"));
    // polkit rejects a subject whose fields carry other D-Bus types.
    const QVariant pid = m_fake.subject.value(QStringLiteral("pid"));
    const QVariant start = m_fake.subject.value(QStringLiteral("start-time"));
    const QVariant uid = m_fake.subject.value(QStringLiteral("uid"));
    QCOMPARE(pid.userType(), int(QMetaType::UInt));
    QCOMPARE(pid.toLongLong(), qint64(getpid()));
    QCOMPARE(start.userType(), int(QMetaType::ULongLong));
    QCOMPARE(start.toULongLong(), os::processStartTime(getpid()));
    QCOMPARE(uid.userType(), int(QMetaType::Int));
    QCOMPARE(uid.toInt(), 65534);
    QCOMPARE(m_fake.action, QStringLiteral("org.quellnet.helper.control"));
    QCOMPARE(m_fake.flags, 0u);
}

void TestAuthority::polkitAnswerDecides_data()
{
    QTest::addColumn<int>("reply");
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<QString>("why");

    const QString refused = QStringLiteral("uid 65534 is not authorised: ");
    const QString neither = QStringLiteral(" and it is neither root nor in group ") + NoSuchGroup;
    QTest::newRow("yes") << int(FakeAuthority::Yes) << true
                         << QStringLiteral("uid 65534 is authorised by polkit");
    QTest::newRow("no") << int(FakeAuthority::No) << false << refused + "polkit said no";
    QTest::newRow("wants a password")
        << int(FakeAuthority::Challenge) << false
        << refused + "polkit wants authentication, which the helper never asks for";
    QTest::newRow("error") << int(FakeAuthority::Error) << false
                           << refused + "polkit failed (org.freedesktop.PolicyKit1.Error.Failed: x)"
            + neither;
    QTest::newRow("silent") << int(FakeAuthority::Silent) << false
                            << refused + "polkit did not answer within 300 ms" + neither;
    QTest::newRow("absent") << int(FakeAuthority::Absent) << false
                            << refused + "no polkit authority runs" + neither;
}

void TestAuthority::polkitAnswerDecides()
{
    QFETCH(int, reply);
    QFETCH(bool, allowed);
    QFETCH(QString, why);
    if (m_busAddress.isEmpty())
        QSKIP("dbus-daemon is not installed");

    QDBusConnection fake(QStringLiteral("fake"));
    if (reply == FakeAuthority::Absent)
        fake.unregisterService(PolkitName);
    else
        QVERIFY(fake.registerService(PolkitName));
    m_fake.reply = FakeAuthority::Reply(reply);

    Authority authority(NoSuchGroup);
    Verdicts verdicts;
    // Short only where the time-out is the point: a loaded machine may be slow to answer.
    const int timeoutMs = reply == FakeAuthority::Silent ? 300 : 10000;
    authority.check(peer(65534, 65534, {}, getpid()), verdicts.sink(), timeoutMs);
    QVERIFY(verdicts.got.isEmpty());
    QTRY_COMPARE(verdicts.got.size(), 1);
    QCOMPARE(verdicts.got.first().first, allowed);
    QCOMPARE(verdicts.got.first().second, why);
    if (reply == FakeAuthority::Silent) {
        // The bus library's own time-out error arrives as well; it must not count twice.
        QTest::qWait(400);
        QCOMPARE(verdicts.got.size(), 1);
    }
}

QTEST_GUILESS_MAIN(TestAuthority)

#include "tst_authority.moc"
