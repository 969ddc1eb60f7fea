// The latency test with real ICMP. As root, the test first builds two network namespaces and
// runs itself again inside the first one ("pinger"):
//
//   pinger: lo up (127.0.0.0/8 answers)          quiet: icmp_echo_ignore_all=1
//           qnl0 198.18.90.1/30 ───── veth ───── qnl1 198.18.90.2/30
//           198.18.88.0/22, 198.18.92.0/24          both ranges local (on lo)
//             via 198.18.90.2
//
// 198.18.88.x-91.x never answer; 198.18.92.x is answered 40 ms late by a copy of this test that
// runs in "quiet". Nothing is changed in the machine's own namespace, and the
// namespaces are removed when the inner run ends, however it ends. Without root or namespace
// support the tests that need them are skipped.

#include "icmpsocket.h"
#include "latencytest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QThreadPool>
#include <QtEndian>
#include <QtTest>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const char kInsideVariable[] = "QUELLNET_LATENCY_NETNS";
constexpr int kResponderDelayMs = 40;

// $1: this process's id, then the command to run in the pinger namespace. Exits with 125
// when the namespaces cannot be made; removes them (and those of killed runs) in any case.
const char kScript[] = R"(p=qnlat$1p q=qnlat$1q
trap 'kill $r 2>/dev/null; ip netns delete $p 2>/dev/null; ip netns delete $q 2>/dev/null' EXIT
for ns in $(ip netns list | grep -o '^qnlat[0-9]*[pq]'); do
    pid=${ns:5:-1}; kill -0 "$pid" 2>/dev/null || ip netns delete "$ns"; done
ip netns add $p && ip netns add $q && ip -n $p link set lo up && ip -n $q link set lo up &&
ip -n $p link add qnl0 type veth peer name qnl1 netns $q &&
ip -n $p addr add 198.18.90.1/30 dev qnl0 && ip -n $q addr add 198.18.90.2/30 dev qnl1 &&
ip -n $p link set qnl0 up && ip -n $q link set qnl1 up &&
ip -n $p route add 198.18.88.0/22 via 198.18.90.2 &&
ip -n $p route add 198.18.92.0/24 via 198.18.90.2 &&
ip -n $q route add local 198.18.88.0/22 dev lo && ip -n $q route add local 198.18.92.0/24 dev lo &&
ip netns exec $q sysctl -qw net.ipv4.icmp_echo_ignore_all=1 || exit 125
QUELLNET_LATENCY_RESPONDER=1 ip netns exec $q "$2" & r=$!
QUELLNET_LATENCY_NETNS=1 ip netns exec $p "${@:2}")";

bool insideNamespace()
{
    return qEnvironmentVariableIsSet(kInsideVariable);
}

// Runs this test program again inside the pinger namespace; its exit code, or -1 when the
// namespaces cannot be had here (the tests then run in place and skip). CTest's time-out
// bounds the inner run.
int runInsideNamespaces(int argc, char **argv)
{
    if (::geteuid() != 0)
        return -1;
    QStringList arguments{QStringLiteral("-c"), QLatin1String(kScript), QStringLiteral("netns"),
                          QString::number(QCoreApplication::applicationPid()),
                          QCoreApplication::applicationFilePath()};
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const int code = QProcess::execute(QStringLiteral("bash"), arguments);
    return code == 125 ? -1 : code < 0 ? 1 : code;
}

// Echo requests counted by this namespace's kernel: the "Icmp: " value line under its names.
qint64 outEchos()
{
    QFile snmp(QStringLiteral("/proc/net/snmp"));
    const QByteArray text = snmp.open(QIODevice::ReadOnly) ? snmp.readAll() : QByteArray();
    const int names = text.indexOf("\nIcmp: ");
    const auto line = [&](int from) {
        return text.mid(from + 1).split('\n').value(0).split(' ');
    };
    return line(text.indexOf("\nIcmp: ", names + 1))
        .value(line(names).indexOf("OutEchos"), "-1")
        .toLongLong();
}

