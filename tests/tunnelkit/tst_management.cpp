#include "management.h"

#include <QtTest>

using namespace tunnelkit;

class TestManagement : public QObject
{
    Q_OBJECT

private slots:
    void linesSplitOnLfAndCrlfAcrossReads();
    void overlongLinesAreDroppedWithoutGrowingTheBuffer();
    void linesAreClassifiedByTheirPrefix();
    void stateLinesAreParsed_data();
    void stateLinesAreParsed();
    void stateNamesBecomeEventNames_data();
    void stateNamesBecomeEventNames();
    void stateInfoIsReadable();
    void byteCountsAreParsedStrictly_data();
    void byteCountsAreParsedStrictly();
    void logLinesKeepTheirTextAndFlag();
    void historyRepliesAreSortedByTheCommandTheyAnswer();
    void failedHistoryCommandAndStrayLinesDoNotOpenABlock();
    void throughputIsTheDeltaInMegabytesPerInterval();
    void throughputRestartsWhenCountersGoBackwards();
};

void TestManagement::linesSplitOnLfAndCrlfAcrossReads()
{
    LineBuffer b;
    b.append(">STATE:1,WA");
    QByteArray line;
    QVERIFY(!b.takeLine(&line));
    b.append("IT,,,\r\n>LOG:1,I,hello\n\r\n");
    QVERIFY(b.takeLine(&line));
    QCOMPARE(line, QByteArray(">STATE:1,WAIT,,,"));
    QVERIFY(b.takeLine(&line));
    QCOMPARE(line, QByteArray(">LOG:1,I,hello"));
    QVERIFY(b.takeLine(&line));
    QCOMPARE(line, QByteArray());
    QVERIFY(!b.takeLine(&line));
    b.append("partial\r");
    QCOMPARE(b.takeRest(), QByteArray("partial"));
}

void TestManagement::overlongLinesAreDroppedWithoutGrowingTheBuffer()
{
    LineBuffer b(1024);
    // One line of 105000 bytes, then one of 2000: both dropped, the short ones kept.
    for (int i = 0; i < 100; ++i)
        b.append(QByteArray(1000, 'x'));
    b.append(QByteArray(5000, 'y') + "\n>INFO:ok\n");
    b.append(QByteArray(2000, 'z') + "\nsecond\n");
    QByteArray line;
    QVERIFY(b.takeLine(&line));
    QCOMPARE(line, QByteArray(">INFO:ok"));
    QVERIFY(b.takeLine(&line));
    QCOMPARE(line, QByteArray("second"));
    QCOMPARE(b.takeDropped(), 2);
    QCOMPARE(b.takeDropped(), 0);
    QCOMPARE(b.takeRest(), QByteArray());
}

void TestManagement::linesAreClassifiedByTheirPrefix()
{
    QByteArray payload;
    QCOMPARE(classifyLine(">STATE:1,WAIT", &payload), ManagementKind::State);
    QCOMPARE(payload, QByteArray("1,WAIT"));
    QCOMPARE(classifyLine(">BYTECOUNT:1,2", &payload), ManagementKind::ByteCount);
    QCOMPARE(classifyLine(">LOG:1,I,x", &payload), ManagementKind::Log);
    QCOMPARE(classifyLine(">FATAL:boom", &payload), ManagementKind::Fatal);
    QCOMPARE(payload, QByteArray("boom"));
    QCOMPARE(classifyLine(">HOLD:Waiting for hold release:0", &payload), ManagementKind::Hold);
    QCOMPARE(classifyLine(">PASSWORD:Verification Failed: 'Auth'", &payload),
             ManagementKind::Password);
    QCOMPARE(classifyLine(">NEED-OK:Need 'token'", &payload), ManagementKind::NeedInput);
    QCOMPARE(classifyLine(">NEED-STR:Need 'name'", &payload), ManagementKind::NeedInput);
    QCOMPARE(classifyLine(">INFO:OpenVPN Management Interface", &payload), ManagementKind::Info);
    QCOMPARE(classifyLine("SUCCESS: hold release succeeded", &payload), ManagementKind::Success);
    QCOMPARE(classifyLine("ERROR: unknown command", &payload), ManagementKind::Error);
    QCOMPARE(classifyLine("END", &payload), ManagementKind::Other);
    QCOMPARE(classifyLine(" >STATE:1,WAIT", &payload), ManagementKind::Other);
}

