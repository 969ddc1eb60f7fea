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
#include <unistd.h>

using namespace helper;

Q_DECLARE_METATYPE(PeerIdentity)
Q_DECLARE_METATYPE(PolkitAnswer)

namespace {

const QString PolkitName = QStringLiteral("org.freedesktop.PolicyKit1");
const QString NoSuchGroup = QStringLiteral("quellnet-test-no-such-group");

PeerIdentity peer(uint uid, uint gid, QList<uint> groups = {}, qint64 pid = 4242)
{
    return PeerIdentity{pid, uid, gid, groups};
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
        const QVariantList args = message.arguments();
        const QDBusArgument subjectArg = args.value(0).value<QDBusArgument>();
        subjectArg.beginStructure();
        subjectArg >> kind >> subject;
        subjectArg.endStructure();
        action = args.value(1).toString();
        flags = args.value(3).toUInt();
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

// Checks `who` and returns the one verdict as "yes|why" or "no|why"; the verdict must come
// from the event loop, not from within check(), and only once.
QString verdictOf(Authority &authority, const PeerIdentity &who, int timeoutMs = 10000)
{
    QStringList got;
    authority.check(
        who, [&got](bool allowed, const QString &why) { got << (allowed ? "yes|" : "no|") + why; },
        timeoutMs);
    if (!got.isEmpty() || !QTest::qWaitFor([&] { return !got.isEmpty(); }, 15000))
        return QStringLiteral("answered within check(), or never");
    // A late second answer (the bus library's own time-out error, say) must not count twice.
    (void)QTest::qWaitFor([&] { return got.size() > 1; }, timeoutMs < 1000 ? 2 * timeoutMs : 50);
    return got.size() == 1 ? got.first() : QStringLiteral("answered twice");
}

} // namespace

class TestAuthority : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_bus;
    QString m_busAddress;
    FakeAuthority m_fake;

private slots:
    void initTestCase()
    {
        // A private bus stands in for the system bus; without dbus-daemon the polkit tests skip.
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty() || !m_dir.isValid())
            return;
        m_bus.start(daemon,
                    {QStringLiteral("--session"), QStringLiteral("--nofork"),
                     QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1"),
                     QStringLiteral("--address=unix:path=") + m_dir.filePath("bus")});
        QVERIFY(m_bus.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(m_bus.canReadLine(), 5000);
        m_busAddress = QString::fromUtf8(m_bus.readLine().trimmed());
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_busAddress.toUtf8());
        QDBusConnection fake = QDBusConnection::connectToBus(m_busAddress, QStringLiteral("fake"));
        QVERIFY(fake.isConnected());
        QVERIFY(fake.registerVirtualObject(QStringLiteral("/org/freedesktop/PolicyKit1/Authority"),
                                           &m_fake));
    }
    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("fake"));
        m_bus.terminate();
        QVERIFY(m_bus.waitForFinished(5000) || m_bus.state() == QProcess::NotRunning);
    }

    void decisionFollowsRootGroupThenPolkit_data()
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
    void decisionFollowsRootGroupThenPolkit()
    {
        QFETCH(PeerIdentity, who);
        QFETCH(qint64, groupId);
        QFETCH(PolkitAnswer, polkit);
        QTEST(isAuthorised(who, groupId, polkit), "allowed");
    }

    void startTimeIsCountedFromTheLastParenthesis_data()
    {
        QTest::addColumn<QByteArray>("stat");
        QTest::addColumn<qint64>("startTime"); // -1: refused
        const QByteArray fields = " S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 20 0 1 0 ";
        QTest::newRow("plain name") << "4242 (bash)" + fields + "987654 4096" << qint64(987654);
        QTest::newRow("spaces and parentheses") << "1 (a) (b c)" + fields + "77 1" << qint64(77);
        QTest::newRow("name forging fields")
            << "1 (x)" + fields + "666) " + fields + "55 1" << qint64(55);
        QTest::newRow("too few fields") << QByteArray("1 (a) S 1 2 3") << qint64(-1);
        QTest::newRow("no parenthesis") << "1 a" + fields + "19 20 21" << qint64(-1);
        QTest::newRow("not a number") << "1 (a)" + fields + "12x 1" << qint64(-1);
        QTest::newRow("negative") << "1 (a)" + fields + "-5 1" << qint64(-1);
        QTest::newRow("empty") << QByteArray() << qint64(-1);
    }
    void startTimeIsCountedFromTheLastParenthesis()
    {
        QFETCH(QByteArray, stat);
        quint64 parsed = 0;
        QTEST(os::parseStartTime(stat, &parsed) ? qint64(parsed) : qint64(-1), "startTime");
    }

    void identityStartTimeAndGroupsAreTheSystemsView()
    {
        QVERIFY(os::processStartTime(getpid()) > 0);
        QCOMPARE(os::processStartTime(0), quint64(0));
        QCOMPARE(os::processStartTime(0x3ffffffe), quint64(0));
        QCOMPARE(os::groupId(QStringLiteral("root")), qint64(0));
        QCOMPARE(os::groupId(NoSuchGroup), qint64(-1));
        QCOMPARE(os::groupId(QString()), qint64(-1));
        QLocalServer server;
        QVERIFY(server.listen(m_dir.filePath(QStringLiteral("helper.sock"))));
        QLocalSocket client;
        client.connectToServer(server.fullServerName());
        QVERIFY(server.waitForNewConnection(5000));
        QLocalSocket *accepted = server.nextPendingConnection();
        PeerIdentity seen;
        QVERIFY(accepted && peerIdentity(accepted->socketDescriptor(), &seen));
        QCOMPARE(QList<qint64>({seen.pid, seen.uid, seen.gid}),
                 QList<qint64>({getpid(), getuid(), getgid()}));
        QVector<gid_t> own(getgroups(0, nullptr));
        QCOMPARE(getgroups(own.size(), own.data()), own.size());
        std::sort(own.begin(), own.end());
        std::sort(seen.groups.begin(), seen.groups.end());
        QCOMPARE(seen.groups, QList<uint>(own.begin(), own.end()));

        PeerIdentity none;
        QVERIFY(!peerIdentity(-1, &none));
        int pipe[2];
        QCOMPARE(pipe2(pipe, O_CLOEXEC), 0);
        QVERIFY(!peerIdentity(pipe[0], &none));
        ::close(pipe[0]);
        ::close(pipe[1]);
    }

    void verdictComesOnceFromTheEventLoop_data()
    {
        QTest::addColumn<PeerIdentity>("who");
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("reply"); // of the fake polkit; -1: polkit is not asked
        QTest::addColumn<QString>("verdict");
        const PeerIdentity nobody = peer(65534, 65534, {}, getpid());
        const QString no = QStringLiteral("no|uid 65534 is not authorised: ");
        const QString neither
            = QStringLiteral(" and it is neither root nor in group ") + NoSuchGroup;
        QTest::newRow("root") << peer(0, 0) << NoSuchGroup << -1 << "yes|uid 0 is authorised: root";
        QTest::newRow("group member") << peer(1000, 0) << QStringLiteral("root") << -1
                                      << "yes|uid 1000 is authorised: member of group root";
        QTest::newRow("process out of sight")
            << peer(1000, 1000, {}, 0) << NoSuchGroup << -1
            << "no|uid 1000 is not authorised: its process is not visible to the helper and it is "
               "neither root nor in group "
                + NoSuchGroup;
        QTest::newRow("polkit yes") << nobody << NoSuchGroup << int(FakeAuthority::Yes)
                                    << "yes|uid 65534 is authorised by polkit";
        QTest::newRow("polkit no")
            << nobody << NoSuchGroup << int(FakeAuthority::No) << no + "polkit said no";
        QTest::newRow("polkit wants a password")
            << nobody << NoSuchGroup << int(FakeAuthority::Challenge)
            << no + "polkit wants authentication, which the helper never asks for";
        QTest::newRow("polkit error")
            << nobody << NoSuchGroup << int(FakeAuthority::Error)
            << no + "polkit failed (org.freedesktop.PolicyKit1.Error.Failed: x)" + neither;
        QTest::newRow("polkit silent") << nobody << NoSuchGroup << int(FakeAuthority::Silent)
                                       << no + "polkit did not answer within 300 ms" + neither;
        QTest::newRow("polkit absent") << nobody << NoSuchGroup << int(FakeAuthority::Absent)
                                       << no + "no polkit authority runs" + neither;
    }
    void verdictComesOnceFromTheEventLoop()
    {
        QFETCH(PeerIdentity, who);
        QFETCH(QString, group);
        QFETCH(int, reply);
        if (reply >= 0 && m_busAddress.isEmpty())
            QSKIP("dbus-daemon is not installed");
        QDBusConnection fake(QStringLiteral("fake"));
        if (reply == FakeAuthority::Absent)
            fake.unregisterService(PolkitName);
        else if (reply >= 0)
            QVERIFY(fake.registerService(PolkitName));
        m_fake.reply = FakeAuthority::Reply(reply);
        m_fake.signature.clear();
        Authority authority(group);
        // Short only where the time-out is the point: a loaded machine may be slow to answer.
        const int timeoutMs = reply == FakeAuthority::Silent ? 300 : 10000;
        QTEST(verdictOf(authority, who, timeoutMs), "verdict");
        // Asked for the process, never interactively, or not at all.
        QCOMPARE(m_fake.signature.isEmpty(), reply < 0 || reply == FakeAuthority::Absent);
        if (m_fake.signature.isEmpty())
            return;
        // polkit rejects a subject whose fields carry other D-Bus types.
        QCOMPARE(m_fake.signature, QStringLiteral("(sa{sv})sa{ss}us"));
        QCOMPARE(m_fake.kind, QStringLiteral("unix-process"));
        const auto typed = [this](const char *key) -> QString {
            const QVariant v = m_fake.subject.value(QLatin1String(key));
            return QLatin1String(v.typeName()) + QLatin1Char(' ') + v.toString();
        };
        QCOMPARE(typed("pid"), QStringLiteral("uint %1").arg(getpid()));
        QCOMPARE(typed("start-time"),
                 QStringLiteral("qulonglong %1").arg(os::processStartTime(getpid())));
        QCOMPARE(typed("uid"), QStringLiteral("int 65534"));
        QCOMPARE(m_fake.action, QStringLiteral("org.quellnet.helper.control"));
        QCOMPARE(m_fake.flags, 0u);
    }
};

QTEST_GUILESS_MAIN(TestAuthority)
#include "tst_authority.moc"
