// The server list against the real reference backend (its server folder under the test's
// control), and against a small HTTPS responder where a reply of an exact size or shape is
// needed.

#include "encryptedfiles.h"
#include "mconfig.h"
#include "mdeploy.h"
#include "mnetwork.h"
#include "resinit.h"
#include "serverinfo.h"
#include "serverlistloader.h"
#include "testbackend.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <httplib.h>

#include <memory>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kWaitMs = 30000;

QMutex s_logMutex;
QStringList s_log;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    QMutexLocker lock(&s_logMutex);
    s_log << message;
}

bool logContains(const QString &text)
{
    QMutexLocker lock(&s_logMutex);
    for (const QString &line : qAsConst(s_log)) {
        if (line.contains(text))
            return true;
    }
    return false;
}

void clearLog()
{
    QMutexLocker lock(&s_logMutex);
    s_log.clear();
}

// A list text of exactly `length` characters whose one server is called `name`.
QString listOfLength(const QString &name, int length)
{
    const QString head = QStringLiteral("{\"Servers\":[{\"Name\":\"%1\"}],\"p\":\"").arg(name);
    const int pad = length - head.size() - 2;
    return pad < 0 ? QString() : head + QString(pad, QLatin1Char('x')) + QStringLiteral("\"}");
}

QString today(int offsetDays = 0)
{
    return QDate::currentDate().addDays(offsetDays).toString(QStringLiteral("yyyy-MM-dd"));
}

QStringList names(const ServerInfoList &list)
{
    QStringList out;
    for (const ServerInfoPtr &info : list)
        out << info->name;
    return out;
}

// Answers "/servers" and "/vpnserver/serverlist/" with set texts, over TLS on a loopback
// address of its own at the fixed port 4430, and records what it was asked.
class Responder
{
public:
    ~Responder() { stop(); }

    bool start(const QString &folder)
    {
        // Several loopback addresses, in case another test holds port 4430 on one of them.
        for (int attempt = 0; attempt < 20; ++attempt) {
            const QString address
                = QStringLiteral("127.0.0.%1").arg(10 + (::getpid() + 97 + attempt * 11) % 230);
            const QString pki = folder + QStringLiteral("/pki-") + address;
            if (runCommand(
                    QStringLiteral("bash"),
                    {QStringLiteral(QUELLNET_SOURCE_DIR "/scripts/make-test-ca.sh"), pki, address})
                != 0)
                return false;
            auto server = std::make_unique<httplib::SSLServer>(
                QFile::encodeName(pki + QStringLiteral("/server.pem")).constData(),
                QFile::encodeName(pki + QStringLiteral("/server.key")).constData());
            server->set_keep_alive_timeout(1);
            server->Get("/servers", [this](const httplib::Request &req, httplib::Response &res) {
                QMutexLocker lock(&m_mutex);
                m_hostRequests.append(req.headers);
                res.set_content(m_hostReply.toStdString(), "application/json");
            });
            server->Get("/vpnserver/serverlist/",
                        [this](const httplib::Request &req, httplib::Response &res) {
                            QMutexLocker lock(&m_mutex);
                            m_backendRequests.append(req.headers);
                            res.set_content(m_backendReply.toStdString(), "text/plain");
                        });
            if (!server->bind_to_port(address.toStdString().c_str(), 4430))
                continue;
            m_server = std::move(server);
            m_address = address;
            m_caFile = pki + QStringLiteral("/ca.pem");
            m_thread = std::thread([this] { m_server->listen_after_bind(); });
            return QTest::qWaitFor([this] { return m_server->is_running(); }, 5000);
        }
        return false;
    }

    void stop()
    {
        if (!m_thread.joinable())
            return;
        m_server->stop();
        m_thread.join();
    }

    QString caFile() const { return m_caFile; }

    void exportClientEnvironment() const
    {
        qputenv("QUELLNET_SERVERLIST_HOST", m_address.toUtf8());
        qputenv("QUELLNET_BACKEND_HOST", (m_address + QStringLiteral(":4430")).toUtf8());
    }

