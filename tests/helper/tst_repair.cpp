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
        QProcess p;
        p.setStandardErrorFile(QProcess::nullDevice());
        p.start(QStringLiteral("ip"), args);
        return p.waitForFinished(10000) && p.exitCode() == 0;
    }
    static bool put(const QString &path, const QByteArray &content)
    {
        QFile f(path);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) >= 0;
    }
    QString takeRecord() const
    {
        QFile f(m_fakeDir.filePath(QStringLiteral("record")));
        const QString text = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : "";
        f.remove();
        return text;
    }
    // finished()'s arguments: it must come once, from the event loop, never within start().
    static QVariantList repair(const QString &socket, int timeoutMs = 15000)
    {
        qputenv("QUELLNET_HELPER_SOCKET", QFile::encodeName(socket));
        NetworkRepair repair;
        repair.setTimeout(timeoutMs);
        QSignalSpy spy(&repair, &NetworkRepair::finished);
        repair.start();
        if (!spy.isEmpty() || !spy.wait(timeoutMs + 5000))
            return {};
        QCoreApplication::processEvents();
        return spy.count() == 1 ? spy.takeFirst() : QVariantList();
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
    void cleanupTestCase()
    {
        m_helper.stop();
        ip({"netns", "del", m_netns});
    }
    void leftoversAreCleanedUp_data()
    {
        QTest::addColumn<QByteArray>("policy"); // level, keep blocked, allow LAN
        QTest::addColumn<QByteArray>("nftFailOn");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("script");
        QTest::newRow("no block wanted") << QByteArray("3 0 0") << QByteArray("not in any script")
                                         << true << killSwitchRemoval();
        QTest::newRow("block while disconnected")
            << QByteArray("3 1 0") << QByteArray("not in any script") << true
            << killSwitchRuleset(FirewallPolicy());
        QTest::newRow("nft fails")
            << QByteArray("0 0 0") << QByteArray("delete table") << false << killSwitchRemoval();
    }
    void leftoversAreCleanedUp()
    {
        QFETCH(QByteArray, policy);
        QFETCH(QByteArray, nftFailOn);
        QFETCH(bool, ok);
        QFETCH(QString, script);
        QVERIFY(put(m_helper.runtimeDir() + QStringLiteral("/state/policy"), policy));
        QVERIFY(put(m_fakeDir.filePath(QStringLiteral("nft-fail-on")), nftFailOn));
        takeRecord();
        // A tunnel interface made persistent outlives its openvpn.
        QVERIFY(ip({"-n", m_netns, "tuntap", "add", "dev", "qnet4242", "mode", "tun"}));
        const QVariantList result = repair(m_helper.socketPath());
        QCOMPARE(result.size(), 2);
        const QString report = result[1].toString();
        QVERIFY2(report.contains(QLatin1String("tun device works")), qPrintable(report));
        QVERIFY2(report.contains(QLatin1String("qnet4242")), qPrintable(report));
        QCOMPARE(result[0].toBool(), ok);
        QCOMPARE(takeRecord(), QStringLiteral("nft-begin\n%1nft-end\n").arg(script));
        QVERIFY(!ip({"-n", m_netns, "link", "show", "dev", "qnet4242"}));
    }
    void aUserWhoMayNotIsRefused()
    {
        const QString asked = QStringLiteral("asks for a network repair");
        const int repairs = m_helper.output().count(asked);
        const QByteArray path = QFile::encodeName(m_helper.socketPath());
        const QByteArray frame = wire::encode({wire::Type::Repair, QCborMap()});
        const pid_t child = fork();
        if (child == 0) {
            // nobody: not root, not in the helper's group, not at a desktop.
            if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
                _exit(10);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un addr = {};
            addr.sun_family = AF_UNIX;
            qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
            if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0)
                _exit(11);
            [[maybe_unused]] const ssize_t sent = ::write(fd, frame.constData(), frame.size());
            const timeval tv = {10, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
            char header[8];
            _exit(::read(fd, header, 8) == 8 && header[3] == char(wire::Type::Error) ? 0 : 13);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QCOMPARE(status, 0); // exited with 0
        QTRY_VERIFY(m_helper.output().contains(QLatin1String("uid 65534 is not authorised")));
        QCOMPARE(m_helper.output().count(asked), repairs);
    }
    void noAnswerIsReported_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing listens") << false << "sudo systemctl start quellnet-helper";
        QTest::newRow("a listener that never answers") << true << "did not answer in time";
    }
    void noAnswerIsReported()
    {
        QFETCH(bool, listening);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QLocalServer silent;
        QVERIFY(!listening || silent.listen(dir.filePath(QStringLiteral("helper.sock"))));
        const QVariantList result = repair(dir.filePath(QStringLiteral("helper.sock")), 500);
        QCOMPARE(result.size(), 2);
        QCOMPARE(result[0].toBool(), false);
        QVERIFY2(result[1].toString().contains(expected), qPrintable(result[1].toString()));
    }
};

QTEST_GUILESS_MAIN(TestRepair)
#include "tst_repair.moc"
