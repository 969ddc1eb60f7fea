#include "dns.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tunnelkit;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool put(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

struct stat statOf(const QString &path)
{
    struct stat st = {};
    lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

const QList<QHostAddress> kServers = {QHostAddress("10.8.0.1"), QHostAddress("fd00::1")};

} // namespace

class TestDns : public QObject
{
    Q_OBJECT

private slots:
    void readsOnlyUsableServersFromPushReply_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("servers"); // "!" when the text is no push reply
        const QString push = QStringLiteral("2024-05-01 10:00:00 PUSH: Received control message: "
                                            "'PUSH_REPLY,redirect-gateway def1,%1,ping 10'");
        QTest::newRow("DNS and DNS6, in pushed order")
            << push.arg("dhcp-option DNS6 fd00::1,route-gateway 10.8.0.1,dhcp-option DNS 10.8.0.1")
            << "fd00::1 10.8.0.1";
        QTest::newRow("dns server, plain addresses only")
            << push.arg("dns server 0 address 10.8.0.1 fd00::53,"
                        "dns server 1 address 10.8.0.9:53 [fd00::9]:53 10.8.0.10")
            << "10.8.0.1 fd00::53 10.8.0.10";
        QTest::newRow("malformed and unusable skipped")
            << push.arg("dhcp-option DNS,dhcp-option DNS 10.8.1,dhcp-option DNS 010.8.0.1,"
                        "dhcp-option DNS fe80::1%tun0,dhcp-option DNS 0.0.0.0,"
                        "dhcp-option DNS6 ff02::1,dhcp-option DNS6 ::,dhcp-option DNS 127.0.0.1,"
                        "dhcp-option DNS ns.example,dhcp-option dns 10.8.0.3,"
                        "dns server x address 10.8.0.4,dhcp-option DNS 10.8.0.5 10.8.0.6,"
                        "dhcp-option DNS 10.8.0.7")
            << "10.8.0.7";
        QTest::newRow("duplicates once")
            << push.arg("dhcp-option DNS 10.8.0.1,dns server 0 address 10.8.0.1 ::ffff:10.8.0.1")
            << "10.8.0.1";
        QTest::newRow("push without DNS") << push.arg("topology subnet") << "";
        QTest::newRow("not a push reply")
            << QStringLiteral("SENT CONTROL [server]: 'PUSH_REQUEST' (status=1)") << "!";
    }
    void readsOnlyUsableServersFromPushReply()
    {
        QFETCH(QString, text);
        QList<QHostAddress> found = {QHostAddress(QStringLiteral("192.0.2.1"))};
        QStringList texts;
        const bool isPush = pushedDnsServers(text, &found);
        for (const QHostAddress &a : qAsConst(found))
            texts << a.toString();
        QTEST(isPush ? texts.join(' ') : QStringLiteral("!"), "servers");
        QVERIFY(isPush || found.isEmpty());
    }

    void resolvConfIsPutBackExactly_data()
    {
        QTest::addColumn<bool>("symlink");
        QTest::addColumn<bool>("reapply");
        QTest::addColumn<bool>("restart"); // the helper restarts before it restores
        QTest::addColumn<bool>("intruder"); // someone else rewrites the file meanwhile
        QTest::addColumn<bool>("prepared"); // noted while openvpn starts, written at apply
        QTest::newRow("file rewritten in place") << false << false << false << false << false;
        QTest::newRow("restarted helper") << true << true << true << false << false;
        QTest::newRow("someone else's file left alone") << false << false << false << true << false;
        QTest::newRow("prepared, then applied") << true << false << true << false << true;
    }
    void resolvConfIsPutBackExactly()
    {
        QFETCH(bool, symlink);
        QFETCH(bool, reapply);
        QFETCH(bool, restart);
        QFETCH(bool, intruder);
        QFETCH(bool, prepared);
        QTemporaryDir dir;
        const QString conf = dir.filePath("resolv.conf");
        const QString stub = dir.filePath("stub.conf");
        const QString state = dir.filePath("state");
        const QByteArray original = "# from DHCP\nsearch lan\nnameserver 192.168.1.1\n";
        const QByteArray other = "nameserver 192.0.2.53\n";
        QVERIFY(put(symlink ? stub : conf, original));
        QCOMPARE(symlink ? ::symlink("stub.conf", QFile::encodeName(conf).constData())
                         : chmod(QFile::encodeName(conf).constData(), 0640),
                 0);
        const ino_t inode = statOf(conf).st_ino;

        auto dns = makeResolvConfDns(conf, state);
        QString error;
        ino_t note = 0;
        if (prepared) {
            QVERIFY2(dns->prepare("qtun0", &error), qPrintable(error));
            QCOMPARE(contents(conf), original);
            note = statOf(state + "/resolv.conf.saved").st_ino;
        }
        QVERIFY2(dns->apply("qtun0", kServers, &error), qPrintable(error));
        if (prepared)
            QCOMPARE(statOf(state + "/resolv.conf.saved").st_ino, note);
        QByteArrayList expected = {"nameserver 10.8.0.1", "nameserver fd00::1"};
        if (reapply) {
            QVERIFY2(dns->apply("qtun0", {QHostAddress("10.8.0.9")}, &error), qPrintable(error));
            expected = {"nameserver 10.8.0.9"};
        }
        QVERIFY(S_ISREG(statOf(conf).st_mode));
        QCOMPARE(statOf(conf).st_ino == inode, !symlink);
        QCOMPARE(contents(conf).trimmed().split('\n').mid(1), expected);
        QCOMPARE(contents(stub), symlink ? original : QByteArray());

        if (intruder)
            QVERIFY(put(conf, other));
        if (restart)
            dns = makeResolvConfDns(conf, state);
        QVERIFY2(dns->restore(&error), qPrintable(error));
        if (symlink)
            QCOMPARE(statOf(conf).st_mode & S_IFMT, S_IFLNK);
        QCOMPARE(contents(conf), intruder ? other : original);
        if (!symlink)
            QCOMPARE(statOf(conf).st_mode & 07777, 0640u);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(),
                 symlink ? 2 : 1);
        QVERIFY(QDir(state).isEmpty());
    }

    void resolvectlReceivesFixedArguments_data()
    {
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("failing"); // the resolvectl step that fails
        QTest::addColumn<QString>("calls");
        const QString setUp = "dns qtun0 10.8.0.1 fd00::1|domain qtun0 ~.|default-route qtun0 yes|";
        const QString undo = "revert qtun0|flush-caches";
        QTest::newRow("link set up, reverted, flushed") << "qtun0"
                                                        << "" << setUp + undo;
        QTest::newRow("failing step stops apply, restore still cleans up")
            << "qtun0"
            << "domain" << setUp.section('|', 0, 1) + '|' + undo;
        QTest::newRow("vanished link still flushed") << "qtun0"
                                                     << "revert" << setUp + undo;
        QTest::newRow("name like an option refused") << "-h"
                                                     << ""
                                                     << "";
    }
    void resolvectlReceivesFixedArguments()
    {
        QFETCH(QString, interface);
        QFETCH(QString, failing);
        QTemporaryDir dir;
        const QString fake = dir.filePath("resolvectl");
        const QString log = dir.filePath("calls");
        const QString state = dir.filePath("state");
        QVERIFY(put(fake,
                    QStringLiteral("#!/bin/sh\necho \"$*\" >> '%1'\n"
                                   "[ \"$1\" != '%2' ] || { echo \"no link $2\" >&2; exit 1; }\n")
                        .arg(log, failing)
                        .toUtf8()));
        QVERIFY(QFile::setPermissions(fake, QFile::ReadOwner | QFile::ExeOwner));

        auto dns = makeResolvedDns(fake, state);
        QString error;
        const bool applies = interface == QLatin1String("qtun0") && failing != "domain";
        QCOMPARE(dns->apply(interface, kServers, &error), applies);
        QCOMPARE(error.isEmpty(), applies);
        QCOMPARE(error.contains("no link qtun0"), failing == "domain");
        dns = makeResolvedDns(fake, state); // restored by a helper that restarted
        QVERIFY2(dns->restore(&error), qPrintable(error));
        QTEST(QString::fromUtf8(contents(log)).trimmed().replace('\n', '|'), "calls");
        QVERIFY(QDir(state).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDns)
#include "tst_dns.moc"