void TestManagement::stateLinesAreParsed_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("local");

    QTest::newRow("connected") << QByteArray("1796583574,CONNECTED,SUCCESS,10.8.0.6,203.0.113.5,"
                                             "1194,,")
                               << true << "CONNECTED"
                               << "SUCCESS"
                               << "10.8.0.6";
    QTest::newRow("wait") << QByteArray("1796583574,WAIT,,,,,,") << true << "WAIT"
                          << ""
                          << "";
    QTest::newRow("exiting") << QByteArray("1796583574,EXITING,auth-failure,,,,,") << true
                             << "EXITING"
                             << "auth-failure"
                             << "";
    QTest::newRow("two fields") << QByteArray("1,AUTH") << true << "AUTH"
                                << ""
                                << "";
    QTest::newRow("bad time") << QByteArray("soon,WAIT,,,") << false << ""
                              << ""
                              << "";
    QTest::newRow("no name") << QByteArray("1796583574,,x") << false << ""
                             << ""
                             << "";
    QTest::newRow("one field") << QByteArray("1796583574") << false << ""
                               << ""
                               << "";
    QTest::newRow("empty") << QByteArray() << false << ""
                           << ""
                           << "";
}

void TestManagement::stateLinesAreParsed()
{
    QFETCH(QByteArray, payload);
    QFETCH(bool, ok);
    StateLine s;
    QCOMPARE(parseState(payload, &s), ok);
    if (!ok)
        return;
    QTEST(s.name, "name");
    QTEST(s.reason, "reason");
    QTEST(s.localAddress, "local");
}

void TestManagement::stateNamesBecomeEventNames_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("event");

    for (const char *same : {"RESOLVE", "AUTH", "GET_CONFIG", "ASSIGN_IP", "ADD_ROUTES",
                             "CONNECTING", "TCP_CONNECT", "RECONNECTING", "CONNECTED", "EXITING"})
        QTest::newRow(same) << same << same;
    // The client reads WAIT as idle; openvpn's WAIT is still connecting.
    QTest::newRow("WAIT") << "WAIT"
                          << "CONNECTING";
    QTest::newRow("unknown passes") << "AUTH_PENDING"
                                    << "AUTH_PENDING";
    QTest::newRow("engine's FAILED") << "FAILED"
                                     << "";
    QTest::newRow("engine's DISCONNECTED") << "DISCONNECTED"
                                           << "";
    QTest::newRow("engine's INSTALL") << "INSTALL"
                                      << "";
    QTest::newRow("lower case") << "connected"
                                << "";
    QTest::newRow("space") << "BAD NAME"
                           << "";
    QTest::newRow("too long") << QString(33, QLatin1Char('A')) << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestManagement::stateNamesBecomeEventNames()
{
    QFETCH(QString, state);
    QTEST(eventNameForState(state), "event");
}

void TestManagement::stateInfoIsReadable()
{
    StateLine s;
    s.name = QStringLiteral("EXITING");
    s.reason = QStringLiteral("auth-failure");
    QCOMPARE(stateInfo(s), QStringLiteral("Exiting: auth-failure"));
    s = StateLine();
    s.name = QStringLiteral("WAIT");
    QCOMPARE(stateInfo(s), QStringLiteral("Waiting for the server"));
    s.name = QStringLiteral("CONNECTED");
    s.reason = QStringLiteral("SUCCESS");
    s.localAddress = QStringLiteral("10.8.0.6");
    QCOMPARE(stateInfo(s), QStringLiteral("Connected: SUCCESS, 10.8.0.6"));
    s = StateLine();
    s.name = QStringLiteral("WEIRD_NEW_STATE");
    s.reason = QStringLiteral("some text");
    QCOMPARE(stateInfo(s), QStringLiteral("WEIRD_NEW_STATE: some text"));
}

