// The country restriction against the real reference backend (its getip/ answer chosen by
// the test) and the real geo-IP database beside the binaries.

#include "backendprotocol.h"
#include "countryrestriction.h"
#include "logcapture.h"
#include "mconfig.h"
#include "mnetwork.h"
#include "resinit.h"
#include "testbackend.h"

#include <QSignalSpy>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestCountryRestriction : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    TestBackend m_backend;
    QStringList m_events;
    AppServices m_services;
    QString replyFile() const { return m_dir.filePath(QStringLiteral("getip")); }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        quellnetInitResources();
        QVERIFY(m_dir.isValid());
        QVERIFY(::mkfifo(QFile::encodeName(replyFile()).constData(), 0600) == 0);
        TestBackend::Options options;
        options.extra = QStringList{QStringLiteral("--getip-reply-file"), replyFile()};
        QVERIFY(m_backend.start(options));
        MNetwork::globalInit();
        MConfig::loadCommConfig();
        m_services.sendEvent = [this](const QString &category, const QString &action,
                                      const QString &label, int value) {
            m_events << QStringList{category, action, label, QString::number(value)}.join(' ');
        };
    }
    void cleanupTestCase() { MNetwork::globalClean(); }
    void init()
    {
        GeoState::instance().clear();
        MConfig::instance()->xyz.clear();
        QLocale::setDefault(QLocale(QLocale::English));
        m_events.clear();
    }

    // The reply waits in a pipe until the test writes it: finished() cannot come before.
    void startUpCheck_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<bool>("bypass");
        QTest::addColumn<bool>("prohibited");
        QTest::addColumn<QString>("geo"); // publicIp|country|address in GeoState afterwards
        QTest::addColumn<QString>("event");
        QTest::newRow("restricted") << "114.114.114.114" << false << false << true
                                    << "114.114.114.114|中国|中国,0,江苏省,南京市,0"
                                    << "Forhibed IP 114.114.114.114 1";
        QTest::newRow("allowed") << "8.8.8.8" << false << false << false
                                 << "8.8.8.8|美国|美国,0,0,0,Level3" << QString();
        QTest::newRow("-20 reply")
            << "-20" << false << false << false << "192.168.0.1|0|0,0,0,内网IP,内网IP" << QString();
        QTest::newRow("chinese locale") << "8.8.8.8" << true << false << true << "||"
                                        << "Forhibed LocalUI Chinese 1";
        QTest::newRow("bypass") << "114.114.114.114" << true << true << false << "||" << QString();
    }
    void startUpCheck()
    {
        QFETCH(QString, reply);
        QFETCH(bool, chinese);
        QFETCH(bool, bypass);
        QFETCH(bool, prohibited);
        QFETCH(QString, geo);
        QFETCH(QString, event);
        if (chinese)
            QLocale::setDefault(QLocale(QLocale::Chinese));
        if (bypass)
            MConfig::instance()->xyz = CountryRestriction::bypassValue();
        QVERIFY(m_backend.resetRequests());
        LogCapture log;

        CountryRestriction restriction(m_services);
        QSignalSpy finished(&restriction, &CountryRestriction::finished);
        restriction.check();
        QVERIFY(finished.isEmpty());
        QVERIFY(restriction.isRunning());
        const bool asks = geo != QLatin1String("||");
        if (asks) {
            // Bounded: the pipe has a reader only once the backend is serving getip/.
            int fd = -1;
            QVERIFY(QTest::qWaitFor(
                [&] {
                    fd = ::open(QFile::encodeName(replyFile()).constData(), O_WRONLY | O_NONBLOCK);
                    return fd >= 0;
                },
                30000));
            const QByteArray text = reply.toUtf8();
            QCOMPARE(::write(fd, text.constData(), size_t(text.size())), ssize_t(text.size()));
            ::close(fd);
        }
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.first().at(0).toBool(), prohibited);
        QCOMPARE(finished.first().at(1).toString(),
                 prohibited ? CountryRestriction::message() : QString());
        QCOMPARE(m_events, event.isEmpty() ? QStringList() : QStringList{event});
        GeoState &state = GeoState::instance();
        QCOMPARE(QStringList({state.publicIp(), state.country(), state.address()}).join('|'), geo);
        QCOMPARE(LogCapture::contains(QStringLiteral("Get Ip Failed:")),
                 reply == QLatin1String("-20") && asks);
        QCOMPARE(m_backend.requests().size(), asks ? 1 : 0);
        QVERIFY(!restriction.isRunning());
    }
};

QTEST_GUILESS_MAIN(TestCountryRestriction)
#include "tst_countryrestriction.moc"
