// Server-list parsing, the choice of the current server, flag codes and the refresh limit,
// without any network.

#include "mconfig.h"
#include "mdeploy.h"
#include "resinit.h"
#include "serverinfo.h"
#include "serverlistloader.h"

#include <QDirIterator>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QSignalSpy>
#include <QtTest>

#include <openssl/evp.h>

#include <memory>

namespace {

QMutex s_logMutex;
QStringList s_log;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    QMutexLocker lock(&s_logMutex);
    s_log << message;
}

QStringList takeLog()
{
    QMutexLocker lock(&s_logMutex);
    const QStringList log = s_log;
    s_log.clear();
    return log;
}

QString server(const QString &ip, const QString &name, const QString &country = QString())
{
    return QStringLiteral("{\"Ip\":\"%1\",\"Name\":\"%2\",\"Country\":\"%3\",\"Ovpn\":\"\"}")
        .arg(ip, name, country);
}

QString list(const QStringList &servers)
{
    return QStringLiteral("{\"Servers\":[") + servers.join(QLatin1Char(',')) + QStringLiteral("]}");
}

// An "Ovpn" field as the backend makes it: AES-128-CBC under the configuration key, zero IV,
// PKCS#7, base64.
QString ovpnField(const QByteArray &config)
{
    const QByteArray key = Deploy::ovpnKey().left(15) + QByteArray(1, '\0');
    const unsigned char iv[16] = {};
    const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                              &EVP_CIPHER_CTX_free);
    QByteArray out(config.size() + 16, '\0');
    int written = 0;
    int last = 0;
    auto *outBytes = reinterpret_cast<unsigned char *>(out.data());
    if (!ctx
        || EVP_EncryptInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr,
                              reinterpret_cast<const unsigned char *>(key.constData()), iv)
            != 1
        || EVP_EncryptUpdate(ctx.get(), outBytes, &written,
                             reinterpret_cast<const unsigned char *>(config.constData()),
                             config.size())
            != 1
        || EVP_EncryptFinal_ex(ctx.get(), outBytes + written, &last) != 1)
        return QString();
    out.resize(written + last);
    return QString::fromLatin1(out.toBase64());
}

} // namespace