void TestManagement::byteCountsAreParsedStrictly_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint64>("in");
    QTest::addColumn<quint64>("out");

    QTest::newRow("plain") << QByteArray("3145728,1048576") << true << quint64(3145728)
                           << quint64(1048576);
    QTest::newRow("large") << QByteArray("18446744073709551615,0") << true
                           << quint64(18446744073709551615ULL) << quint64(0);
    QTest::newRow("overflow") << QByteArray("18446744073709551616,0") << false << quint64(0)
                              << quint64(0);
    QTest::newRow("negative") << QByteArray("12,-5") << false << quint64(0) << quint64(0);
    QTest::newRow("three fields") << QByteArray("1,2,3") << false << quint64(0) << quint64(0);
    QTest::newRow("space") << QByteArray("1, 2") << false << quint64(0) << quint64(0);
    QTest::newRow("empty field") << QByteArray("1,") << false << quint64(0) << quint64(0);
    QTest::newRow("hex") << QByteArray("0x10,1") << false << quint64(0) << quint64(0);
}

void TestManagement::byteCountsAreParsedStrictly()
{
    QFETCH(QByteArray, payload);
    QFETCH(bool, ok);
    quint64 in = 7;
    quint64 out = 7;
    QCOMPARE(parseByteCount(payload, &in, &out), ok);
    if (ok) {
        QTEST(in, "in");
        QTEST(out, "out");
    } else {
        QCOMPARE(in, quint64(7));
    }
}

void TestManagement::logLinesKeepTheirTextAndFlag()
{
    QString text;
    QVERIFY(parseLog("1796583574,I,UDPv4 link remote: [AF_INET]127.0.0.1:1194", &text));
    QCOMPARE(text, QStringLiteral("UDPv4 link remote: [AF_INET]127.0.0.1:1194"));
    QVERIFY(parseLog("1796583574,W,WARNING: a, b, c", &text));
    QCOMPARE(text, QStringLiteral("W: WARNING: a, b, c"));
    QVERIFY(parseLog("1796583574,,bare", &text));
    QCOMPARE(text, QStringLiteral("bare"));
    QVERIFY(!parseLog("no commas", &text));
    QVERIFY(!parseLog("1796583574,I", &text));
}

namespace {

// Feeds lines as the engine does; returns "KIND:payload" for each line.
QStringList sortAll(ReplyTracker *tracker, const QList<QByteArray> &lines)
{
    QStringList out;
    for (const QByteArray &line : lines) {
        QByteArray payload;
        ManagementKind kind = classifyLine(line, &payload);
        if (kind == ManagementKind::Success || kind == ManagementKind::Error
            || kind == ManagementKind::Other)
            kind = tracker->sort(kind, line, &payload);
        const char *name = "other";
        switch (kind) {
        case ManagementKind::State:
            name = "state";
            break;
        case ManagementKind::Log:
            name = "log";
            break;
        case ManagementKind::Success:
            name = "success";
            break;
        case ManagementKind::Error:
            name = "error";
            break;
        default:
            break;
        }
        out << QString::fromLatin1(name) + QLatin1Char(':') + QString::fromUtf8(payload);
    }
    return out;
}

} // namespace

void TestManagement::historyRepliesAreSortedByTheCommandTheyAnswer()
{
    ReplyTracker t;
    t.expectHistory(ManagementKind::State); // state on all
    t.expectHistory(ManagementKind::Log); // log on all
    t.expectLine(); // bytecount 1
    const QStringList sorted
        = sortAll(&t,
                  {
                      "SUCCESS: real-time state notification set to ON",
                      "1796590112,CONNECTING,,,,,,",
                      // A notification in between is still a notification.
                      ">BYTECOUNT:1,2",
                      "1796590112,WAIT,,,,,,",
                      "END",
                      ">STATE:1796590113,AUTH,,,,,,",
                      "SUCCESS: real-time log notification set to ON",
                      "1796590112,I,OpenVPN 2.6.14",
                      "1796590112,D,MANAGEMENT: CMD 'state on all'",
                      "END",
                      "SUCCESS: bytecount interval changed",
                      // Nothing asked for more: later plain lines are not history.
                      "1796590114,I,stray",
                      "END",
                  });
    QCOMPARE(sorted,
             (QStringList{
                 "success: real-time state notification set to ON",
                 "state:1796590112,CONNECTING,,,,,,",
                 "other:1,2",
                 "state:1796590112,WAIT,,,,,,",
                 "other:END",
                 "state:1796590113,AUTH,,,,,,",
                 "success: real-time log notification set to ON",
                 "log:1796590112,I,OpenVPN 2.6.14",
                 "log:1796590112,D,MANAGEMENT: CMD 'state on all'",
                 "other:END",
                 "success: bytecount interval changed",
                 "other:1796590114,I,stray",
                 "other:END",
             }));
}