// The quiet namespace's side, a second copy of this program: answers echo requests to
// 198.18.92.0/24 kResponderDelayMs late from a raw socket, for at most two minutes (the
// script ends it sooner).
int respond()
{
    const int fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    const int on = 1;
    if (fd < 0 || ::setsockopt(fd, IPPROTO_IP, IP_HDRINCL, &on, sizeof(on)) != 0)
        return 1;
    QElapsedTimer clock;
    clock.start();
    char packet[1500] = {};
    while (clock.elapsed() < 120000) {
        pollfd pfd{fd, POLLIN, 0};
        const ssize_t got = ::poll(&pfd, 1, 100) > 0 ? ::recv(fd, packet, sizeof(packet), 0) : 0;
        const int header = (uchar(packet[0]) & 0x0f) * 4;
        if (got < 28 || header < 20 || got < header + 8 || uchar(packet[header]) != 8
            || (qFromBigEndian<quint32>(packet + 16) >> 8) != ((198u << 16) | (18u << 8) | 92u))
            continue;
        QThread::msleep(kResponderDelayMs);
        // The same packet turned round: addresses swapped, type 0, checksum anew.
        sockaddr_in to{};
        to.sin_family = AF_INET;
        memcpy(&to.sin_addr, packet + 12, 4);
        memcpy(packet + 12, packet + 16, 4);
        memcpy(packet + 16, &to.sin_addr, 4);
        packet[header] = packet[header + 2] = packet[header + 3] = 0;
        qToBigEndian(Icmp::checksum(packet + header, int(got) - header), packet + header + 2);
        ::sendto(fd, packet, size_t(got), 0, reinterpret_cast<sockaddr *>(&to), sizeof(to));
    }
    return 0;
}

int openSockets()
{
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        count += QFile::symLinkTarget(fds.filePath(fd)).contains(QLatin1String("socket:"));
    return count;
}

using Rows = QList<LatencyTest::Row>;

struct Outcome
{
    QHash<quint64, QString> results;
    QHash<quint64, qint64> arrivedMs;
    qint64 elapsedMs = 0;
    int maxSockets = 0;
};

// Starts the runs together (they may overlap), collects their results by key with the time
// each arrived and counts this process's sockets meanwhile; false when they did not all
// finish in time or a row got two results.
bool runTest(LatencyTest &test, const QList<Rows> &runs, Outcome *out)
{
    *out = Outcome();
    QElapsedTimer clock;
    int finished = 0, results = 0;
    QObject receiver; // its connections end with it
    QObject::connect(&test, &LatencyTest::signalSpeed, &receiver,
                     [&](quint64 key, const QString &text) {
                         out->results.insert(key, text);
                         out->arrivedMs.insert(key, clock.elapsed());
                         ++results;
                     });
    QObject::connect(&test, &LatencyTest::signalTestSpeedFinised, &receiver, [&] { ++finished; });
    clock.start();
    for (const Rows &rows : runs)
        test.start(rows);
    const auto allFinished = [&] {
        out->maxSockets = qMax(out->maxSockets, openSockets());
        return finished >= runs.size();
    };
    const bool ok = test.runningTests() == runs.size() && QTest::qWaitFor(allFinished, 10000);
    out->elapsedMs = clock.elapsed();
    return ok && results == out->results.size() && finished == runs.size()
        && test.runningTests() == 0;
}

} // namespace

