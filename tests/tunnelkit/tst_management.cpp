#include "management.h"

#include <QtTest>

using namespace tunnelkit;

namespace {

// Feeds lines as the engine does; the kind each is taken for.
QString sortAll(ReplyTracker *tracker, const QByteArray &lines)
{
    QStringList out;
    for (const QByteArray &line : lines.split('\n')) {
        QByteArray payload;
        ManagementKind kind = classifyLine(line, &payload);
        if (kind == ManagementKind::Success || kind == ManagementKind::Error
            || kind == ManagementKind::Other)
            kind = tracker->sort(kind, line, &payload);
        out << (kind == ManagementKind::State         ? "state"
                    : kind == ManagementKind::Log     ? "log"
                    : kind == ManagementKind::Success ? "success"
                    : kind == ManagementKind::Error   ? "error"
                                                      : "other");
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

class TestManagement : public QObject
{
    Q_OBJECT

private slots:
    // Splitting into lines (LF or CRLF, across reads, overlong ones dropped and counted):
    // fuzz/management.cpp, against a plain split.
    void linesAreClassifiedByTheirPrefix()
    {
        const struct
        {
            const char *line;
            ManagementKind kind;
            const char *payload;
        } rows[] = {
            {">STATE:1,WAIT", ManagementKind::State, "1,WAIT"},
            {">BYTECOUNT:1,2", ManagementKind::ByteCount, "1,2"},
            {">LOG:1,I,x", ManagementKind::Log, "1,I,x"},
            {">FATAL:boom", ManagementKind::Fatal, "boom"},
            {">HOLD:Waiting for hold release:0", ManagementKind::Hold, nullptr},
            {">PASSWORD:Verification Failed: 'Auth'", ManagementKind::Password, nullptr},
            {">NEED-OK:Need 'token'", ManagementKind::NeedInput, nullptr},
            {">INFO:OpenVPN Management Interface", ManagementKind::Info, nullptr},
            {"SUCCESS: hold release succeeded", ManagementKind::Success, nullptr},
            {"ERROR: unknown command", ManagementKind::Error, nullptr},
            {"END", ManagementKind::Other, nullptr},
            {" >STATE:1,WAIT", ManagementKind::Other, nullptr},
        };
        for (const auto &r : rows) {
            QByteArray payload;
            QVERIFY2(classifyLine(r.line, &payload) == r.kind, r.line);
            if (r.payload)
                QCOMPARE(payload, QByteArray(r.payload));
        }
    }
    void stateLinesBecomeEvents_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("event"); // "NAME[|info]", "" when not passed on, "!" unparsed
        const char *const rows[][2] = {
            {"1796583574,CONNECTED,SUCCESS,10.8.0.6,203.0.113.5,1194,,",
             "CONNECTED|Connected: SUCCESS, 10.8.0.6"},
            // The client reads WAIT as idle; openvpn's WAIT is still connecting.
            {"1796583574,WAIT,,,,,,", "CONNECTING|Waiting for the server"},
            {"1796583574,EXITING,auth-failure,,,,,", "EXITING|Exiting: auth-failure"},
            {"1,WEIRD_NEW_STATE,some text", "WEIRD_NEW_STATE|WEIRD_NEW_STATE: some text"},
            {"1,RECONNECTING,,,", "RECONNECTING"},
            // Names the engine owns, or that are no state name at all, are never passed on.
            {"1,FAILED,x", ""},
            {"1,connected,x", ""},
            {"1,AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA,x", ""},
            {"soon,WAIT,,,", "!"},
            {"1796583574,,x", "!"},
            {"1796583574", "!"},
        };
        for (const auto &r : rows)
            QTest::newRow(r[0]) << QByteArray(r[0]) << r[1];
    }
    void stateLinesBecomeEvents()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QString, event);
        StateLine s;
        const bool parsed = parseState(payload, &s);
        const QString name = eventNameForState(s.name);
        const bool withInfo = event.contains(QLatin1Char('|'));
        QCOMPARE(!parsed        ? QStringLiteral("!")
                     : withInfo ? name + QLatin1Char('|') + stateInfo(s)
                                : name,
                 event);
    }
    // Byte counts (digits only, up to 2^64 - 1) and log lines (flags before the text unless
    // plain information): fuzz/management.cpp holds them to exact rules.
    void historyRepliesAreSortedByTheCommandTheyAnswerAndOnlyThen()
    {
        ReplyTracker t;
        t.expectHistory(ManagementKind::State); // state on all
        t.expectHistory(ManagementKind::Log); // log on all
        t.expectLine(); // bytecount 1
        // A notification inside a block is still one; after the last block, nothing is history.
        QCOMPARE(sortAll(&t,
                         "SUCCESS: state on\n1,CONNECTING,,,\n>BYTECOUNT:1,2\n1,WAIT,,,\nEND\n"
                         ">STATE:2,AUTH,,,\nSUCCESS: log on\n1,I,OpenVPN 2.6\nEND\n"
                         "SUCCESS: bytecount\n3,I,stray\nEND"),
                 QStringLiteral("success state other state other state success log other success "
                                "other other"));
        t.expectHistory(ManagementKind::State);
        t.expectHistory(ManagementKind::Log);
        // The state command failed: no block follows; the log command's block is next.
        QCOMPARE(sortAll(&t, "ERROR: failed\n1,WAIT,,,\nSUCCESS: log on\n1,I,text\nEND\n1,I,after"),
                 QStringLiteral("error other success log other other"));
        // A success nobody waits for opens nothing.
        QCOMPARE(sortAll(&t, "SUCCESS: x\n1,WAIT,,,"), QStringLiteral("success other"));
        // reset() forgets a block left open by a session that ended.
        t.expectHistory(ManagementKind::State);
        QCOMPARE(sortAll(&t, "SUCCESS: on\n1,WAIT,,,"), QStringLiteral("success state"));
        t.reset();
        QCOMPARE(sortAll(&t, "1,AUTH,,,"), QStringLiteral("other"));
    }
    void throughputIsTheDeltaInMegabytesPerInterval()
    {
        const quint64 mb = 1048576;
        const quint64 big = quint64(1) << 62; // large counters lose no precision in the difference
        const struct
        {
            double fresh; // a new meter with this interval (seconds) first
            quint64 in, out;
            const char *rate; // empty: no report, the sample is the new base
        } samples[] = {
            {1, 10000, 5000, ""},
            {0, 10000 + 3 * mb, 5000 + mb / 2, "3 0.5"},
            {0, mb, 6 * mb, ""}, // counters went backwards
            {0, 2 * mb, 7 * mb, "1 1"},
            {2, 0, 0, ""},
            {0, 4 * mb, mb, "2 0.5"},
            {1, big, big, ""},
            {0, big + mb, big + 2 * mb, "1 2"},
        };
        std::unique_ptr<ThroughputMeter> meter;
        float in = -1;
        float out = -1;
        for (const auto &s : samples) {
            if (s.fresh > 0)
                meter = std::make_unique<ThroughputMeter>(s.fresh);
            const bool reported = meter->sample(s.in, s.out, &in, &out);
            QCOMPARE(reported ? QStringLiteral("%1 %2").arg(in).arg(out) : QString(),
                     QLatin1String(s.rate));
        }
        meter->reset();
        QVERIFY(!meter->sample(1, 1, &in, &out));
    }
};

QTEST_GUILESS_MAIN(TestManagement)
#include "tst_management.moc"
