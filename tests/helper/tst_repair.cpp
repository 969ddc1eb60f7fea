// The network repair end to end: NetworkRepair against a real quellnet-helper that runs in a
// network namespace of its own, with the fake nft recording what it was asked to do.
#include "helperprocess.h"
#include "helperprotocol.h"
#include "killswitch.h"
#include "networkrepair.h"

#include <QLocalServer>
#include <QSignalSpy>
#include <QtTest>

#include <grp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tunnelkit;

class TestRepair : public QObject
{
    Q_OBJECT

    QTemporaryDir m_fakeDir;
    const QString m_netns = QStringLiteral("qnrepair%1").arg(QCoreApplication::applicationPid());
    HelperProcess m_helper;

    static bool ip(const QStringList &args)
    {
        return QProcess::execute(QStringLiteral("ip"), args) == 0;
    }
    // The helper's stored policy and what the fake nft fails on; a fresh record; a tunnel
    // interface made persistent, as one that outlived its openvpn.
    bool setUp(const QByteArray &policy, const QByteArray &nftFailOn)
    {
        QFile state(m_helper.runtimeDir() + QStringLiteral("/state/policy"));
        QFile failOn(m_fakeDir.filePath(QStringLiteral("nft-fail-on")));
        QFile::remove(m_fakeDir.filePath(QStringLiteral("record")));
        return state.open(QIODevice::WriteOnly) && state.write(policy) == policy.size()
            && failOn.open(QIODevice::WriteOnly) && failOn.write(nftFailOn) == nftFailOn.size()
            && ip({"-n", m_netns, "tuntap", "add", "dev", "qnet4242", "mode", "tun"});
    }
    // finished()'s arguments: it must come once, from the event loop, never within start().
    static std::pair<bool, QString> repair(const QString &socket, int timeoutMs = 15000)
    {
        qputenv("QUELLNET_HELPER_SOCKET", QFile::encodeName(socket));
        NetworkRepair repair;
        repair.setTimeout(timeoutMs);
        QSignalSpy spy(&repair, &NetworkRepair::finished);
        repair.start();
        const bool waited = spy.isEmpty() && spy.wait(timeoutMs + 5000);
        QCoreApplication::processEvents();
        if (!waited || spy.count() != 1)
            return {false, QStringLiteral("finished %1 times, or within start()").arg(spy.count())};
        return {spy[0][0].toBool(), spy[0][1].toString()};
    }

private slots:
    void initTestCase()
    {
        if (geteuid() != 0)
            QSKIP("needs root: the helper runs in a network namespace of its own");
        QVERIFY(ip({"netns", "add", m_netns}));
        HelperProcess::Options options;
        options.nft = QStringLiteral(QUELLNET_BIN_DIR "/tunnelkit_fake_nft");
        options.environment.insert(QStringLiteral("TUNNELKIT_FAKE_DIR"), m_fakeDir.path());
        options.prefix = QStringList{"ip", "netns", "exec", m_netns};
        QString error;
        QVERIFY2(m_helper.start(options, &error), qPrintable(error));
    }
    // The helper stops with the test object; its namespace goes with it.
    void cleanupTestCase() { ip({"netns", "del", m_netns}); }
    // ok: whether nft does what it is asked; when not, it fails on removing the table.
    void leftoversAreCleanedUp_data()
    {
        QTest::addColumn<QByteArray>("policy"); // level, keep blocked, allow LAN
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("script");
        QTest::newRow("no block wanted") << QByteArray("3 0 0") << true << killSwitchRemoval();
        QTest::newRow("kept blocked") << QByteArray("3 1 0") << true << killSwitchRuleset({});
        QTest::newRow("nft fails") << QByteArray("0 0 0") << false << killSwitchRemoval();
    }
    void leftoversAreCleanedUp()
    {
        QFETCH(QByteArray, policy);
        QFETCH(bool, ok);
        QFETCH(QString, script);
        QVERIFY(setUp(policy, ok ? "not in any script" : "delete table"));
        const auto [done, report] = repair(m_helper.socketPath());
        QVERIFY2(report.contains(QLatin1String("tun device works")), qPrintable(report));
        QVERIFY2(report.contains(QLatin1String("qnet4242")), qPrintable(report));
        QCOMPARE(done, ok);
        QFile record(m_fakeDir.filePath(QStringLiteral("record")));
        QVERIFY(record.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(record.readAll()),
                 QStringLiteral("nft-begin\n%1nft-end\n").arg(script));
        QVERIFY(!ip({"netns", "exec", m_netns, "test", "-e", "/sys/class/net/qnet4242"}));
    }
    void aUserWhoMayNotIsRefused()
    {
        const QByteArray path = QFile::encodeName(m_helper.socketPath());
        const QByteArray frame = wire::encode({wire::Type::Repair, QCborMap()});
        const pid_t child = fork();
        if (child == 0) {
            // nobody: not root, not in the helper's group, not at a desktop.
            if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
                _exit(10);
            alarm(10); // a helper that never answers ends the child
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un addr = {AF_UNIX, {}};
            qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
            if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0)
                _exit(11);
            [[maybe_unused]] const ssize_t sent = ::write(fd, frame.constData(), frame.size());
            char header[8];
            _exit(::read(fd, header, 8) == 8 && header[3] == char(wire::Type::Error) ? 0 : 13);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QCOMPARE(status, 0); // exited with 0
        QTRY_VERIFY(m_helper.output().contains(QLatin1String("uid 65534 is not authorised")));
        QVERIFY(!m_helper.output().contains(QLatin1String("(uid 65534) asks")));
    }
    // Nothing listens, then a listener that never answers.
    void noHelperIsReported()
    {
        const QString socket = m_fakeDir.filePath(QStringLiteral("helper.sock"));
        QLocalServer silent;
        for (const char *expected :
             {"sudo systemctl start quellnet-helper", "did not answer in time"}) {
            const auto [done, report] = repair(socket, 500);
            QVERIFY(!done);
            QVERIFY2(report.contains(QLatin1String(expected)), qPrintable(report));
            QVERIFY(silent.isListening() || silent.listen(socket));
        }
    }
};

QTEST_GUILESS_MAIN(TestRepair)
#include "tst_repair.moc"
