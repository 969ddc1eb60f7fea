// The quick server-list reader against the QJsonDocument path on texts the fuzzing does not
// reach (fuzz/serverlist.cpp holds the same agreement for arbitrary text, truncations and
// mutations included): hand-picked texts and the lists the backend writes.

#include "logcapture.h"
#include "mdeploy.h"
#include "serverdir.h"
#include "serverinfo.h"
#include "serverlistloader.h"
#include "serverlistreader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <memory>

namespace {

// Empty when the reader and the document agree on text (the same texts, null where the
// document has no string), else what differs. fast: whether the reader took the text, as
// parseServerList() must then have done.
QString difference(const QString &text, bool *fast)
{
    QVector<RawServerEntry> entries;
    *fast = readServerListFast(text, &entries);
    const int readsBefore = serverListFastReads();
    bool ok = false;
    ServerListLoader::parseServerList(text, &ok);
    LogCapture::take();
    if ((serverListFastReads() != readsBefore) != (*fast && text.size() >= 30))
        return QStringLiteral("parseServerList took the other path");
    if (!*fast)
        return entries.isEmpty() ? QString() : QStringLiteral("a refused text left entries");
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    const QJsonArray servers = document.object().value(QLatin1String("Servers")).toArray();
    if (error.error != QJsonParseError::NoError || entries.size() != servers.size())
        return QStringLiteral("%1 entries, the document: %2, %3 servers")
            .arg(entries.size())
            .arg(error.errorString())
            .arg(servers.size());
    const char *const keys[] = {"Ip", "Name", "Country", "Ovpn"};
    for (int i = 0; i < servers.size(); ++i) {
        const RawServerEntry &e = entries.at(i);
        const QString got[] = {e.ip, e.name, e.country, e.ovpn};
        for (int k = 0; k < 4; ++k) {
            const QString want = servers.at(i).toObject().value(QLatin1String(keys[k])).toString();
            if (got[k] != want || got[k].isNull() != want.isNull())
                return QStringLiteral("%1 %2: %3, expected %4")
                    .arg(i)
                    .arg(QLatin1String(keys[k]), got[k], want);
        }
    }
    return QString();
}

// The list the reference backend serves for the given servers.
QString backendList(const std::vector<backend::ServerEntry> &entries)
{
    return QString::fromStdString(
        backend::serverListJson(entries, Deploy::ovpnKey().toStdString()));
}

QString demoList()
{
    std::vector<backend::ServerEntry> entries;
    std::vector<std::string> warnings;
    if (!backend::loadServerFolder(QUELLNET_BACKEND_DEMO_DIR, entries, warnings))
        return QString();
    return backendList(entries);
}

// Names the backend escapes or passes through as UTF-8.
QString variedList()
{
    const char *const names[] = {
        "Tokyo 1",          "S\xc3\xa3o Paulo", "\xe6\x9d\xb1\xe4\xba\xac", "Quote \" and \\ slash",
        "Tab\tNew\nline\r", "Bell\x07",         "Emoji \xf0\x9f\x98\x80",   " padded "};
    std::vector<backend::ServerEntry> entries;
    int i = 0;
    for (const char *name : names) {
        ++i;
        backend::ServerEntry entry;
        entry.ip = "127.3.0." + std::to_string(i);
        entry.name = name;
        entry.country = i % 2 ? "JP" : "";
        entry.config = "client\nremote " + entry.ip + " 1194\n";
        entries.push_back(entry);
    }
    return backendList(entries);
}

const QString kEntry = QStringLiteral("{\"Ip\":\"10.0.0.1\",\"Name\":\"A\",\"Country\":\"JP\"}");

} // namespace

class TestServerListReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        m_log = std::make_unique<LogCapture>();
    }
    void cleanupTestCase() { m_log.reset(); }

    void textsAgree_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fast");
        const auto servers = [](const QString &inside) -> QString {
            return QStringLiteral("{\"Servers\":[") + inside + QStringLiteral("]}");
        };
        const auto withName = [&](const QString &name) -> QString {
            return servers(QStringLiteral("{\"Ip\":\"10.0.0.1\",\"Name\":\"") + name
                           + QStringLiteral("\",\"Country\":\"JP\"}"));
        };

        QTest::newRow("plain") << servers(kEntry) << true;
        QTest::newRow("escapes") << withName(
            QStringLiteral("\\\" \\\\ \\/ \\b \\f \\n \\r \\t \\u00e9 x"))
                                 << true;
        QTest::newRow("raw non-ASCII")
            << withName(QStringLiteral("S\u00e3o \u6771\u4eac \U0001F600")) << true;
        QTest::newRow("non-string fields") << servers(
            QStringLiteral("{\"Ip\":1,\"Name\":null,\"Country\":true,\"Ovpn\":{\"x\":[1]}}"))
                                           << true;
        QTest::newRow("non-object elements") << servers(QStringLiteral("1,\"x\",null,[],{},true,")
                                                        + kEntry + QStringLiteral(",[{}]"))
                                             << true;
        QTest::newRow("trailing garbage") << servers(kEntry) + QStringLiteral("x") << false;
        QTest::newRow("repeated Servers")
            << QStringLiteral("{\"Servers\":[],\"Servers\":[") + kEntry + QStringLiteral("]}")
            << false;
        QTest::newRow("too deep for the document")
            << servers(QString(2000, QLatin1Char('[')) + QString(2000, QLatin1Char(']'))) << false;
        // What the backend writes always takes the quick path (an empty text would not).
        QTest::newRow("backend: demo list") << demoList() << true;
        QTest::newRow("backend: varied names") << variedList() << true;
    }

    void textsAgree()
    {
        QFETCH(QString, text);
        QFETCH(bool, fast);
        bool tookFast = false;
        const QString diff = difference(text, &tookFast);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        QCOMPARE(tookFast, fast);
    }

    void fastRecordsMatchTheDocument()
    {
        // A few values checked by hand, so that agreement is not agreement on nonsense.
        QVector<RawServerEntry> entries;
        QVERIFY(readServerListFast(
            QStringLiteral("{\"Servers\":[{\"Ip\":\" 1.2.3.4 \",\"Name\":\"\\u00e9\\ud83d\\ude00"
                           "\\\"\\/\",\"Country\":7},3]}"),
            &entries));
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).ip, QStringLiteral(" 1.2.3.4 "));
        QCOMPARE(entries.at(0).name, QStringLiteral("\u00e9\U0001F600\"/"));
        QVERIFY(entries.at(0).country.isNull());
        QVERIFY(entries.at(0).ovpn.isNull());
        QVERIFY(entries.at(1).ip.isNull());
    }

private:
    std::unique_ptr<LogCapture> m_log;
};

QTEST_GUILESS_MAIN(TestServerListReader)
#include "tst_serverlistreader.moc"
