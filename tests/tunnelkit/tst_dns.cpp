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

QByteArray linkTarget(const QString &path)
{
    char target[256];
    const ssize_t n = readlink(QFile::encodeName(path).constData(), target, sizeof target);
    return n > 0 ? QByteArray(target, int(n)) : QByteArray();
}

struct stat statOf(const QString &path)
{
    struct stat st = {};
    lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

const QList<QHostAddress> kServers
    = {QHostAddress(QStringLiteral("10.8.0.1")), QHostAddress(QStringLiteral("fd00::1"))};

} // namespace

class TestDns : public QObject
{
    Q_OBJECT

private slots:
    void readsOnlyUsableServersFromPushReply_data();
    void readsOnlyUsableServersFromPushReply();
    void resolvConfIsPutBackExactly_data();
    void resolvConfIsPutBackExactly();
    void resolvectlReceivesFixedArguments_data();
    void resolvectlReceivesFixedArguments();
};

void TestDns::readsOnlyUsableServersFromPushReply_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isPush");
    QTest::addColumn<QStringList>("servers");

    const QString push = QStringLiteral("2024-05-01 10:00:00 PUSH: Received control message: "
                                        "'PUSH_REPLY,redirect-gateway def1,%1,ping 10'");
    QStringList many;
    for (int i = 1; i <= 10; ++i)
        many << QStringLiteral("dhcp-option DNS 10.8.0.%1").arg(i);

    QTest::newRow("dhcp-option DNS and DNS6, in pushed order")
        << push.arg("dhcp-option DNS6 fd00::1,route-gateway 10.8.0.1,dhcp-option DNS 10.8.0.1")
        << true << QStringList{"fd00::1", "10.8.0.1"};
    QTest::newRow("dns server, plain addresses only")
        << push.arg("dns server 0 address 10.8.0.1 fd00::53,"
                    "dns server 1 address 10.8.0.9:53 [fd00::9]:53 10.8.0.10")
        << true << QStringList{"10.8.0.1", "fd00::53", "10.8.0.10"};
    QTest::newRow("malformed and unusable skipped")
        << push.arg("dhcp-option DNS,dhcp-option DNS 10.8.1,dhcp-option DNS 010.8.0.1,"
                    "dhcp-option DNS fe80::1%tun0,dhcp-option DNS 0.0.0.0,"
                    "dhcp-option DNS6 ff02::1,dhcp-option DNS6 ::,dhcp-option DNS 127.0.0.1,"
                    "dhcp-option DNS ns.example,dhcp-option dns 10.8.0.3,"
                    "dns server x address 10.8.0.4,dhcp-option DNS 10.8.0.5 10.8.0.6,"
                    "dhcp-option DNS 10.8.0.7")
        << true << QStringList{"10.8.0.7"};
    QTest::newRow("duplicates once")
        << push.arg("dhcp-option DNS 10.8.0.1,dns server 0 address 10.8.0.1 ::ffff:10.8.0.1")
        << true << QStringList{"10.8.0.1"};
    QTest::newRow("at most eight") << push.arg(many.join(',')) << true
                                   << many.mid(0, 8).replaceInStrings("dhcp-option DNS ", "");
    QTest::newRow("push without DNS") << push.arg("topology subnet") << true << QStringList();
    QTest::newRow("not a push reply")
        << QStringLiteral("SENT CONTROL [server]: 'PUSH_REQUEST' (status=1)") << false
        << QStringList();
    QTest::newRow("over 16 KiB") << push.arg("dhcp-option DNS 10.8.0.1,setenv-safe PAD "
                                             + QString(17000, 'x'))
                                 << false << QStringList();
}

void TestDns::readsOnlyUsableServersFromPushReply()
{
    QFETCH(QString, text);
    QFETCH(bool, isPush);
    QFETCH(QStringList, servers);

    QList<QHostAddress> found = {QHostAddress(QStringLiteral("192.0.2.1"))};
    QCOMPARE(pushedDnsServers(text, &found), isPush);
    QStringList texts;
    for (const QHostAddress &a : qAsConst(found))
        texts << a.toString();
    QCOMPARE(texts, servers);
}

