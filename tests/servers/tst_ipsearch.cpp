// The geo-IP reader: its three searches against a plain scan on databases the test writes and
// on the real ip.db, and the country lookup built on it. Damaged and truncated files:
// fuzz/ip2region.cpp.

#include "geolookup.h"
#include "ip2region.h"
#include "ipdbwriter.h"
#include "logcapture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

namespace {

using Search = bool (*)(IpRegionHandle &, quint32, IpRegionResult &);
const Search kSearches[]
    = {ip2region_binary_search, ip2region_btree_search, ip2region_memory_search};

// "" when not found, else the city id and the region.
QByteArray outcome(quint32 cityId, const QByteArray &region)
{
    return QByteArray::number(cityId) + ' ' + region;
}

QByteArray run(Search search, IpRegionHandle &handle, quint32 ip)
{
    IpRegionResult result;
    std::memset(result.region, 'x', sizeof result.region); // a missing terminator shows
    return search(handle, ip, result)
        ? outcome(result.cityId,
                  QByteArray(result.region, int(qstrnlen(result.region, sizeof result.region))))
        : QByteArray();
}

// What a correct reader answers, by a plain scan.
QByteArray expected(const QVector<IpDb::Range> &ranges, quint32 ip)
{
    for (const IpDb::Range &r : ranges) {
        if (ip >= r.start && ip <= r.end)
            return r.hasData ? outcome(r.cityId, r.region) : QByteArray();
    }
    return QByteArray();
}

// Block starts and ends, their neighbours (often in gaps) and the middles.
QVector<quint32> probesFor(const QVector<IpDb::Range> &ranges)
{
    QVector<quint32> probes{0u, 0xFFFFFFFFu};
    for (const IpDb::Range &r : ranges) {
        probes << r.start << r.end << r.start + (r.end - r.start) / 2;
        if (r.start > 0)
            probes << r.start - 1;
        if (r.end < 0xFFFFFFFFu)
            probes << r.end + 1;
    }
    return probes;
}

// Lengths that vary, a gap after every fourth range, no data in every fifth, non-ASCII
// regions, and the longest and shortest records a one-byte length allows.
QVector<IpDb::Range> sampleRanges(int count, quint32 first)
{
    const QByteArray regions[] = {"Germany|0|Hessen|Frankfurt|0", "中国|0|广东省|深圳市|电信",
                                  "日本|0|東京都|0|0", "Brasil|0|São Paulo|0|0"};
    QVector<IpDb::Range> ranges;
    quint32 next = first;
    for (int i = 0; i < count; ++i) {
        IpDb::Range r{next, next + quint32(i * 7 % 23), 100 + quint32(i),
                      regions[i % 4] + "|" + QByteArray::number(i), i % 5 != 3};
        if (i == 2)
            r.region = QByteArray(251, 'L');
        else if (i == 4)
            r.region.clear();
        ranges << r;
        next = r.end + 1 + (i % 4 == 1 ? 10 : 0);
    }
    return ranges;
}

} // namespace

Q_DECLARE_METATYPE(IpDb::Range)

