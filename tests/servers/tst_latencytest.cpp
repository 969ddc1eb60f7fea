// The latency test with real ICMP. As root, the test first builds two network namespaces and
// runs itself again inside the first one ("pinger"):
//
//   pinger: lo up (127.0.0.0/8 answers)          quiet: icmp_echo_ignore_all=1
//           qnl0 198.18.90.1/30 ───── veth ───── qnl1 198.18.90.2/30
//           198.18.91.0/24, 198.18.92.0/24          both ranges local (on lo)
//             via 198.18.90.2
//
// 198.18.91.x never answers; 198.18.92.x is answered 40 ms late by a responder of this test
// whose raw socket lives in "quiet". Nothing is changed in the machine's own namespace, and the
// namespaces are removed when the inner run ends, however it ends. Without root or namespace
// support the tests that need them are skipped.

#include "icmpsocket.h"
#include "latencytest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QThreadPool>
#include <QtEndian>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

const char kInsideVariable[] = "QUELLNET_LATENCY_NETNS";
const char kQuietVariable[] = "QUELLNET_LATENCY_QUIET_NS";
constexpr int kResponderDelayMs = 40;

bool insideNamespace()
{
    return qEnvironmentVariableIsSet(kInsideVariable);
}

int run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return -1;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
        return -1;
    }
    if (output)
        *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The pinger and quiet namespaces of one test process.
class Namespaces
{
public:
    explicit Namespaces(qint64 pid)
        : m_pinger(QStringLiteral("qnlat%1p").arg(pid))
        , m_quiet(QStringLiteral("qnlat%1q").arg(pid))
    { }
    ~Namespaces() { remove(); }

    QString pinger() const { return m_pinger; }
    QString quiet() const { return m_quiet; }

    // Namespaces left behind by test processes that were killed.
    static void removeStale()
    {
        QByteArray list;
        if (run(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("list")}, &list)
            != 0)
            return;
        const QRegularExpression name(QStringLiteral("^(qnlat(\\d+)[pq])\\b"));
        for (const QByteArray &line : list.split('\n')) {
            const QRegularExpressionMatch match = name.match(QString::fromLatin1(line));
            if (!match.hasMatch())
                continue;
            const pid_t pid = pid_t(match.captured(2).toLongLong());
            if (::kill(pid, 0) != 0 && errno == ESRCH)
                run(QStringLiteral("ip"),
                    {QStringLiteral("netns"), QStringLiteral("delete"), match.captured(1)});
        }
    }

    bool create()
    {
        const QString p = m_pinger;
        const QString q = m_quiet;
        const QList<QStringList> steps = {
            {"netns", "add", p},
            {"netns", "add", q},
            {"-n", p, "link", "set", "lo", "up"},
            {"-n", q, "link", "set", "lo", "up"},
            // Made inside the pinger namespace, its peer moved straight into the quiet one.
            {"-n", p, "link", "add", "qnl0", "type", "veth", "peer", "name", "qnl1", "netns", q},
            {"-n", p, "addr", "add", "198.18.90.1/30", "dev", "qnl0"},
            {"-n", q, "addr", "add", "198.18.90.2/30", "dev", "qnl1"},
            {"-n", p, "link", "set", "qnl0", "up"},
            {"-n", q, "link", "set", "qnl1", "up"},
            {"-n", p, "route", "add", "198.18.91.0/24", "via", "198.18.90.2"},
            {"-n", p, "route", "add", "198.18.92.0/24", "via", "198.18.90.2"},
            {"-n", q, "route", "add", "local", "198.18.91.0/24", "dev", "lo"},
            {"-n", q, "route", "add", "local", "198.18.92.0/24", "dev", "lo"},
            {"netns", "exec", q, "sysctl", "-qw", "net.ipv4.icmp_echo_ignore_all=1"},
        };
        m_created = true;
        for (const QStringList &step : steps) {
            QByteArray output;
            if (run(QStringLiteral("ip"), step, &output) != 0) {
                qWarning("ip %s: %s", qPrintable(step.join(QLatin1Char(' '))), output.constData());
                return false;
            }
        }
        return true;
    }

    void remove()
    {
        if (!m_created)
            return;
        m_created = false;
        for (const QString &name : {m_pinger, m_quiet})
            run(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("delete"), name});
    }

