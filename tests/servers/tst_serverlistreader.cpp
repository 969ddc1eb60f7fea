// The quick server-list reader against the QJsonDocument path: whatever the reader accepts,
// the document accepts with the same texts, and parseServerList() gives the same records and
// log lines either way.

#include "logcapture.h"
#include "mdeploy.h"
#include "serverdir.h"
#include "serverinfo.h"
#include "serverlistloader.h"
#include "serverlistreader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
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
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("accepted what the document refuses: ") + error.errorString();
    const QJsonArray servers = document.object().value(QLatin1String("Servers")).toArray();
    if (entries.size() != servers.size())
        return QStringLiteral("%1 entries, the document has %2")
            .arg(entries.size())
            .arg(servers.size());
    QString diff;
    const char *const keys[] = {"Ip", "Name", "Country", "Ovpn"};
    for (int i = 0; i < servers.size(); ++i) {
        const RawServerEntry &e = entries.at(i);
        const QString got[] = {e.ip, e.name, e.country, e.ovpn};
        for (int k = 0; k < 4; ++k) {
            const QString want = servers.at(i).toObject().value(QLatin1String(keys[k])).toString();
            if (got[k] != want || got[k].isNull() != want.isNull())
                diff += QStringLiteral("%1 %2: %3 (null %4), expected %5; ")
                            .arg(i)
                            .arg(QLatin1String(keys[k]), got[k])
                            .arg(got[k].isNull())
                            .arg(want);
        }
    }
    return diff;
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

    // The random mutations and every-truncation tests cover the rest.
    void handWrittenTextsAgree_data()
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
    }

    void handWrittenTextsAgree()
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

    void backendListsTakeTheFastPath_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("demo") << demoList();
        QTest::newRow("varied names") << variedList();
    }

    void backendListsTakeTheFastPath()
    {
        QFETCH(QString, text);
        QVERIFY(text.size() > 100);
        bool fast = false;
        const QString diff = difference(text, &fast);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        QVERIFY(fast);
        bool ok = false;
        const ServerInfoList list = ServerListLoader::parseServerList(text, &ok);
        QVERIFY(ok);
        QVERIFY(!list.isEmpty());
        for (const ServerInfoPtr &info : list)
            QVERIFY2(info->ovpn.contains(QLatin1String("remote")), qPrintable(info->name));
    }

    void everyTruncationIsRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("demo") << demoList();
        QTest::newRow("varied names") << variedList();
        QTest::newRow("escapes and numbers")
            << QStringLiteral("{\"N\":[-1.5e+3,true,false,null,{\"a\":{}}],\"Servers\":[{\"Ip\":"
                              "\"1\",\"Name\":\"\\ud83d\\ude00\\u00e9\\n\"},[]]}");
    }

    void everyTruncationIsRefused()
    {
        QFETCH(QString, text);
        for (int cut = 0; cut < text.size(); ++cut) {
            const QString part = text.left(cut);
            bool fast = false;
            const QString diff = difference(part, &fast);
            QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("cut %1: ").arg(cut) + diff));
            QVERIFY2(!fast, qPrintable(part));
        }
    }

    void randomMutationsAgree()
    {
        const QString base = variedList();
        QVERIFY(!base.isEmpty());
        // Pieces that make or break JSON, with a few characters the reader refuses.
        QStringList pieces
            = QStringLiteral("\" { } [ ] , : \\ \\u \\ud83d \\ude00 0 - e . null true 1e5 "
                             "\"Ip\":\"9.9.9.9\", \"Name\": \"Servers\":[], {} []")
                  .split(QLatin1Char(' '));
        pieces << QStringLiteral(" ") << QStringLiteral("\t");
        for (const ushort c : {0, 0x1f, 0xe9, 0xd800, 0xdc00, 0xffff, 0xfeff})
            pieces << QString(QChar(c));
        QRandomGenerator random(20261206);
        constexpr int kMutations = 3000;
        int fastCount = 0;
        for (int n = 0; n < kMutations; ++n) {
            QString text = base;
            const int edits = 1 + int(random.bounded(3));
            for (int e = 0; e < edits && !text.isEmpty(); ++e) {
                const int at = int(random.bounded(text.size()));
                switch (random.bounded(3)) {
                case 0: // flip one character
                    text[at] = pieces.at(int(random.bounded(pieces.size()))).at(0);
                    break;
                case 1: // delete one to three
                    text.remove(at, 1 + int(random.bounded(3)));
                    break;
                default:
                    text.insert(at, pieces.at(int(random.bounded(pieces.size()))));
                    break;
                }
            }
            bool fast = false;
            const QString diff = difference(text, &fast);
            QVERIFY2(diff.isEmpty(),
                     qPrintable(QStringLiteral("mutation %1: %2\n%3").arg(n).arg(diff, text)));
            fastCount += fast;
        }
        // Both outcomes must have been exercised, or the loop proved little.
        QVERIFY(fastCount > kMutations / 10);
        QVERIFY(fastCount < kMutations - kMutations / 10);
    }

private:
    std::unique_ptr<LogCapture> m_log;
};

QTEST_GUILESS_MAIN(TestServerListReader)
#include "tst_serverlistreader.moc"