class TstIpSearch : public QObject
{
    Q_OBJECT

private slots:
    void ip2longConvertsDottedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("value");
        QTest::newRow("spaces around dots") << " 1 . 2 .3. 4 " << 16909060u;
        QTest::newRow("part too long") << "1234.1.1.1" << 0u;
        QTest::newRow("very long part") << QString(5000, QLatin1Char('9')) << 0u;
    }
    void ip2longConvertsDottedText()
    {
        QFETCH(QString, text);
        QFETCH(quint32, value);
        QCOMPARE(ip2long(text), value);
    }

    void searchesAgreeWithScan_data()
    {
        QTest::addColumn<QVector<IpDb::Range>>("ranges");
        QTest::addColumn<int>("blocksPerHeaderEntry");
        for (const int spacing : {1, 2, 3, 7, 60, 1000})
            QTest::addRow("sample, header every %d", spacing) << sampleRanges(60, 5000) << spacing;
        QTest::newRow("one block") << sampleRanges(1, 77) << 1;
        QTest::newRow("two blocks, one header entry") << sampleRanges(2, 77) << 5;
        QVector<IpDb::Range> whole = sampleRanges(40, 0); // the first and last blocks at the limits
        whole.last().end = 0xFFFFFFFFu;
        for (const int spacing : {1, 100})
            QTest::addRow("whole address space, header every %d", spacing) << whole << spacing;
        // More blocks than the header can list: the last entries are dropped, as in the format.
        QTest::newRow("full header") << sampleRanges(1100, 1) << 1;
    }
    void searchesAgreeWithScan()
    {
        QFETCH(QVector<IpDb::Range>, ranges);
        QFETCH(int, blocksPerHeaderEntry);
        const IpDb::Layout layout = IpDb::build(ranges, blocksPerHeaderEntry);
        QVector<quint32> probes = probesFor(ranges);
        for (const quint32 sip : layout.headerSip)
            probes << sip - 1 << sip << sip + 1;
        // Past the last entry of a full header is outside what the header index covers.
        const quint32 covered = layout.headerSip.size() == 1024 ? layout.headerSip.last() : ~0u;
        // One handle for all three: their lazily loaded state must not disturb each other.
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ip.db"));
        IpRegionHandle handle;
        QVERIFY(IpDb::write(path, layout.bytes) && ip2region_create(handle, path));
        int found = 0;
        for (const quint32 ip : probes) {
            if (ip > covered)
                continue;
            const QByteArray want = expected(ranges, ip);
            found += !want.isEmpty();
            for (const Search search : kSearches)
                QCOMPARE(run(search, handle, ip), want);
        }
        QVERIFY(found > 0);
    }

    void knownAddressesInTheRealDatabase_data()
    {
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("country");
        QTest::newRow("resolver, Nanjing")
            << "114.114.114.114" << QString("中国|0|江苏省|南京市|0") << QString("中国");
        QTest::newRow("resolver, Hangzhou")
            << " 223.5.5.5" << QString("中国|0|浙江省|杭州市|阿里云") << QString("中国");
        QTest::newRow("resolver, USA")
            << "8.8.8.8" << QString("美国|0|0|0|Level3") << QString("美国");
        QTest::newRow("private") << "10.1.2.3" << QString("0|0|0|内网IP|内网IP") << QString("0");
    }
    void knownAddressesInTheRealDatabase()
    {
        QFETCH(QString, ip);
        QFETCH(QString, region);
        QFETCH(QString, country);
        IpRegionHandle handle;
        QVERIFY(ip2region_create(handle, QStringLiteral(QUELLNET_BIN_DIR "/ip.db")));
        for (const auto search : {ip2region_binary_search_string, ip2region_btree_search_string,
                                  ip2region_memory_search_string}) {
            IpRegionResult result;
            QVERIFY(search(handle, ip, result));
            QCOMPARE(QString::fromUtf8(result.region), region);
        }
        // The country lookup reads the copy the build puts beside every executable.
        LogCapture log;
        QString address;
        QCOMPARE(lookupCountry(ip, address), country);
        QCOMPARE(address, QString(region).replace(QLatin1Char('|'), QLatin1Char(',')));
    }

    // The build folder has ip.db beside the program, an installed program in ../share/quellnet;
    // with neither, the name beside the program.
    void databasePathBesideThenInstalled()
    {
        const QTemporaryDir root;
        const QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("bin")) && dir.mkpath(QStringLiteral("share/quellnet")));
        const QString bin = dir.filePath(QStringLiteral("bin"));
        const QString beside = bin + QStringLiteral("/ip.db");
        const QString installed = dir.filePath(QStringLiteral("share/quellnet/ip.db"));
        QCOMPARE(geoDatabasePath(bin), beside);
        QVERIFY(IpDb::write(installed, "x"));
        QCOMPARE(geoDatabasePath(bin), installed);
        QVERIFY(IpDb::write(beside, "x"));
        QCOMPARE(geoDatabasePath(bin), beside);
    }
};

QTEST_GUILESS_MAIN(TstIpSearch)
#include "tst_ipsearch.moc"