class TestLatency : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!insideNamespace())
            return;
        QVERIFY(outEchos() >= 0);
        // The responder runs once it answers.
        QTRY_VERIFY_WITH_TIMEOUT(pingHost(QStringLiteral("198.18.92.1")) >= 0, 5000);
    }
    void init()
    {
        if (!insideNamespace() && QByteArray(QTest::currentTestFunction()) != "icmpMessages")
            QSKIP("needs root and network namespaces (ip netns)");
    }

    void icmpMessages()
    {
        const QByteArray request = Icmp::echoRequest(0x1234, 0xabcd, Icmp::echoData());
        // A message with its checksum in place sums to zero.
        QCOMPARE(Icmp::checksum(request.constData(), request.size()), quint16(0));
        // RFC 1071's example sums to 0xddf2; an odd last byte is padded with zero.
        const char rfc[]
            = {0x00, 0x01, char(0xf2), 0x03, char(0xf4), char(0xf5), char(0xf6), char(0xf7)};
        QCOMPARE(Icmp::checksum(rfc, 8), quint16(~0xddf2));
        QCOMPARE(Icmp::checksum(rfc, 3), quint16(~0xf201));

        QByteArray reply = request;
        quint16 id = 0, seq = 0;
        QVERIFY(!Icmp::parseEchoReply(reply.constData(), reply.size(), &id, &seq)); // a request
        reply[0] = 0;
        QVERIFY(Icmp::parseEchoReply(reply.constData(), reply.size(), &id, &seq));
        QCOMPARE(id, quint16(0x1234));
        QCOMPARE(seq, quint16(0xabcd));
        QVERIFY(!Icmp::parseEchoReply(reply.constData(), 7, &id, &seq));
        reply[1] = 1;
        QVERIFY(!Icmp::parseEchoReply(reply.constData(), reply.size(), &id, &seq));

        // Host names are refused, so rows that hold one send nothing.
        quint32 address = 0;
        QVERIFY(IcmpSocket::parseAddress(QStringLiteral("1.2.3"), &address)); // as inet_addr
        QCOMPARE(qFromBigEndian(address), quint32(0x01020003));
        QVERIFY(!IcmpSocket::parseAddress(QStringLiteral("255.255.255.255"), &address));
        QVERIFY(!IcmpSocket::parseAddress(QStringLiteral("1.2.3.4") + QChar(0) + QLatin1Char('x'),
                                          &address));
    }

    void runsTakeOneTimeOut_data()
    {
        QTest::addColumn<QByteArray>("pingGroupRange");
        QTest::newRow("raw socket") << QByteArray("1 0"); // ping sockets for no group
        QTest::newRow("ping socket") << QByteArray("0 2147483647");
    }
    // Two overlapping runs of 150 rows, most of them silent, and an empty run: every row gets
    // its result, each as soon as it is known, and it all takes one time-out from one socket
    // per run. Nothing is sent for rows without an address.
    void runsTakeOneTimeOut()
    {
        QFETCH(QByteArray, pingGroupRange);
        QFile range(QStringLiteral("/proc/sys/net/ipv4/ping_group_range")); // this namespace's
        QVERIFY(range.open(QIODevice::WriteOnly) && range.write(pingGroupRange) > 0
                && range.flush());
        IcmpSocket socket;
        QCOMPARE(socket.open(),
                 pingGroupRange == "1 0" ? IcmpSocket::Kind::Raw : IcmpSocket::Kind::Ping);

        struct Case
        {
            QString host, text; // the text as a pattern
            qint64 byMs;
        };
        QVector<Case> cases;
        for (int i = 0; i < 20; ++i) // not held back by the silent rows
            cases.append(
                {QStringLiteral("127.0.0.%1").arg(i + 1), QStringLiteral("\\d\\d? ms"), 500});
        for (int i = 0; i < 2; ++i) // kResponderDelayMs late
            cases.append({QStringLiteral("198.18.92.%1").arg(i + 1),
                          QStringLiteral("([4-9]\\d|\\d{3}) ms"), 1100});
        for (int i = 0; i < 278; ++i)
            cases.append({QStringLiteral("198.18.%1.%2").arg(88 + i / 250).arg(1 + i % 250),
                          QStringLiteral(">1000 ms"), 1500});
        const int sent = cases.size();
        cases.append({QString(), QString(), 500});
        for (const char *host : {"1.2", "not.an.address"})
            cases.append({QLatin1String(host), QStringLiteral(">1000 ms"), 500});
        QList<Rows> runs{Rows(), Rows(), Rows()};
        for (int i = 0; i < cases.size(); ++i)
            runs[i % 2].append({quint64(i), cases.at(i).host});

        LatencyTest test;
        const int socketsBefore = openSockets();
        const qint64 echoesBefore = outEchos();
        Outcome out;
        QVERIFY(runTest(test, runs, &out));
        QCOMPARE(outEchos(), echoesBefore + sent); // one each
        QCOMPARE(out.results.size(), cases.size());
        for (int i = 0; i < cases.size(); ++i) {
            const QString text = out.results.value(quint64(i));
            const QRegularExpression pattern(QRegularExpression::anchoredPattern(cases.at(i).text));
            QVERIFY2(pattern.match(text).hasMatch() && out.arrivedMs.value(i) < cases.at(i).byMs,
                     qPrintable(QStringLiteral("%1: %2 at %3 ms")
                                    .arg(cases.at(i).host, text)
                                    .arg(out.arrivedMs.value(i))));
        }
        QVERIFY2(
            out.elapsedMs >= 990 && out.elapsedMs < 1500
                && out.maxSockets <= socketsBefore + runs.size(),
            qPrintable(QStringLiteral("%1 ms, %2 sockets").arg(out.elapsedMs).arg(out.maxSockets)));
    }

    void destroyingTheTestCancelsItsRun()
    {
        QTRY_COMPARE_WITH_TIMEOUT(QThreadPool::globalInstance()->activeThreadCount(), 0, 5000);
        QElapsedTimer clock;
        {
            LatencyTest test;
            Rows rows;
            for (int i = 0; i < 10; ++i)
                rows.append({quint64(i), QStringLiteral("198.18.91.%1").arg(i + 1)});
            test.start(rows);
            QTRY_COMPARE_WITH_TIMEOUT(QThreadPool::globalInstance()->activeThreadCount(), 1, 1000);
            clock.start();
        }
        // The worker notices within one of its short waits, well before the time-out.
        QTRY_COMPARE_WITH_TIMEOUT(QThreadPool::globalInstance()->activeThreadCount(), 0, 2000);
        QVERIFY2(clock.elapsed() < 600, qPrintable(QString::number(clock.elapsed())));
    }
};

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("QUELLNET_LATENCY_RESPONDER"))
        return respond();
    QCoreApplication app(argc, argv);
    if (!insideNamespace()) {
        const int code = runInsideNamespaces(argc, argv);
        if (code >= 0)
            return code;
    }
    TestLatency test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_latencytest.moc"