private:
    QString m_pinger;
    QString m_quiet;
    bool m_created = false;
};

// Runs this test program again inside the pinger namespace; its exit code, or -1 when the
// namespaces cannot be had here (the tests then run in place and skip).
int runInsideNamespaces(int argc, char **argv)
{
    if (::geteuid() != 0 || run(QStringLiteral("ip"), {QStringLiteral("-V")}) != 0)
        return -1;
    Namespaces::removeStale();
    Namespaces namespaces(QCoreApplication::applicationPid());
    if (!namespaces.create())
        return -1;
    QStringList arguments{QStringLiteral("netns"), QStringLiteral("exec"), namespaces.pinger(),
                          QCoreApplication::applicationFilePath()};
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QProcess inner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kInsideVariable), QStringLiteral("1"));
    environment.insert(QLatin1String(kQuietVariable), namespaces.quiet());
    inner.setProcessEnvironment(environment);
    inner.setProcessChannelMode(QProcess::ForwardedChannels);
    inner.start(QStringLiteral("ip"), arguments);
    if (!inner.waitForStarted(10000))
        return 1;
    inner.waitForFinished(-1); // CTest's time-out bounds the whole test
    const int code = inner.exitStatus() == QProcess::NormalExit ? inner.exitCode() : 1;
    namespaces.remove();
    return code;
}

// Echo requests counted by this namespace's kernel.
qint64 outEchos()
{
    QFile snmp(QStringLiteral("/proc/net/snmp"));
    if (!snmp.open(QIODevice::ReadOnly))
        return -1;
    QList<QByteArray> names;
    for (const QByteArray &line : snmp.readAll().split('\n')) {
        if (!line.startsWith("Icmp:"))
            continue;
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (names.isEmpty()) {
            names = fields;
            continue;
        }
        const int column = names.indexOf("OutEchos");
        return column > 0 && column < fields.size() ? fields.at(column).toLongLong() : -1;
    }
    return -1;
}

bool writeSysctl(const QString &path, const QByteArray &value)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(value) == value.size();
}

// Answers echo requests to 198.18.92.0/24 kResponderDelayMs late, from a raw socket that
// lives in the quiet namespace (whose kernel answers nothing).
class SlowResponder
{
public:
    ~SlowResponder() { stop(); }

    bool start(const QString &namespaceName)
    {
        std::atomic<int> opened{-2};
        const QByteArray path = "/run/netns/" + namespaceName.toLatin1();
        // Only this helper thread enters the namespace; the socket stays there.
        std::thread opener([&] {
            const int ns = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
            int fd = -1;
            if (ns >= 0 && ::setns(ns, CLONE_NEWNET) == 0)
                fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
            if (ns >= 0)
                ::close(ns);
            opened = fd;
        });
        opener.join();
        m_fd = opened;
        if (m_fd < 0)
            return false;
        const int on = 1;
        ::setsockopt(m_fd, IPPROTO_IP, IP_HDRINCL, &on, sizeof(on));
        m_running = true;
        m_thread = std::thread([this] { serve(); });
        return true;
    }

    void stop()
    {
        m_running = false;
        if (m_thread.joinable())
            m_thread.join();
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    void serve()
    {
        char packet[1500];
        while (m_running) {
            pollfd pfd{m_fd, POLLIN, 0};
            if (::poll(&pfd, 1, 50) <= 0)
                continue;
            const ssize_t got = ::recv(m_fd, packet, sizeof(packet), 0);
            if (got < 28)
                continue;
            const int header = (uchar(packet[0]) & 0x0f) * 4;
            const quint32 destination = qFromBigEndian<quint32>(packet + 16);
            if (header < 20 || got < header + 8 || uchar(packet[header]) != 8
                || (destination >> 8) != ((198u << 16) | (18u << 8) | 92u))
                continue;
            std::this_thread::sleep_for(std::chrono::milliseconds(kResponderDelayMs));
            // The same packet turned round: addresses swapped, type 0, checksum anew.
            char source[4];
            memcpy(source, packet + 12, 4);
            memcpy(packet + 12, packet + 16, 4);
            memcpy(packet + 16, source, 4);
            packet[header] = 0;
            packet[header + 2] = packet[header + 3] = 0;
            qToBigEndian(Icmp::checksum(packet + header, int(got) - header), packet + header + 2);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            memcpy(&to.sin_addr, source, 4);
            ::sendto(m_fd, packet, size_t(got), 0, reinterpret_cast<sockaddr *>(&to), sizeof(to));
        }
    }

    int m_fd = -1;
    std::atomic<bool> m_running{false};
    std::thread m_thread;
};

using Rows = QList<LatencyTest::Row>;

// Runs one test and collects its results by key; false when it did not finish in time.
bool runTest(LatencyTest &test, const Rows &rows, QHash<quint64, QString> *results,
             qint64 *elapsedMs = nullptr, int timeoutMs = 10000)
{
    QSignalSpy speed(&test, &LatencyTest::signalSpeed);
    QSignalSpy finished(&test, &LatencyTest::signalTestSpeedFinised);
    QElapsedTimer clock;
    clock.start();
    test.start(rows);
    if (!finished.wait(timeoutMs))
        return false;
    if (elapsedMs)
        *elapsedMs = clock.elapsed();
    results->clear();
    for (const QList<QVariant> &signal : qAsConst(speed)) {
        const quint64 key = signal.at(0).toULongLong();
        if (results->contains(key))
            return false; // one result per row
        results->insert(key, signal.at(1).toString());
    }
    return finished.count() == 1;
}

} // namespace

