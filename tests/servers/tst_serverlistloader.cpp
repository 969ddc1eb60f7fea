// The server list against the real reference backend, its server folder under the test's
// control: where the list comes from, what is cached, what the window is told.

#include "encryptedfiles.h"
#include "logcapture.h"
#include "mconfig.h"
#include "mdeploy.h"
#include "mnetwork.h"
#include "resinit.h"
#include "serverlistloader.h"
#include "testbackend.h"

#include <QDate>
#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

constexpr int kWaitMs = 30000;

QString today(int offsetDays = 0)
{
    return QDate::currentDate().addDays(offsetDays).toString(QStringLiteral("yyyy-MM-dd"));
}

// "name=value" for every header of a request.
QStringList headers(const TestBackend::Request &request)
{
    QStringList out;
    for (const auto &header : request.wireHeaders)
        out << header.first + QLatin1Char('=') + header.second;
    return out;
}

QStringList names(const ServerInfoList &list)
{
    QStringList out;
    for (const ServerInfoPtr &info : list)
        out << info->name;
    return out;
}

} // namespace

class TestServerListLoader : public QObject
{
    Q_OBJECT

private:
    QString cachePath() const
    {
        return MConfig::getAppDataFolder(QString()) + QStringLiteral("server_content.fg");
    }
    QString serverDir() const { return m_dir.filePath(QStringLiteral("servers")); }
    // While it exists, the server-list host answers its bytes.
    QString hostListFile() const { return m_dir.filePath(QStringLiteral("host-list")); }

    // One server file of the backend's folder; the address goes into its "remote" line.
    QByteArray writeServer(const QString &base, const QString &address)
    {
        const QByteArray config = "# " + base.toUtf8() + " (Zürich)\nclient\ndev tun\nremote "
            + address.toLatin1() + " 1194\n";
        QFile file(serverDir() + QLatin1Char('/') + base + QStringLiteral(".ovpn"));
        return file.open(QIODevice::WriteOnly) && file.write(config) == config.size()
            ? config
            : QByteArray();
    }

    // Three servers in file-name order: Frankfurt 1, Tokyo 1, Zurich 1.
    bool writeDefaultServers()
    {
        QDir(serverDir()).removeRecursively();
        return QDir().mkpath(serverDir())
            && !writeServer(QStringLiteral("de-frankfurt-1"), "127.66.1.1").isEmpty()
            && !writeServer(QStringLiteral("jp-tokyo-1"), "127.66.1.2").isEmpty()
            && !writeServer(QStringLiteral("zz-zurich-1"), "127.66.1.3").isEmpty();
    }

    // Runs the start-up load (cacheFirst) or a refresh load and waits for its end: loaded,
    // failed (with the error signal's text, if any).
    struct Result
    {
        int loaded = 0;
        int failed = 0;
        QString error;
    };
    Result load(ServerListLoader &loader, bool cacheFirst)
    {
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
        QSignalSpy error(&loader, &ServerListLoader::signalLoadServerListError);
        if (cacheFirst)
            loader.loadServerListTask();
        else
            loader.loadServerListFromServer();
        if (!QTest::qWaitFor([&] { return loaded.count() + failed.count() > 0; }, kWaitMs))
            return Result();
        return {loaded.count(), failed.count(),
                error.isEmpty() ? QString() : error.first().at(1).toString()};
    }

    static QString settingsValue(const QString &key)
    {
        return QSettings(MConfig::getConfigFile(), QSettings::IniFormat).value(key).toString();
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        quellnetInitResources();
        QVERIFY(m_dir.isValid());
        QVERIFY(writeDefaultServers());
        TestBackend::Options options;
        options.ovpnDir = serverDir();
        options.extra << QStringLiteral("--host-list-file") << hostListFile();
        QVERIFY(m_backend.start(options));
        m_log = std::make_unique<LogCapture>();
        MNetwork::globalInit();
        MConfig::loadCommConfig();
    }

    void cleanupTestCase()
    {
        m_log.reset();
        MNetwork::globalClean();
    }