class TestServerList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        quellnetInitResources();
        MConfig::loadCommConfig();
        qInstallMessageHandler(captureMessage);
    }

    void cleanupTestCase() { qInstallMessageHandler(nullptr); }

    void init()
    {
        MConfig::instance()->lastServIp.clear();
        takeLog();
    }

    void flagCodeTakesTheCodeThenAKnownNameThenUs_data()
    {
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("code");
        QTest::newRow("code") << "JP"
                              << "JP";
        QTest::newRow("lower-case code") << "jp"
                                         << "JP";
        QTest::newRow("padded code") << "  de\t"
                                     << "DE";
        QTest::newRow("Janpanese") << "Janpanese"
                                   << "JP";
        QTest::newRow("JANPANESE") << "JANPANESE"
                                   << "JP";
        QTest::newRow("jAnPaNeSe padded") << " jAnPaNeSe "
                                          << "JP";
        QTest::newRow("chinese") << "Chinese"
                                 << "CN";
        QTest::newRow("usa") << "USA"
                             << "US";
        QTest::newRow("hongkong") << "HongKong"
                                  << "HK";
        QTest::newRow("india") << "India"
                               << "IN";
        QTest::newRow("singapore") << "singapore"
                                   << "SG";
        QTest::newRow("australia") << "Australia"
                                   << "AU";
        QTest::newRow("england") << "England"
                                 << "GB";
        QTest::newRow("canada") << "CANADA"
                                << "CA";
        QTest::newRow("unknown name") << "Narnia"
                                      << "US";
        QTest::newRow("empty") << ""
                               << "US";
        QTest::newRow("placeholder flag") << "xx"
                                          << "US";
        QTest::newRow("other resource") << "../icon/main_icon"
                                        << "US";
        QTest::newRow("style sheet text") << "JP.png);}QWidget{background:red"
                                          << "US";
    }

    void flagCodeTakesTheCodeThenAKnownNameThenUs()
    {
        QFETCH(QString, country);
        QFETCH(QString, code);
        QCOMPARE(flagCode(country), code);
    }

    void everyFlagIsATwoLetterPictureInBothSizes()
    {
        QStringList codes;
        QDirIterator it(QStringLiteral(":/flag"));
        while (it.hasNext()) {
            const QString name = QFileInfo(it.next()).fileName();
            if (!name.endsWith(QLatin1String("@2x.png")))
                codes << name.left(name.size() - 4);
        }
        QVERIFY2(codes.size() >= 240, qPrintable(QString::number(codes.size())));
        for (const QString &code : qAsConst(codes)) {
            QVERIFY2(QRegularExpression(QStringLiteral("^[A-Z]{2}$")).match(code).hasMatch(),
                     qPrintable(code));
            QCOMPARE(QImageReader(QStringLiteral(":/flag/%1.png").arg(code)).size(), QSize(40, 25));
            QCOMPARE(QImageReader(QStringLiteral(":/flag/%1@2x.png").arg(code)).size(),
                     QSize(80, 50));
        }
        for (const char *code : {"CN", "JP", "US", "HK", "IN", "SG", "AU", "GB", "CA"})
            QVERIFY(codes.contains(QLatin1String(code)));
    }

    void listTextsUnderThirtyCharactersOrNotJsonFail()
    {
        bool ok = true;
        QVERIFY(ServerListLoader::parseServerList(QString(29, QLatin1Char(' ')), &ok).isEmpty());
        QVERIFY(!ok);

        // 30 characters of JSON without "Servers": a list, with nothing in it.
        const QString thirty = QStringLiteral("{\"Other\":\"") + QString(18, QLatin1Char('x'))
            + QStringLiteral("\"}");
        QCOMPARE(thirty.size(), 30);
        QVERIFY(ServerListLoader::parseServerList(thirty, &ok).isEmpty());
        QVERIFY(ok);

        takeLog();
        QVERIFY(ServerListLoader::parseServerList(
                    QStringLiteral("error: the list is not available right now"), &ok)
                    .isEmpty());
        QVERIFY(!ok);
        const QStringList log = takeLog();
        QVERIFY2(!log.filter(QStringLiteral("setServerList,QJsonParseError:")).isEmpty(),
                 qPrintable(log.join(QLatin1Char('\n'))));

        // Not an object: no servers, but a list all the same.
        QVERIFY(ServerListLoader::parseServerList(QStringLiteral("[1, 2, 3, 4, 5, 6, 7, 8, 9, 10]"),
                                                  &ok)
                    .isEmpty());
        QVERIFY(ok);
    }

    void recordsAreTrimmedWithFixedDefaults()
    {
        bool ok = false;
        const QString text = QStringLiteral(
            "{\"Servers\":[{\"Ip\":\" 10.1.2.3 \",\"Name\":\"\\tOslo 1\\n\",\"Country\":\" NO "
            "\",\"Ovpn\":\"not base64 at all!\",\"Extra\":5},"
            "7,{\"Ip\":12,\"Name\":null}],\"Version\":2}");
        const ServerInfoList servers = ServerListLoader::parseServerList(text, &ok);
        QVERIFY(ok);
        QCOMPARE(servers.size(), 3);
        const ServerInfoPtr oslo = servers.at(0);
        QCOMPARE(oslo->ip, QStringLiteral("10.1.2.3"));
        QCOMPARE(oslo->host, QStringLiteral("10.1.2.3"));
        QCOMPARE(oslo->name, QStringLiteral("Oslo 1"));
        QCOMPARE(oslo->country, QStringLiteral("NO"));
        QVERIFY(oslo->reservedText1.isEmpty());
        QVERIFY(oslo->reservedText2.isEmpty());
        QCOMPARE(oslo->firstPort, 7860);
        QCOMPARE(oslo->secondPort, 1080);
        QVERIFY(oslo->parent() == nullptr);
        // Entries of any other shape are still listed, with empty texts.
        QVERIFY(servers.at(1)->host.isEmpty());
        QVERIFY(servers.at(2)->host.isEmpty());
        QVERIFY(servers.at(2)->name.isEmpty());
        QVERIFY(!takeLog().filter(QStringLiteral("OVPN:")).isEmpty());
    }

    void everyRecordLogsTheLineQDebugWouldWrite()
    {
        // Plain names take a short way to the log, the others go through QDebug, which quotes
        // and escapes; either way the line is QDebug's, one per record, in list order.
        const QStringList names{QStringLiteral("Berlin 1"),
                                QStringLiteral("Tokyo \"2\""),
                                QStringLiteral("back\\slash"),
                                QString::fromUtf8("Zürich"),
                                QString::fromUtf8("东京 \xF0\x9F\x98\x80"),
                                QString(),
                                QStringLiteral("tab\tinside"),
                                QStringLiteral("~ !#$%&'()*+,-./09:;<=>?@AZ[]^_`az{|}")};
        QJsonArray entries;
        QList<int> sizes;
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray config = QByteArray("remote 127.66.0.1 1194\n").repeated(i * 7);
            sizes << config.size();
            entries.append(QJsonObject{{QStringLiteral("Ip"), QStringLiteral("127.66.0.1")},
                                       {QStringLiteral("Name"), names.at(i)},
                                       {QStringLiteral("Country"), QStringLiteral("JP")},
                                       {QStringLiteral("Ovpn"), ovpnField(config)}});
        }
        const QString text = QString::fromUtf8(
            QJsonDocument(QJsonObject{{QStringLiteral("Servers"), entries}}).toJson());
        bool ok = false;
        const ServerInfoList servers = ServerListLoader::parseServerList(text, &ok);
        QVERIFY(ok);
        QCOMPARE(servers.size(), names.size());
        const QStringList lines = takeLog().filter(QRegularExpression(QStringLiteral("^OVPN:")));
        QCOMPARE(lines.size(), names.size());
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(servers.at(i)->name, names.at(i));
            QCOMPARE(servers.at(i)->ovpn.size(), sizes.at(i));
            QString expected;
            QDebug(&expected) << "OVPN:" << names.at(i) << sizes.at(i) << "characters";
            expected.chop(1); // QDebug's space after the last item
            QCOMPARE(lines.at(i), expected);
        }
        QCOMPARE(lines.at(0), QStringLiteral("OVPN: \"Berlin 1\" 0 characters"));
    }

    void newListReplacesTheOldAndABadOneKeepsIt()
    {
        ServerListLoader loader(QStringLiteral("unused.fg"));
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        QSignalSpy failed(&loader, &ServerListLoader::signalLoadedServerListFailed);

        loader.setServerList(list({server("10.0.0.1", "A"), server("10.0.0.2", "B")}));
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(loader.serverList().size(), 2);
        const ServerInfoPtr first = loader.currentServer();
        QCOMPARE(first->name, QStringLiteral("A"));

        loader.setServerList(QStringLiteral("{\"Servers\": [ broken broken broken ]"));
        QCOMPARE(failed.count(), 1);
        QCOMPARE(loader.serverList().size(), 2);

        loader.setServerList(QStringLiteral("too short"));
        QCOMPARE(failed.count(), 2);
        QCOMPARE(loaded.count(), 1);

        loader.setServerList(list({server("10.0.0.3", "C")}));
        QCOMPARE(loaded.count(), 2);
        QCOMPARE(loader.serverList().size(), 1);
        QCOMPARE(loader.serverList().first()->name, QStringLiteral("C"));
        // Nothing remembered matched: the first one, and the record it replaced stays whole.
        QCOMPARE(loader.currentServer()->name, QStringLiteral("C"));
        QCOMPARE(first->name, QStringLiteral("A"));
    }

    void currentServerFollowsTheRememberedHost()
    {
        ServerListLoader loader(QStringLiteral("unused.fg"));
        const QString three
            = list({server("10.0.0.1", "A"), server("10.0.0.2", "B"), server("10.0.0.3", "C")});

        MConfig::instance()->lastServIp = QStringLiteral("10.0.0.2");
        loader.setServerList(three);
        QCOMPARE(loader.currentServer()->name, QStringLiteral("B"));

        MConfig::instance()->lastServIp.clear();
        loader.setServerList(three);
        QCOMPARE(loader.currentServer()->name, QStringLiteral("A"));
        QCOMPARE(MConfig::instance()->lastServIp, QStringLiteral("10.0.0.1"));

        // An empty list keeps the choice that was made.
        QSignalSpy loaded(&loader, &ServerListLoader::signalLoadedServerList);
        loader.setServerList(QStringLiteral("{\"Servers\":[],\"Note\":\"nothing\"}"));
        QCOMPARE(loaded.count(), 1);
        QVERIFY(loader.serverList().isEmpty());
        QCOMPARE(loader.currentServer()->name, QStringLiteral("A"));
        QVERIFY(loader.findServer(QStringLiteral("10.0.0.1")).isNull());
        QVERIFY(loader.selectServer(QStringLiteral("10.0.0.1")).isNull());
    }
};

QTEST_GUILESS_MAIN(TestServerList)
#include "tst_serverlist.moc"