void TestManagement::failedHistoryCommandAndStrayLinesDoNotOpenABlock()
{
    ReplyTracker t;
    t.expectHistory(ManagementKind::State);
    t.expectHistory(ManagementKind::Log);
    // The state command failed: no block follows; the log command's block is next.
    QCOMPARE(sortAll(&t,
                     {"ERROR: state command failed", "1,WAIT,,,", "SUCCESS: log on", "1,I,text",
                      "END", "1,I,after"}),
             (QStringList{"error: state command failed", "other:1,WAIT,,,", "success: log on",
                          "log:1,I,text", "other:END", "other:1,I,after"}));
    // A success nobody waits for opens nothing.
    QCOMPARE(sortAll(&t, {"SUCCESS: x", "1,WAIT,,,"}),
             (QStringList{"success: x", "other:1,WAIT,,,"}));
    // reset() forgets a block left open by a session that ended.
    t.expectHistory(ManagementKind::State);
    QCOMPARE(sortAll(&t, {"SUCCESS: on", "1,WAIT,,,"}),
             (QStringList{"success: on", "state:1,WAIT,,,"}));
    t.reset();
    QCOMPARE(sortAll(&t, {"1,AUTH,,,"}), QStringList{"other:1,AUTH,,,"});
}

void TestManagement::throughputIsTheDeltaInMegabytesPerInterval()
{
    ThroughputMeter m;
    float in = -1;
    float out = -1;
    QVERIFY(!m.sample(10000, 5000, &in, &out));
    QCOMPARE(in, -1.0f);
    QVERIFY(m.sample(10000 + 3 * 1048576, 5000 + 1048576 / 2, &in, &out));
    QCOMPARE(in, 3.0f);
    QCOMPARE(out, 0.5f);
    QVERIFY(m.sample(10000 + 3 * 1048576, 5000 + 1048576 / 2, &in, &out));
    QCOMPARE(in, 0.0f);
    QCOMPARE(out, 0.0f);

    ThroughputMeter slow(2.0);
    QVERIFY(!slow.sample(0, 0, &in, &out));
    QVERIFY(slow.sample(4 * 1048576, 1048576, &in, &out));
    QCOMPARE(in, 2.0f);
    QCOMPARE(out, 0.5f);

    // Large counters lose no precision in the difference.
    ThroughputMeter big;
    const quint64 base = quint64(1) << 62;
    QVERIFY(!big.sample(base, base, &in, &out));
    QVERIFY(big.sample(base + 1048576, base + 2 * 1048576, &in, &out));
    QCOMPARE(in, 1.0f);
    QCOMPARE(out, 2.0f);

    m.reset();
    QVERIFY(!m.sample(1, 1, &in, &out));
}

void TestManagement::throughputRestartsWhenCountersGoBackwards()
{
    ThroughputMeter m;
    float in = -1;
    float out = -1;
    QVERIFY(!m.sample(5 * 1048576, 5 * 1048576, &in, &out));
    QVERIFY(!m.sample(1048576, 6 * 1048576, &in, &out));
    QCOMPARE(in, -1.0f);
    QVERIFY(m.sample(2 * 1048576, 7 * 1048576, &in, &out));
    QCOMPARE(in, 1.0f);
    QCOMPARE(out, 1.0f);
}

QTEST_GUILESS_MAIN(TestManagement)
#include "tst_management.moc"