    void init()
    {
        m_backend.exportClientEnvironment();
        QVERIFY(writeDefaultServers());
        QVERIFY(m_backend.resetRequests());
        QFile::remove(cachePath());
        QFile::remove(hostListFile());
        MConfig::instance()->lastLoadServerListDate.clear();
        MConfig::instance()->lastServIp.clear();
        LogCapture::take();
    }

    // A failing case shows what the client logged.
    void cleanup()
    {
        if (QTest::currentTestFailed())
            fprintf(stderr, "log:\n%s\n", qPrintable(LogCapture::joined()));
    }

    void hostListIsLoadedCachedAndDated()
    {
        ServerListLoader loader(cachePath());
        QCOMPARE(load(loader, true).loaded, 1);
        QCOMPARE(names(loader.serverList()), QStringList({"Frankfurt 1", "Tokyo 1", "Zurich 1"}));
        const ServerInfoPtr first = loader.serverList().first();
        // Address and country from the file: tst_backend.
        QVERIFY(first->ovpn.startsWith(QString::fromUtf8("# de-frankfurt-1 (Zürich)\nclient")));
        QCOMPARE(first->thread(), loader.thread());
        // The configuration (with its inline keys) never reaches the log.
        QVERIFY(LogCapture::contains(QStringLiteral("OVPN: \"Frankfurt 1\"")));
        QVERIFY(!LogCapture::contains(QStringLiteral("127.66.1.1 1194")));

        // Only the server-list host was asked, with its one header and no envelope.
        const QList<TestBackend::Request> requests = m_backend.requests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().path, QStringLiteral("/servers"));
        QVERIFY(
            headers(requests.first()).contains(QLatin1String("Identity=") + Deploy::identity()));
        QVERIFY(headers(requests.first()).filter(QStringLiteral("vpntoken")).isEmpty());

        // The cache holds the reply, the date is today's and on disk; the next start reads the
        // same records from it without asking anyone.
        QVERIFY(load_config(cachePath()).startsWith(QLatin1String("{\"Servers\":")));
        QCOMPARE(QFileInfo(cachePath()).permissions() & 0x0077, 0);
        QCOMPARE(settingsValue(QStringLiteral("save/lastLoadServerListDate")), today());
        QVERIFY(m_backend.resetRequests());
        ServerListLoader again(cachePath());
        QCOMPARE(load(again, true).loaded, 1);
        QVERIFY(m_backend.requests().isEmpty());
        QCOMPARE(again.serverList().first()->ovpn, first->ovpn);