class TestLatency : public QObject
{
    Q_OBJECT

private:
    void requireNamespace()
    {
        if (!insideNamespace())
            QSKIP("needs root and network namespaces (ip netns)");
    }

    const QRegularExpression m_msText{QStringLiteral("^(\\d+) ms$")};

private slots:
    void initTestCase()
    {
        if (!insideNamespace())
            return;
        QCOMPARE(outEchos() >= 0, true);
        QVERIFY(m_responder.start(qEnvironmentVariable(kQuietVariable)));
    }

    void cleanupTestCase() { m_responder.stop(); }

    // ---- no network needed ----

    void echoRequestCarriesTheFixedDataAndAValidChecksum()
    {
        const QByteArray data = Icmp::echoData();
        QCOMPARE(data.size(), 32);
        QCOMPARE(data.left(10), QByteArray("Quell Test"));
        QCOMPARE(data.mid(10), QByteArray(22, '\0'));

        const QByteArray message = Icmp::echoRequest(0x1234, 0xabcd, data);
        QCOMPARE(message.size(), 40);
        QCOMPARE(quint8(message[0]), quint8(8));
        QCOMPARE(quint8(message[1]), quint8(0));
        QCOMPARE(qFromBigEndian<quint16>(message.constData() + 4), quint16(0x1234));
        QCOMPARE(qFromBigEndian<quint16>(message.constData() + 6), quint16(0xabcd));
        // A message with its checksum in place sums to zero.
        QCOMPARE(Icmp::checksum(message.constData(), message.size()), quint16(0));
        // RFC 1071's example: 00 01 f2 03 f4 f5 f6 f7 sums to 0xddf2.
        const char rfc[]
            = {0x00, 0x01, char(0xf2), 0x03, char(0xf4), char(0xf5), char(0xf6), char(0xf7)};
        QCOMPARE(Icmp::checksum(rfc, 8), quint16(~0xddf2));
        // Odd length: the last byte is padded with zero.
        const char odd[] = {0x01, 0x02, 0x03};
        QCOMPARE(Icmp::checksum(odd, 3), quint16(~0x0402));
    }

    void onlyWholeEchoRepliesAreRead()
    {
        QByteArray reply = Icmp::echoRequest(7, 9, Icmp::echoData());
        quint16 id = 0, seq = 0;
        QVERIFY(!Icmp::parseEchoReply(reply.constData(), reply.size(), &id, &seq));
        reply[0] = 0;
        QVERIFY(Icmp::parseEchoReply(reply.constData(), reply.size(), &id, &seq));
        QCOMPARE(id, quint16(7));
        QCOMPARE(seq, quint16(9));
        QVERIFY(!Icmp::parseEchoReply(reply.constData(), 7, &id, &seq));
        reply[1] = 1;
        QVERIFY(!Icmp::parseEchoReply(reply.constData(), reply.size(), &id, &seq));
    }

