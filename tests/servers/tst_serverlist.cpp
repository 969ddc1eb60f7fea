// Server-list parsing, the choice of the current server and flag codes, without any network.

#include "logcapture.h"
#include "mconfig.h"
#include "resinit.h"
#include "serverinfo.h"
#include "serverlistloader.h"

#include <QSignalSpy>
#include <QtTest>

class TestServerList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        quellnetInitResources();
        MConfig::loadCommConfig();
    }

    void flagCodeTakesTheCodeThenAKnownNameThenUs_data()
    {
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("code");
        const auto row = [](const char *tag, const char *country, const char *code) {
            QTest::newRow(tag) << QString::fromUtf8(country) << QString::fromLatin1(code);
        };
        row("code", "JP", "JP");
        row("padded lower-case code", "  de\t", "DE");
        row("misspelt name, any case", " jAnPaNeSe ", "JP");
        row("name", "England", "GB");
        row("unknown name", "Narnia", "US");
        row("placeholder flag", "xx", "US");
        row("other resource", "../icon/main_icon", "US");
        row("style sheet text", "JP.png);}QWidget{background:red", "US");
    }
    void flagCodeTakesTheCodeThenAKnownNameThenUs()
    {
        QFETCH(QString, country);
        QFETCH(QString, code);
        QCOMPARE(flagCode(country), code);
    }

    void recordsAreTrimmedAndOddEntriesListedEmpty()
    {
        bool ok = false;
        const ServerInfoList servers = ServerListLoader::parseServerList(
            QStringLiteral("{\"Servers\":[{\"Ip\":\" 10.1.2.3 \",\"Name\":\"\\tOslo 1\\n\","
                           "\"Country\":\" NO \",\"Ovpn\":\"not base64 at all!\",\"Extra\":5},"
                           "7,{\"Ip\":12,\"Name\":null}],\"Version\":2}"),
            &ok);
        QVERIFY(ok);
        QCOMPARE(servers.size(), 3);
        const ServerInfo &oslo = *servers.at(0);
        QCOMPARE(QStringList({oslo.ip, oslo.host, oslo.name, oslo.country, oslo.ovpn}),
                 QStringList({"10.1.2.3", "10.1.2.3", "Oslo 1", "NO", ""}));
        QVERIFY(servers.at(1)->host.isEmpty() && servers.at(2)->name.isEmpty());
    }

    // The log line per record (name, never the configuration): tst_serverlistloader; names
    // with escapes: tst_serverlistreader; decryption: tests/account/tst_encryptedfiles; which
    // texts are a list at all: fuzz/serverlist.cpp.

    // The remembered host picks the current server whenever a list is swapped in.
    void currentServerFollowsTheRememberedHost_data()
    {
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("rememberedAfter");
        const auto row
            = [](const char *tag, const char *remembered, const char *current, const char *after) {
                  QTest::newRow(tag) << QString(remembered) << QString(current) << QString(after);
              };
        row("remembered host listed", "10.0.0.2", "10.0.0.2", "10.0.0.2");
        row("nothing remembered: the first", "", "10.0.0.1", "10.0.0.1");
        row("remembered host gone: the first, setting kept", "10.9.9.9", "10.0.0.1", "10.9.9.9");
    }
    void currentServerFollowsTheRememberedHost()
    {
        QFETCH(QString, remembered);
        QFETCH(QString, current);
        QFETCH(QString, rememberedAfter);
        LogCapture log;
        ServerListLoader loader(QStringLiteral("unused.fg"));
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);
        MConfig::instance()->lastServIp = remembered;
        loader.setServerList(QStringLiteral(
            "{\"Servers\":[{\"Ip\":\"10.0.0.1\"},{\"Ip\":\"10.0.0.2\"},{\"Ip\":\"10.0.0.3\"}]}"));
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(loader.serverList().size(), 3);
        const ServerInfoPtr chosen = loader.currentServer();
        QCOMPARE(chosen->host, current);
        QCOMPARE(MConfig::instance()->lastServIp, rememberedAfter);

        // A bad text keeps list and choice; an empty list keeps the choice, still whole.
        loader.setServerList(QStringLiteral("{\"Servers\": [ broken broken broken ]"));
        QCOMPARE(failed.count(), 1);
        QCOMPARE(loader.serverList().size(), 3);
        loader.setServerList(QStringLiteral("{\"Servers\":[],\"Note\":\"nothing\"}"));
        QCOMPARE(loaded.count(), 2);
        QVERIFY(loader.serverList().isEmpty());
        QCOMPARE(loader.currentServer(), chosen);
        QCOMPARE(chosen->host, current);
        QVERIFY(loader.selectServer(current).isNull());
    }
};

QTEST_GUILESS_MAIN(TestServerList)
#include "tst_serverlist.moc"