        // A click on a row: current, remembered and saved.
        const ServerInfoPtr chosen = again.selectServer(QStringLiteral("127.66.1.3"));
        QCOMPARE(again.currentServer(), chosen);
        QCOMPARE(settingsValue(QStringLiteral("save/lastServIp")), QStringLiteral("127.66.1.3"));
    }

    void cacheIsUsedWhileYoungerThanSixDays_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<bool>("fromCache");
        QTest::newRow("today") << today() << true;
        QTest::newRow("today, but it does not read") << "damaged" << false;
        QTest::newRow("5 days old") << today(-5) << true;
        QTest::newRow("5 days ahead") << today(5) << true;
        QTest::newRow("6 days old") << today(-6) << false;
        QTest::newRow("6 days ahead") << today(6) << false;
        QTest::newRow("no date") << QString() << false;
        QTest::newRow("not a date") << QStringLiteral("2024-13-45") << false;
    }
    void cacheIsUsedWhileYoungerThanSixDays()
    {
        QFETCH(QString, date);
        QFETCH(bool, fromCache);
        const bool damaged = date == QLatin1String("damaged");
        if (damaged)
            date = today();
        QVERIFY(save_config(cachePath(),
                            QStringLiteral("{\"Servers\":[{\"Name\":\"Cached\"}],\"pad\":\"%1\"}")
                                .arg(QString(40, QLatin1Char('x')))
                                .left(damaged ? 60 : -1)));
        MConfig::instance()->lastLoadServerListDate = date;
        ServerListLoader loader(cachePath());
        QCOMPARE(load(loader, true).loaded, 1);
        QCOMPARE(names(loader.serverList()).size(), fromCache ? 1 : 3);
        QCOMPARE(m_backend.requests().size(), fromCache ? 0 : 1);
        QCOMPARE(MConfig::instance()->lastLoadServerListDate, fromCache ? date : today());
        QCOMPARE(load_config(cachePath()).contains(QLatin1String("Cached")), fromCache);
    }

    // The server-list host first; the backend (with the envelope) when the host gives no
    // list. What the backend says when it has no list reaches the window. Only a list that
    // reads replaces the cache.
    void remoteSources_data()
    {
        QTest::addColumn<QString>("folder"); // "servers", "empty", "none" or "broken"
        QTest::addColumn<bool>("hostReachable");
        QTest::addColumn<int>("servers"); // -1: failed
        QTest::addColumn<QString>("error");
        QTest::newRow("host") << "servers" << true << 3 << QString();
        QTest::newRow("host unreachable: backend") << "servers" << false << 3 << QString();
        QTest::newRow("empty folder: too short a list") << "empty" << true << -1 << QString();
        QTest::newRow("host list not JSON") << "broken" << true << -1 << QString();
        QTest::newRow("no folder: the backend's error")
            << "none" << true << -1
            << QStringLiteral("Load Server List Failed,Server list unavailable, error:");
    }
    void remoteSources()
    {
        QFETCH(QString, folder);
        QFETCH(bool, hostReachable);
        QFETCH(int, servers);
        QFETCH(QString, error);
        const bool broken = folder == QLatin1String("broken");
        if (broken) {
            QFile list(hostListFile());
            QVERIFY(list.open(QIODevice::WriteOnly));
            list.write("<html><body>Service temporarily unavailable, try later.</body></html>");
        } else if (folder != QLatin1String("servers")) {
            QVERIFY(QDir(serverDir()).removeRecursively());
        }
        if (folder == QLatin1String("empty"))
            QVERIFY(QDir().mkpath(serverDir()));
        if (!hostReachable) // nothing on this machine listens there
            qputenv("QUELLNET_SERVERLIST_HOST", "127.1.2.3");
        const QString old = QStringLiteral("{\"Servers\":[{\"Name\":\"Old\"}],\"pad\":\"%1\"}")
                                .arg(QString(40, QLatin1Char('x')));
        QVERIFY(save_config(cachePath(), old));
        ServerListLoader loader(cachePath());
        const Result result = load(loader, false);
        QCOMPARE(result.failed, servers < 0 ? 1 : 0);
        QVERIFY2(result.error.startsWith(error) && result.error.isEmpty() == error.isEmpty(),
                 qPrintable(result.error));
        QCOMPARE(loader.serverList().size(), qMax(servers, 0));
        const bool fromHost = hostReachable && servers > 0;
        QCOMPARE(load_config(cachePath()) == old, !fromHost);
        QCOMPARE(MConfig::instance()->lastLoadServerListDate, fromHost ? today() : QString());
        const QList<TestBackend::Request> requests = m_backend.requests();
        QCOMPARE(requests.size(), (fromHost || broken ? 0 : 1) + (hostReachable ? 1 : 0));
        if (fromHost || broken)
            return;
        QCOMPARE(requests.last().path, QStringLiteral("/vpnserver/serverlist/"));
        QCOMPARE(
            headers(requests.last()).filter(QRegularExpression("^(vpntoken|identity)=")).size(), 2);
    }

    void refreshStartsALoadForServedClicksOnly()
    {
        ServerListLoader loader(cachePath());
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        for (int click = 1; click <= 5; ++click)
            QVERIFY(loader.refresh());
        QVERIFY(!loader.refresh());
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 5, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(loader.runningTasks(), 0, kWaitMs);
        QCOMPARE(m_backend.requests().size(), 5);
    }

private:
    QTemporaryDir m_dir;
    TestBackend m_backend;
    std::unique_ptr<LogCapture> m_log;
};

QTEST_GUILESS_MAIN(TestServerListLoader)
#include "tst_serverlistloader.moc"