    void addressesAreReadLikeInetAddr()
    {
        quint32 address = 0;
        QVERIFY(IcmpSocket::parseAddress(QStringLiteral("127.0.0.1"), &address));
        QCOMPARE(qFromBigEndian(address), quint32(0x7f000001));
        QVERIFY(IcmpSocket::parseAddress(QStringLiteral("1.2.3"), &address));
        QCOMPARE(qFromBigEndian(address), quint32(0x01020003));
        QVERIFY(!IcmpSocket::parseAddress(QStringLiteral("vpn.example"), &address));
        QVERIFY(!IcmpSocket::parseAddress(QStringLiteral("255.255.255.255"), &address));
        QVERIFY(!IcmpSocket::parseAddress(
            QStringLiteral("1.2.3.4") + QChar(0) + QStringLiteral("x"), &address));
    }

    void speedTextsAreAsShown()
    {
        QCOMPARE(LatencyTest::speedText(0), QStringLiteral("0 ms"));
        QCOMPARE(LatencyTest::speedText(23), QStringLiteral("23 ms"));
        QCOMPARE(LatencyTest::speedText(-1), QStringLiteral(">1000 ms"));
        QCOMPARE(LatencyTest::speedText(-100), QStringLiteral(">1000 ms"));
        QCOMPARE(LatencyTest::rowText(QString()), QString());
    }

    void emptyRunStillFinishes()
    {
        LatencyTest test;
        QHash<quint64, QString> results;
        qint64 elapsed = 0;
        QVERIFY(runTest(test, Rows(), &results, &elapsed));
        QVERIFY(results.isEmpty());
        QCOMPARE(test.runningTests(), 0);
    }

    // ---- real echoes, inside the namespaces ----

    void reachableHostShowsItsTime()
    {
        requireNamespace();
        LatencyTest test;
        QHash<quint64, QString> results;
        qint64 elapsed = 0;
        QVERIFY(runTest(test, {{42, QStringLiteral("127.0.0.1")}}, &results, &elapsed));
        const QRegularExpressionMatch match = m_msText.match(results.value(42));
        QVERIFY2(match.hasMatch(), qPrintable(results.value(42)));
        QVERIFY(match.captured(1).toInt() < 100);
        QVERIFY2(elapsed < 900, "a reply must not wait for the time-out");
    }

    void lateReplyShowsItsRoundTrip()
    {
        requireNamespace();
        LatencyTest test;
        QHash<quint64, QString> results;
        QVERIFY(runTest(test, {{1, QStringLiteral("198.18.92.3")}}, &results));
        const QRegularExpressionMatch match = m_msText.match(results.value(1));
        QVERIFY2(match.hasMatch(), qPrintable(results.value(1)));
        QVERIFY(match.captured(1).toInt() >= kResponderDelayMs);
        QVERIFY(match.captured(1).toInt() < 1000);
    }

    void silentHostShowsOverOneSecondAfterTheTimeOut()
    {
        requireNamespace();
        LatencyTest test;
        QHash<quint64, QString> results;
        qint64 elapsed = 0;
        QVERIFY(runTest(test, {{5, QStringLiteral("198.18.91.7")}}, &results, &elapsed));
        QCOMPARE(results.value(5), QStringLiteral(">1000 ms"));
        QVERIFY2(elapsed >= 990, qPrintable(QString::number(elapsed)));
        QVERIFY2(elapsed < 1800, qPrintable(QString::number(elapsed)));
    }

    void emptyAndShortAddressesSendNothing()
    {
        requireNamespace();
        const qint64 before = outEchos();
        LatencyTest test;
        QHash<quint64, QString> results;
        qint64 elapsed = 0;
        QVERIFY(runTest(
            test,
            {{1, QString()}, {2, QStringLiteral("1.2")}, {3, QStringLiteral("not.an.address")}},
            &results, &elapsed));
        QCOMPARE(results.value(1), QString());
        QVERIFY(results.contains(1));
        QCOMPARE(results.value(2), QStringLiteral(">1000 ms"));
        QCOMPARE(results.value(3), QStringLiteral(">1000 ms"));
        QCOMPARE(outEchos(), before);
        QVERIFY(elapsed < 500);
        QCOMPARE(pingHost(QStringLiteral("1.2")), qint64(-1));
        QCOMPARE(outEchos(), before);

        // The counter does see a real echo.
        QVERIFY(pingHost(QStringLiteral("127.0.0.1")) >= 0);
        QCOMPARE(outEchos(), before + 1);
    }

