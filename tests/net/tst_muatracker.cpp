// Analytics hits as the real backend's collector captures them; a collector that is gone or
// silent costs the caller nothing.

#include "logcapture.h"
#include "mconfig.h"
#include "mdeploy.h"
#include "mnetwork.h"
#include "muatracker.h"
#include "testbackend.h"

#include <QCryptographicHash>
#include <QTcpServer>
#include <QtTest>

class TestMUATracker : public QObject
{
    Q_OBJECT

    // The parameters of each captured hit, oldest first.
    QList<QVariantMap> captured()
    {
        m_hits.clear();
        for (const QJsonValue &hit : m_backend.hits()) {
            m_hits.append(QVariantMap());
            for (const QJsonValue &p : hit["params"].toArray())
                m_hits.last().insert(p["name"].toString(), p["value"].toString());
        }
        return m_hits;
    }
    static MUATracker::Settings settings(const QString &url) { return {url, "UA-12-3", "user 1"}; }

    TestBackend m_backend;
    QList<QVariantMap> m_hits;

private slots:
    void initTestCase()
    {
        QVERIFY(m_backend.start());
        MNetwork::globalInit();
    }
    void cleanupTestCase() { MNetwork::globalClean(); }
    void init() { QVERIFY(m_backend.resetRequests()); }

    // args: title and path, or category, action, label and value; "key" alone: absent.
    void hitFields_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("event") << QStringList{"Buy", "1Year", "a & b", "0"}
                               << QStringList{"t=event", "ec=Buy", "ea=1Year", "el=a & b", "ev=0"};
        QTest::newRow("page view") << QStringList{"Quellnet", "/start/1.0/"}
                                   << QStringList{"t=pageview", "dt=Quellnet", "dp=/start/1.0/",
                                                  "qt", "dh=" + Deploy::webHost()};
        QTest::newRow("secrets, no value") << QStringList{"Login", "by a@b.c", "pw s3cret!", "-1"}
                                           << QStringList{"ea=by -", "el=pw -!", "ev"};
    }
    void hitFields()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, expected);
        MConfig::instance()->loginPassword = "s3cret";
        MUATracker tracker(settings(Deploy::collectUrl()));
        tracker.start();
        QVERIFY(args.size() == 2 ? tracker.sendPageView(args[0], args[1])
                                 : tracker.sendEvent(args[0], args[1], args[2], args[3].toInt()));
        QTRY_COMPARE_WITH_TIMEOUT(captured().size(), 1, 10000);
        const auto cid = QCryptographicHash::hash("user 1", QCryptographicHash::Md5).toHex();
        expected += QStringList{"v=1", "tid=UA-12-3", "uid=user 1", "cid=" + QString(cid)};
        for (const QString &field : expected) {
            const QString key = field.section('=', 0, 0);
            QCOMPARE(m_hits[0].contains(key), field.contains('='));
            QCOMPARE(m_hits[0].value(key).toString(), field.section('=', 1));
        }
    }

    // Refused at once, or accepted and never answered (a hit is in flight at stop()).
    void deadCollector()
    {
        for (const bool listen : {false, true}) {
            QTcpServer server;
            QVERIFY(server.listen(QHostAddress::LocalHost));
            MUATracker tracker(settings(QString("http://127.0.0.1:%1/").arg(server.serverPort())));
            if (!listen)
                server.close();
            LogCapture log;
            tracker.start();
            const QDeadlineTimer sendBound(200);
            for (int i = 0; i < 20; ++i)
                QVERIFY(tracker.sendEvent("Dead", QString::number(i), "VPN", 1));
            QVERIFY(!sendBound.hasExpired());
            if (listen)
                QVERIFY(server.waitForNewConnection(5000));
            const QDeadlineTimer stopBound(800);
            tracker.stop();
            QVERIFY(!stopBound.hasExpired());
            QVERIFY(LogCapture::contains("MGAThread Exit.") && LogCapture::contains("Stop GA."));
        }
    }

    // Last (it leaves hits in flight): a burst goes out in order, the queue keeps the newest,
    // and quiet trackers (DO_NOT_TRACK=1, no collector) started first add nothing.
    void burstInOrderQueueBounded()
    {
        LogCapture log;
        qputenv("DO_NOT_TRACK", "1");
        MUATracker doNotTrack(settings(Deploy::collectUrl()));
        qputenv("DO_NOT_TRACK", "0"); // alone it silences nothing
        MUATracker noCollector(settings(QString())), tracker(settings(Deploy::collectUrl()));
        qunsetenv("DO_NOT_TRACK");
        for (MUATracker *quiet : {&doNotTrack, &noCollector}) {
            quiet->start();
            QVERIFY(!quiet->sendEvent("Quiet", "a", "b", 1) && !quiet->sendPageView("Quiet", "/"));
        }
        for (int i = 0; i < MUATracker::kMaxQueued + 50; ++i)
            QVERIFY(tracker.sendEvent("Burst", QString::number(i), "VPN", 1));
        QCOMPARE(LogCapture::take().filter("queue full").size(), 1);
        tracker.start();
        QTRY_VERIFY_WITH_TIMEOUT(captured().size() >= 50, 30000);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(m_hits[i].value("ea").toString(), QString::number(50 + i));
    }
};

QTEST_GUILESS_MAIN(TestMUATracker)
#include "tst_muatracker.moc"