void TestDns::resolvConfIsPutBackExactly_data()
{
    QTest::addColumn<bool>("symlink");
    QTest::addColumn<bool>("reapply");
    QTest::addColumn<bool>("crash");
    QTest::addColumn<QByteArray>("intruder");
    QTest::addColumn<bool>("prepared");

    QTest::newRow("file rewritten in place, then its bytes and mode")
        << false << false << false << QByteArray() << false;
    QTest::newRow("link replaced by a file, then the same link")
        << true << false << false << QByteArray() << false;
    QTest::newRow("second apply keeps the first original")
        << false << true << false << QByteArray() << false;
    QTest::newRow("restarted helper restores from the state folder")
        << true << true << true << QByteArray() << false;
    QTest::newRow("someone else's file is left alone")
        << false << false << false << QByteArray("nameserver 192.0.2.53\n") << false;
    QTest::newRow("noted while openvpn starts, only written at apply")
        << true << false << true << QByteArray() << true;
}

void TestDns::resolvConfIsPutBackExactly()
{
    QFETCH(bool, symlink);
    QFETCH(bool, reapply);
    QFETCH(bool, crash);
    QFETCH(QByteArray, intruder);
    QFETCH(bool, prepared);

    QTemporaryDir dir;
    const QString conf = dir.filePath("resolv.conf");
    const QString stub = dir.filePath("stub.conf");
    const QString state = dir.filePath("state");
    const QByteArray original = "# from DHCP\nsearch lan\nnameserver 192.168.1.1\n";
    if (symlink) {
        QVERIFY(put(stub, original));
        QCOMPARE(::symlink("stub.conf", QFile::encodeName(conf).constData()), 0);
    } else {
        QVERIFY(put(conf, original));
        QCOMPARE(chmod(QFile::encodeName(conf).constData(), 0640), 0);
    }
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

    if (!intruder.isEmpty())
        QVERIFY(put(conf, intruder));
    if (crash)
        dns = makeResolvConfDns(conf, state);
    QVERIFY2(dns->restore(&error), qPrintable(error));
    if (!intruder.isEmpty())
        QCOMPARE(contents(conf), intruder);
    else if (symlink)
        QCOMPARE(linkTarget(conf), QByteArray("stub.conf"));
    else
        QCOMPARE(contents(conf), original);
    if (!symlink)
        QCOMPARE(statOf(conf).st_mode & 07777, 0640u);
    const QStringList left
        = symlink ? QStringList{"resolv.conf", "stub.conf"} : QStringList{"resolv.conf"};
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden), left);
    QVERIFY(QDir(state).isEmpty());
}

void TestDns::resolvectlReceivesFixedArguments_data()
{
    QTest::addColumn<QString>("interface");
    QTest::addColumn<QString>("failing");
    QTest::addColumn<bool>("applies");
    QTest::addColumn<QStringList>("calls");

    const QString tun = QStringLiteral("qtun0");
    const QStringList setUp
        = {"dns qtun0 10.8.0.1 fd00::1", "domain qtun0 ~.", "default-route qtun0 yes"};
    const QStringList undo = {"revert qtun0", "flush-caches"};
    QTest::newRow("link set up, then reverted and flushed")
        << tun << QString() << true << setUp + undo;
    QTest::newRow("failing step stops apply, restore still cleans up")
        << tun << QStringLiteral("domain") << false << setUp.mid(0, 2) + undo;
    QTest::newRow("revert of a vanished link still flushes")
        << tun << QStringLiteral("revert") << true << setUp + undo;
    QTest::newRow("name with a space refused")
        << QStringLiteral("tun0 x") << QString() << false << QStringList();
    QTest::newRow("name like an option refused")
        << QStringLiteral("-h") << QString() << false << QStringList();
}

void TestDns::resolvectlReceivesFixedArguments()
{
    QFETCH(QString, interface);
    QFETCH(QString, failing);
    QFETCH(bool, applies);
    QFETCH(QStringList, calls);

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
    QCOMPARE(dns->apply(interface, kServers, &error), applies);
    QCOMPARE(error.isEmpty(), applies);
    QCOMPARE(error.contains("no link qtun0"), failing == "domain");
    dns = makeResolvedDns(fake, state);
    QVERIFY2(dns->restore(&error), qPrintable(error));
    QCOMPARE(QString::fromUtf8(contents(log)).split('\n', Qt::SkipEmptyParts), calls);
    QVERIFY(QDir(state).isEmpty());
}

QTEST_GUILESS_MAIN(TestDns)
#include "tst_dns.moc"