    void pingHostGivesTimeOrNoReply()
    {
        requireNamespace();
        QVERIFY(pingHost(QStringLiteral("127.0.0.1")) >= 0);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(pingHost(QStringLiteral("198.18.91.9")), qint64(-100));
        QVERIFY(clock.elapsed() >= 990);
    }

    void hundredRowsWithFiftySilentFinishInUnderTwoSeconds()
    {
        requireNamespace();
        Rows rows;
        for (int i = 0; i < 50; ++i) {
            rows.append({quint64(1000 + i), QStringLiteral("127.0.0.%1").arg(i + 1)});
            rows.append({quint64(2000 + i), QStringLiteral("198.18.91.%1").arg(i + 1)});
        }
        LatencyTest test;
        QHash<quint64, QString> results;
        qint64 elapsed = 0;
        QVERIFY(runTest(test, rows, &results, &elapsed));
        QCOMPARE(results.size(), 100);
        for (int i = 0; i < 50; ++i) {
            QVERIFY2(m_msText.match(results.value(quint64(1000 + i))).hasMatch(),
                     qPrintable(results.value(quint64(1000 + i))));
            QCOMPARE(results.value(quint64(2000 + i)), QStringLiteral(">1000 ms"));
        }
        QVERIFY2(elapsed < 2000, qPrintable(QString::number(elapsed)));
    }

    void moreRowsThanEchoesInFlightAllGetAnswers()
    {
        requireNamespace();
        Rows rows;
        for (int i = 0; i < 3 * kMaxInFlight; ++i)
            rows.append({quint64(i), QStringLiteral("127.0.%1.%2").arg(i / 200).arg(i % 200 + 1)});
        LatencyTest test;
        QHash<quint64, QString> results;
        QVERIFY(runTest(test, rows, &results));
        QCOMPARE(results.size(), rows.size());
        for (const QString &text : qAsConst(results))
            QVERIFY2(m_msText.match(text).hasMatch(), qPrintable(text));
    }

    void overlappingRunsEachFinish()
    {
        requireNamespace();
        LatencyTest test;
        QSignalSpy speed(&test, &LatencyTest::signalSpeed);
        QSignalSpy finished(&test, &LatencyTest::signalTestSpeedFinised);
        test.start({{1, QStringLiteral("127.0.0.1")}, {2, QStringLiteral("198.18.91.1")}});
        test.start({{3, QStringLiteral("127.0.0.2")}, {4, QStringLiteral("198.18.92.1")}});
        QCOMPARE(test.runningTests(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 5000);
        QCOMPARE(speed.count(), 4);
        QHash<quint64, QString> results;
        for (const QList<QVariant> &signal : qAsConst(speed))
            results.insert(signal.at(0).toULongLong(), signal.at(1).toString());
        QVERIFY(m_msText.match(results.value(1)).hasMatch());
        QCOMPARE(results.value(2), QStringLiteral(">1000 ms"));
        QVERIFY(m_msText.match(results.value(3)).hasMatch());
        QVERIFY(m_msText.match(results.value(4)).hasMatch());
    }

    void destroyingTheTestCancelsItsRun()
    {
        requireNamespace();
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

    void socketKindFollowsThePingGroupRange()
    {
        requireNamespace();
        const QString range = QStringLiteral("/proc/sys/net/ipv4/ping_group_range");
        // Ping sockets for every group, in this namespace only.
        QVERIFY(writeSysctl(range, "0 2147483647"));
        {
            IcmpSocket socket;
            QCOMPARE(socket.open(), IcmpSocket::Kind::Ping);
            QVERIFY(pingHost(QStringLiteral("127.0.0.1")) >= 0);
            QCOMPARE(pingHost(QStringLiteral("198.18.91.3")), qint64(-100));
            QVERIFY(pingHost(QStringLiteral("198.18.92.3")) >= kResponderDelayMs);
        }
        // For no group: the raw socket that root may open.
        QVERIFY(writeSysctl(range, "1 0"));
        IcmpSocket socket;
        QCOMPARE(socket.open(), IcmpSocket::Kind::Raw);
        QVERIFY(pingHost(QStringLiteral("127.0.0.1")) >= 0);
        QVERIFY(pingHost(QStringLiteral("198.18.92.3")) >= kResponderDelayMs);
    }

private:
    SlowResponder m_responder;
};

int main(int argc, char **argv)
{
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