    void setReplies(const QString &host, const QString &backend)
    {
        QMutexLocker lock(&m_mutex);
        m_hostReply = host;
        m_backendReply = backend;
        m_hostRequests.clear();
        m_backendRequests.clear();
    }
    int hostRequests()
    {
        QMutexLocker lock(&m_mutex);
        return m_hostRequests.size();
    }
    QList<httplib::Headers> backendRequests()
    {
        QMutexLocker lock(&m_mutex);
        return m_backendRequests;
    }

private:
    std::unique_ptr<httplib::SSLServer> m_server;
    std::thread m_thread;
    QString m_address;
    QString m_caFile;
    QMutex m_mutex;
    QString m_hostReply;
    QString m_backendReply;
    QList<httplib::Headers> m_hostRequests;
    QList<httplib::Headers> m_backendRequests;
};

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

    // One server file of the backend's folder; the address goes into its "remote" line.
    QByteArray writeServer(const QString &base, const QString &address,
                           const QByteArray &sidecar = QByteArray())
    {
        const QByteArray config = "# " + base.toUtf8()
            + " \xe2\x80\x94 test server (Zürich)\nclient\ndev tun\nproto udp\nremote "
            + address.toLatin1() + " 1194\nverb 3\n";
        QFile file(serverDir() + QLatin1Char('/') + base + QStringLiteral(".ovpn"));
        if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size())
            return QByteArray();
        file.close();
        if (!sidecar.isEmpty()) {
            QFile info(serverDir() + QLatin1Char('/') + base + QStringLiteral(".info"));
            if (!info.open(QIODevice::WriteOnly) || info.write(sidecar) != sidecar.size())
                return QByteArray();
        }
        return config;
    }

    bool resetServerDir()
    {
        QDir(serverDir()).removeRecursively();
        return QDir().mkpath(serverDir());
    }

    // Three servers in file-name order: Frankfurt, Tokyo, Zürich.
    bool writeDefaultServers()
    {
        return resetServerDir()
            && !writeServer(QStringLiteral("de-frankfurt-1"), "127.66.1.1").isEmpty()
            && !writeServer(QStringLiteral("jp-tokyo-1"), "127.66.1.2").isEmpty()
            && !writeServer(QStringLiteral("zz-zurich-1"), "127.66.1.3",
                            "name=Zürich\ncountry=CH\n")
                    .isEmpty();
    }

    // Runs the start-up load (or a refresh load) and waits for its end.
    bool load(ServerListLoader &loader, bool cacheFirst, QSignalSpy *loaded, QSignalSpy *failed)
    {
        if (cacheFirst)
            loader.loadServerListTask();
        else
            loader.loadServerListFromServer();
        return QTest::qWaitFor([&] { return loaded->count() + failed->count() > 0; }, kWaitMs)
            && loader.runningTasks() == 0;
    }

    int requestsTo(const QString &path)
    {
        int count = 0;
        for (const TestBackend::Request &request : m_backend.requests()) {
            if (request.path == path)
                ++count;
        }
        return count;
    }

    static QString settingsValue(const QString &key)
    {
        QSettings settings(MConfig::getConfigFile(), QSettings::IniFormat);
        return settings.value(key).toString();
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        quellnetInitResources();
        QVERIFY(m_dir.isValid());
        QVERIFY(writeDefaultServers());
        TestBackend::Options options;
        options.demo = true;
        options.ovpnDir = serverDir();
        QVERIFY(m_backend.start(options));
        QVERIFY(m_responder.start(m_dir.filePath(QStringLiteral("responder"))));
        // One CA file trusted by both for the whole run: a thread's HTTP client keeps the CA
        // store of its first TLS connection.
        m_caBundle = m_dir.filePath(QStringLiteral("ca-bundle.pem"));
        QFile bundle(m_caBundle);
        QVERIFY(bundle.open(QIODevice::WriteOnly));
        for (const QString &ca : {m_backend.caFile(), m_responder.caFile()}) {
            QFile pem(ca);
            QVERIFY(pem.open(QIODevice::ReadOnly));
            bundle.write(pem.readAll());
        }
        bundle.close();
        qInstallMessageHandler(captureMessage);
        MNetwork::globalInit();
        MConfig::loadCommConfig();
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(nullptr);
        m_responder.stop();
        MNetwork::globalClean();
    }

    void init()
    {
        m_backend.exportClientEnvironment();
        qputenv("QUELLNET_CA_FILE", QFile::encodeName(m_caBundle));
        QVERIFY(writeDefaultServers());
        QVERIFY(m_backend.resetRequests());
        QFile::remove(cachePath());
        MConfig::instance()->lastLoadServerListDate.clear();
        MConfig::instance()->lastServIp.clear();
        clearLog();
    }

    // A failing case shows what the client logged.
    void cleanup()
    {
        if (!QTest::currentTestFailed())
            return;
        QMutexLocker lock(&s_logMutex);
        for (const QString &line : qAsConst(s_log))
            fprintf(stderr, "log: %s\n", qPrintable(line.left(300)));
    }

    void hostListIsLoadedCachedAndDated()
    {
        ServerListLoader loader(cachePath());
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
        QVERIFY(load(loader, true, &loaded, &failed));
        QCOMPARE(failed.count(), 0);
        QCOMPARE(names(loader.serverList()),
                 QStringList({"Frankfurt 1", "Tokyo 1", QString::fromUtf8("Zürich")}));

        // Only the server-list host was asked, with its one header and no envelope.
        const QList<TestBackend::Request> requests = m_backend.requests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().path, QStringLiteral("/servers"));
        bool identity = false;
        for (const auto &header : requests.first().wireHeaders) {
            QVERIFY2(header.first != QLatin1String("vpntoken"), "envelope sent to the host");
            if (header.first == QLatin1String("Identity"))
                identity = header.second == QString::fromLatin1(Deploy::identity());
        }
        QVERIFY(identity);

        // The cache holds the reply, UTF-8 intact; the date is today's and on disk.
        const QString cached = load_config(cachePath());
        QVERIFY(cached.startsWith(QLatin1String("{\"Servers\":")));
        QVERIFY(cached.contains(QString::fromUtf8("Zürich")));
        QCOMPARE(MConfig::instance()->lastLoadServerListDate, today());
        QCOMPARE(settingsValue(QStringLiteral("save/lastLoadServerListDate")), today());

        // The records were built on a worker and handed to this thread.
        for (const ServerInfoPtr &info : loader.serverList())
            QCOMPARE(info->thread(), loader.thread());
    }

    void cacheIsUsedWhileYoungerThanSixDays_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<bool>("fromCache");
        QTest::newRow("today") << today() << true;
        QTest::newRow("5 days old") << today(-5) << true;
        QTest::newRow("5 days ahead") << today(5) << true;
        QTest::newRow("6 days old") << today(-6) << false;
        QTest::newRow("6 days ahead") << today(6) << false;
        QTest::newRow("30 days old") << today(-30) << false;
        QTest::newRow("no date") << QString() << false;
        QTest::newRow("not a date") << QStringLiteral("2024-13-45") << false;
        QTest::newRow("other format")
            << QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")) << false;
    }

    void cacheIsUsedWhileYoungerThanSixDays()
    {
        QFETCH(QString, date);
        QFETCH(bool, fromCache);
        QVERIFY(save_config(cachePath(), listOfLength(QStringLiteral("Cached"), 80)));
        MConfig::instance()->lastLoadServerListDate = date;

        ServerListLoader loader(cachePath());
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
        QVERIFY(load(loader, true, &loaded, &failed));
        QCOMPARE(loaded.count(), 1);
        if (fromCache) {
            QCOMPARE(names(loader.serverList()), QStringList{"Cached"});
            QVERIFY(logContains(QStringLiteral("Load ser list from local...")));
            QCOMPARE(requestsTo(QStringLiteral("/servers")), 0);
            QCOMPARE(MConfig::instance()->lastLoadServerListDate, date);
        } else {
            QCOMPARE(loader.serverList().size(), 3);
            QCOMPARE(requestsTo(QStringLiteral("/servers")), 1);
            QVERIFY(!logContains(QStringLiteral("Load ser list from local...")));
            QCOMPARE(MConfig::instance()->lastLoadServerListDate, today());
        }
    }

    void cacheOfFiftyCharactersIsEnoughButFortyNineIsNot()
    {
        for (int length : {49, 50}) {
            init();
            QVERIFY(save_config(cachePath(), listOfLength(QStringLiteral("Cached"), length)));
            MConfig::instance()->lastLoadServerListDate = today(-1);
            ServerListLoader loader(cachePath());
            QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
            QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
            QVERIFY(load(loader, true, &loaded, &failed));
            QCOMPARE(loaded.count(), 1);
            if (length == 49) {
                QCOMPARE(loader.serverList().size(), 3);
                QCOMPARE(requestsTo(QStringLiteral("/servers")), 1);
            } else {
                QCOMPARE(names(loader.serverList()), QStringList{"Cached"});
                QCOMPARE(requestsTo(QStringLiteral("/servers")), 0);
            }
        }
    }

    void hostReplyOfFiftyCharactersFallsThroughToTheBackend()
    {
        m_responder.exportClientEnvironment();
        const QString backendList = listOfLength(QStringLiteral("Backend"), 90);
        for (int length : {50, 51}) {
            QFile::remove(cachePath());
            MConfig::instance()->lastLoadServerListDate.clear();
            const QString hostList = listOfLength(QStringLiteral("Host"), length);
            QCOMPARE(hostList.size(), length);
            m_responder.setReplies(hostList, backendList);

            ServerListLoader loader(cachePath());
            QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
            QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
            QVERIFY(load(loader, false, &loaded, &failed));
            QCOMPARE(loaded.count(), 1);
            QCOMPARE(m_responder.hostRequests(), 1);
            if (length == 50) {
                QCOMPARE(names(loader.serverList()), QStringList{"Backend"});
                QVERIFY(!QFile::exists(cachePath()));
                QVERIFY(MConfig::instance()->lastLoadServerListDate.isEmpty());
                // The backend gets the full envelope.
                const QList<httplib::Headers> asked = m_responder.backendRequests();
                QCOMPARE(asked.size(), 1);
                QVERIFY(asked.first().count("vpntoken") == 1);
                QCOMPARE(QString::fromStdString(asked.first().find("identity")->second),
                         QStringLiteral("quell_net_request"));
                QVERIFY(logContains(QStringLiteral("Get List From:")));
            } else {
                QCOMPARE(names(loader.serverList()), QStringList{"Host"});
                QCOMPARE(load_config(cachePath()), hostList);
                QCOMPARE(MConfig::instance()->lastLoadServerListDate, today());
                QVERIFY(m_responder.backendRequests().isEmpty());
            }
        }
    }

    void backendErrorTextAtTheStartFailsAsJson()
    {
        m_responder.exportClientEnvironment();
        m_responder.setReplies(QStringLiteral("short"),
                               QStringLiteral("error: the server list is not ready yet"));
        ServerListLoader loader(cachePath());
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
        QSignalSpy error(&loader, &ServerListLoader::signalLoadServerListError);
        QVERIFY(load(loader, false, &loaded, &failed));
        QCOMPARE(failed.count(), 1);
        QCOMPARE(loaded.count(), 0);
        QCOMPARE(error.count(), 0);
        QVERIFY(logContains(QStringLiteral("setServerList,QJsonParseError:")));
    }

    void backendErrorTextAfterTheStartShowsTheFailedMessage()
    {
        m_responder.exportClientEnvironment();
        // A list first, which the error must leave in place.
        m_responder.setReplies(listOfLength(QStringLiteral("Host"), 60), QString());
        ServerListLoader loader(cachePath());
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
        QSignalSpy error(&loader, &ServerListLoader::signalLoadServerListError);
        QVERIFY(load(loader, false, &loaded, &failed));
        QCOMPARE(names(loader.serverList()), QStringList{"Host"});

        const QString reply = QStringLiteral("1error: the server list is not ready");
        m_responder.setReplies(QString(), reply);
        loaded.clear();
        QVERIFY(load(loader, false, &loaded, &failed));
        QCOMPARE(error.count(), 1);
        QCOMPARE(error.first().at(0).toString(), QStringLiteral("Failed"));
        QCOMPARE(error.first().at(1).toString(),
                 QStringLiteral("Load Server List Failed,") + reply);
        QCOMPARE(failed.count(), 1);
        QCOMPARE(loaded.count(), 0);
        QCOMPARE(names(loader.serverList()), QStringList{"Host"});
        QVERIFY(logContains(QStringLiteral("Error:")));
    }

    void backendWithoutItsServerFolderShowsTheFailedMessage()
    {
        QVERIFY(QDir(serverDir()).removeRecursively());
        ServerListLoader loader(cachePath());
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
        QSignalSpy error(&loader, &ServerListLoader::signalLoadServerListError);
        QVERIFY(load(loader, false, &loaded, &failed));
        QCOMPARE(error.count(), 1);
        QVERIFY(error.first().at(1).toString().startsWith(
            QStringLiteral("Load Server List Failed,Server list unavailable, error:")));
        QCOMPARE(requestsTo(QStringLiteral("/vpnserver/serverlist/")), 1);
        QVERIFY(!QFile::exists(cachePath()));
    }

    void emptyListIsLoadedWithNoServers()
    {
        // The reference backend's empty list is too short to be a list at all.
        QVERIFY(resetServerDir());
        {
            ServerListLoader loader(cachePath());
            QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
            QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
            QVERIFY(load(loader, false, &loaded, &failed));
            QCOMPARE(failed.count(), 1);
            QCOMPARE(requestsTo(QStringLiteral("/vpnserver/serverlist/")), 1);
        }
        // A long enough one gives the loaded signal with nothing in it.
        m_responder.exportClientEnvironment();
        m_responder.setReplies(
            QStringLiteral("{\"Servers\": [], \"Message\": \"no servers are available today\"}"),
            QString());
        ServerListLoader loader(cachePath());
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
        QVERIFY(load(loader, false, &loaded, &failed));
        QCOMPARE(loaded.count(), 1);
        QVERIFY(loader.serverList().isEmpty());
        QVERIFY(loader.currentServer().isNull());
    }

    void lastServIpChoosesTheCurrentServer()
    {
        ServerListLoader loader(cachePath());
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);

        MConfig::instance()->lastServIp = QStringLiteral("127.66.1.2");
        QVERIFY(load(loader, false, &loaded, &failed));
        QCOMPARE(loader.currentServer()->name, QStringLiteral("Tokyo 1"));

        // Nothing remembered: the first server, which becomes the remembered one.
        MConfig::instance()->lastServIp.clear();
        loaded.clear();
        QVERIFY(load(loader, false, &loaded, &failed));
        QCOMPARE(loader.currentServer()->name, QStringLiteral("Frankfurt 1"));
        QCOMPARE(MConfig::instance()->lastServIp, QStringLiteral("127.66.1.1"));

        // A remembered server that is gone: the first one, the setting kept.
        MConfig::instance()->lastServIp = QStringLiteral("127.66.9.9");
        loaded.clear();
        QVERIFY(load(loader, false, &loaded, &failed));
        QCOMPARE(loader.currentServer()->name, QStringLiteral("Frankfurt 1"));
        QCOMPARE(MConfig::instance()->lastServIp, QStringLiteral("127.66.9.9"));

        // A click on a row: current, remembered and saved.
        const ServerInfoPtr chosen = loader.selectServer(QStringLiteral("127.66.1.3"));
        QVERIFY(chosen);
        QCOMPARE(loader.currentServer(), chosen);
        QCOMPARE(settingsValue(QStringLiteral("save/lastServIp")), QStringLiteral("127.66.1.3"));
        QVERIFY(loader.selectServer(QStringLiteral("127.66.9.9")).isNull());
        QCOMPARE(loader.currentServer(), chosen);

        // A new list replaces the records; the old current one stays usable.
        QVERIFY(resetServerDir());
        QVERIFY(!writeServer(QStringLiteral("us-boston-1"), "127.66.2.1").isEmpty());
        loaded.clear();
        QVERIFY(load(loader, false, &loaded, &failed));
        QCOMPARE(names(loader.serverList()), QStringList{"Boston 1"});
        QCOMPARE(loader.currentServer()->name, QStringLiteral("Boston 1"));
        QCOMPARE(chosen->name, QString::fromUtf8("Zürich"));
    }

    void eachServerCarriesItsDecryptedConfiguration()
    {
        QVERIFY(resetServerDir());
        const QByteArray de = writeServer(QStringLiteral("de-berlin-1"), "127.66.3.1");
        const QByteArray jp = writeServer(QStringLiteral("jp-osaka-1"), "127.66.3.2");
        QVERIFY(!de.isEmpty() && !jp.isEmpty());
        ServerListLoader loader(cachePath());
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
        QVERIFY(load(loader, false, &loaded, &failed));
        QCOMPARE(loader.serverList().size(), 2);
        const ServerInfoPtr first = loader.serverList().at(0);
        QCOMPARE(first->ovpn, QString::fromUtf8(de));
        QCOMPARE(loader.serverList().at(1)->ovpn, QString::fromUtf8(jp));
        QCOMPARE(first->ip, QStringLiteral("127.66.3.1"));
        QCOMPARE(first->host, first->ip);
        QCOMPARE(first->name, QStringLiteral("Berlin 1"));
        QCOMPARE(first->country, QStringLiteral("DE"));
        QVERIFY(logContains(QStringLiteral("OVPN: \"Berlin 1\"")));
        // The configuration (with its inline keys) never reaches the log.
        QVERIFY(!logContains(QStringLiteral("127.66.3.1 1194")));
        QVERIFY(!logContains(first->ovpn.left(40)));

        // Read back from the cache on the next start: the same records.
        MConfig::instance()->lastLoadServerListDate = today();
        ServerListLoader again(cachePath());
        QSignalSpy loadedAgain(&again, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failedAgain(&again, &ServerListLoader::signalLoadedServerListFailed);
        QVERIFY(QFile::exists(cachePath()));
        QVERIFY(m_backend.resetRequests());
        QVERIFY(load(again, true, &loadedAgain, &failedAgain));
        QCOMPARE(requestsTo(QStringLiteral("/servers")), 0);
        QCOMPARE(again.serverList().at(0)->ovpn, QString::fromUtf8(de));
    }

    void countriesOfTheListMapToFlags()
    {
        QVERIFY(resetServerDir());
        QVERIFY(!writeServer(QStringLiteral("a-1"), "127.66.4.1", "country=JP\n").isEmpty());
        QVERIFY(
            !writeServer(QStringLiteral("b-1"), "127.66.4.2", "country= jAnPaNeSe \n").isEmpty());
        QVERIFY(!writeServer(QStringLiteral("c-1"), "127.66.4.3", "country=England\n").isEmpty());
        QVERIFY(!writeServer(QStringLiteral("d-1"), "127.66.4.4", "country=Narnia\n").isEmpty());
        QVERIFY(!writeServer(QStringLiteral("e-1"), "127.66.4.5", "country=fr\n").isEmpty());
        ServerListLoader loader(cachePath());
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
        QVERIFY(load(loader, false, &loaded, &failed));
        QStringList codes;
        for (const ServerInfoPtr &info : loader.serverList())
            codes << flagCode(info->country);
        QCOMPARE(codes, QStringList({"JP", "JP", "GB", "US", "FR"}));
    }

    void refreshStartsALoadForServedClicksOnly()
    {
        ServerListLoader loader(cachePath());
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        for (int click = 1; click <= 5; ++click)
            QVERIFY(loader.refresh());
        QVERIFY(!loader.refresh());
        QVERIFY(loader.refreshLimiter()->resetTimer()->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 5, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(loader.runningTasks(), 0, kWaitMs);
        QCOMPARE(requestsTo(QStringLiteral("/servers")), 5);
    }

private:
    QTemporaryDir m_dir;
    TestBackend m_backend;
    Responder m_responder;
    QString m_caBundle;
};

QTEST_GUILESS_MAIN(TestServerListLoader)
#include "tst_serverlistloader.moc"
