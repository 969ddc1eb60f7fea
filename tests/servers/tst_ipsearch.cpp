#include "ip2region.h"
#include "ipdbwriter.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <functional>

Q_DECLARE_METATYPE(IpDb::Range)

namespace {

enum class Search { File, Header, Memory };

struct Outcome
{
    bool found = false;
    quint32 cityId = 0;
    QByteArray region;

    bool operator==(const Outcome &other) const
    {
        return found == other.found && cityId == other.cityId && region == other.region;
    }
};

char *describe(const Outcome &o)
{
    const QByteArray text = o.found ? "found " + QByteArray::number(o.cityId) + " " + o.region
                                    : QByteArray("not found");
    return qstrdup(text.constData());
}

} // namespace

namespace QTest {
template<>
char *toString(const Outcome &o)
{
    return describe(o);
}
} // namespace QTest

namespace {

const Search kSearches[] = {Search::File, Search::Header, Search::Memory};

const char *searchName(Search s)
{
    switch (s) {
    case Search::File:
        return "file index";
    case Search::Header:
        return "header index";
    case Search::Memory:
        return "whole file";
    }
    return "?";
}

Outcome run(Search s, IpRegionHandle &handle, quint32 ip)
{
    IpRegionResult result;
    std::memset(result.region, 'x', sizeof result.region); // a missing terminator shows
    bool found = false;
    switch (s) {
    case Search::File:
        found = ip2region_binary_search(handle, ip, result);
        break;
    case Search::Header:
        found = ip2region_btree_search(handle, ip, result);
        break;
    case Search::Memory:
        found = ip2region_memory_search(handle, ip, result);
        break;
    }
    Outcome o;
    if (found) {
        o.found = true;
        o.cityId = result.cityId;
        o.region = QByteArray(result.region, int(qstrnlen(result.region, sizeof result.region)));
    }
    return o;
}

// What a correct reader must answer, by a plain scan of the ranges.
Outcome expected(const QVector<IpDb::Range> &ranges, quint32 ip)
{
    for (const IpDb::Range &r : ranges) {
        if (ip >= r.start && ip <= r.end) {
            if (!r.hasData)
                return Outcome();
            return Outcome{true, r.cityId, r.region};
        }
    }
    return Outcome();
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

// Ranges from `first` on, with lengths that vary, a gap after every fourth and no data in
// every fifth; region texts include non-ASCII ones.
QVector<IpDb::Range> sampleRanges(int count, quint32 first)
{
    const QByteArray regions[] = {
        QByteArray("Germany|0|Hessen|Frankfurt|0"),
        QByteArray("中国|0|广东省|深圳市|电信"),
        QByteArray("日本|0|東京都|0|0"),
        QByteArray("Brasil|0|São Paulo|0|0"),
    };
    QVector<IpDb::Range> ranges;
    quint32 next = first;
    for (int i = 0; i < count; ++i) {
        IpDb::Range r;
        r.start = next;
        r.end = next + quint32(i * 7 % 23);
        r.cityId = 100 + quint32(i);
        r.region = regions[i % 4] + "|" + QByteArray::number(i);
        r.hasData = i % 5 != 3;
        ranges << r;
        next = r.end + 1 + (i % 4 == 1 ? 10 : 0);
    }
    return ranges;
}

// Ranges from 0 to the top address, so the first and the last block sit at the limits.
QVector<IpDb::Range> fullSpaceRanges(int count)
{
    QVector<IpDb::Range> ranges;
    const quint32 step = 0xFFFFFFFFu / quint32(count);
    for (int i = 0; i < count; ++i) {
        IpDb::Range r;
        r.start = quint32(i) * step;
        r.end = i == count - 1 ? 0xFFFFFFFFu : quint32(i + 1) * step - 1;
        r.cityId = quint32(i);
        r.region = "Country" + QByteArray::number(i) + "|0|0|0|0";
        ranges << r;
    }
    return ranges;
}

QString realDatabasePath()
{
    return QStringLiteral(QUELLNET_BIN_DIR "/ip.db");
}

// The ranges of a database read straight from its bytes, for a plain in-memory oracle.
QVector<IpDb::Range> readRanges(const QString &path)
{
    QVector<IpDb::Range> ranges;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ranges;
    const QByteArray db = file.readAll();
    if (db.size() < 8)
        return ranges;
    const quint32 first = IpDb::getUInt(db, 0);
    const quint32 last = IpDb::getUInt(db, 4);
    for (quint32 at = first; at <= last && at + 12 <= quint32(db.size()); at += 12) {
        IpDb::Range r;
        r.start = IpDb::getUInt(db, int(at));
        r.end = IpDb::getUInt(db, int(at + 4));
        const quint32 ptr = IpDb::getUInt(db, int(at + 8));
        const int offset = int(ptr & 0xFFFFFF);
        const int length = int(ptr >> 24);
        r.hasData = ptr != 0 && length >= 4 && offset + length <= db.size();
        if (r.hasData) {
            r.cityId = IpDb::getUInt(db, offset);
            r.region = db.mid(offset + 4, length - 4);
        }
        ranges << r;
    }
    return ranges;
}

} // namespace

class TstIpSearch : public QObject
{
    Q_OBJECT

private slots:
    void ip2longConvertsDottedText_data();
    void ip2longConvertsDottedText();

    void searchesAgreeWithScanOnEveryBoundary_data();
    void searchesAgreeWithScanOnEveryBoundary();
    void headerEntryAddressesAreFoundByEverySearch();
    void blockWithoutDataIsNotFound();
    void recordsAtTheLengthLimitsAreRead();
    void stringVariantsConvertFirst();

    void realDatabaseMapsPublicDnsToChina();
    void realDatabaseSearchesAgreeOnRandomAddresses();

    void missingFileCannotBeOpened();
    void tinyOrEmptyFileIsNotFound();
    void truncatedDatabaseIsNotFound();
    void damagedIndexOrDataPointersAreNotFound_data();
    void damagedIndexOrDataPointersAreNotFound();
    void damagedHeaderIndexNeverGivesWrongAnswers_data();
    void damagedHeaderIndexNeverGivesWrongAnswers();
    void destroyedHandleFindsNothing();

private:
    QString writeDb(const QByteArray &bytes);
    void checkAllSearches(const QString &path, const QVector<IpDb::Range> &ranges,
                          const QVector<quint32> &probes);

    QTemporaryDir m_dir;
    int m_files = 0;
};

QString TstIpSearch::writeDb(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("db%1.db").arg(m_files++));
    if (!IpDb::write(path, bytes))
        return QString();
    return path;
}

void TstIpSearch::checkAllSearches(const QString &path, const QVector<IpDb::Range> &ranges,
                                   const QVector<quint32> &probes)
{
    // One handle for all three: their lazily loaded state must not disturb each other.
    IpRegionHandle handle;
    QVERIFY(ip2region_create(handle, path));
    for (const quint32 ip : probes) {
        const Outcome want = expected(ranges, ip);
        for (const Search s : kSearches) {
            const Outcome got = run(s, handle, ip);
            if (!(got == want)) {
                qWarning() << searchName(s) << "at" << ip;
                QCOMPARE(got, want);
            }
        }
    }
}

void TstIpSearch::ip2longConvertsDottedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("value");
    QTest::newRow("plain") << "1.2.3.4" << 16909060u;
    QTest::newRow("spaces around dots") << " 1 . 2 .3. 4 " << 16909060u;
    QTest::newRow("part too long") << "1234.1.1.1" << 0u;
    QTest::newRow("last part too long") << "1.1.1.1234" << 0u;
    QTest::newRow("top address") << "255.255.255.255" << 0xFFFFFFFFu;
    QTest::newRow("zero") << "0.0.0.0" << 0u;
    QTest::newRow("public dns") << "114.114.114.114" << 0x72727272u;
    QTest::newRow("empty") << "" << 0u;
    QTest::newRow("very long part") << QString(5000, QLatin1Char('9')) << 0u;
}

void TstIpSearch::ip2longConvertsDottedText()
{
    QFETCH(QString, text);
    QFETCH(quint32, value);
    QCOMPARE(ip2long(text), value);
}

void TstIpSearch::searchesAgreeWithScanOnEveryBoundary_data()
{
    QTest::addColumn<QVector<IpDb::Range>>("ranges");
    QTest::addColumn<int>("blocksPerHeaderEntry");
    const QVector<IpDb::Range> sample = sampleRanges(60, 5000);
    for (const int spacing : {1, 2, 3, 5, 7, 59, 60, 1000})
        QTest::addRow("sample, header every %d", spacing) << sample << spacing;
    QTest::newRow("one block") << sampleRanges(1, 77) << 1;
    QTest::newRow("two blocks") << sampleRanges(2, 77) << 1;
    QTest::newRow("two blocks, one header entry per both") << sampleRanges(2, 77) << 5;
    for (const int spacing : {1, 4, 100})
        QTest::addRow("whole address space, header every %d", spacing)
            << fullSpaceRanges(40) << spacing;
    // More blocks than the header can list: the last entries are dropped, as in the format.
    QTest::newRow("full header") << sampleRanges(1100, 1) << 1;
}

void TstIpSearch::searchesAgreeWithScanOnEveryBoundary()
{
    QFETCH(QVector<IpDb::Range>, ranges);
    QFETCH(int, blocksPerHeaderEntry);
    const IpDb::Layout layout = IpDb::build(ranges, blocksPerHeaderEntry);
    const QString path = writeDb(layout.bytes);
    QVERIFY(!path.isEmpty());
    QVector<quint32> probes = probesFor(ranges);
    if (layout.headerSip.size() == 1024) {
        // Addresses past the last header entry are outside what the header index covers.
        const quint32 covered = layout.headerSip.last();
        probes.erase(std::remove_if(probes.begin(), probes.end(),
                                    [covered](quint32 ip) { return ip > covered; }),
                     probes.end());
    }
    checkAllSearches(path, ranges, probes);
}

void TstIpSearch::headerEntryAddressesAreFoundByEverySearch()
{
    const QVector<IpDb::Range> ranges = sampleRanges(50, 300);
    for (const int spacing : {1, 3, 8}) {
        const IpDb::Layout layout = IpDb::build(ranges, spacing);
        const QString path = writeDb(layout.bytes);
        QVERIFY(!path.isEmpty());
        QVector<quint32> probes;
        for (const quint32 sip : layout.headerSip)
            probes << sip - 1 << sip << sip + 1;
        checkAllSearches(path, ranges, probes);
        // Guard against a vacuous pass: the entry addresses themselves are found.
        IpRegionHandle handle;
        QVERIFY(ip2region_create(handle, path));
        IpRegionResult result;
        QVERIFY(ip2region_btree_search(handle, layout.headerSip.first(), result));
        QVERIFY(ip2region_btree_search(handle, layout.headerSip.last(), result));
    }
}

void TstIpSearch::blockWithoutDataIsNotFound()
{
    QVector<IpDb::Range> ranges = sampleRanges(3, 10);
    for (IpDb::Range &r : ranges)
        r.hasData = true;
    ranges[1].hasData = false;
    const QString path = writeDb(IpDb::build(ranges, 1).bytes);
    IpRegionHandle handle;
    QVERIFY(ip2region_create(handle, path));
    for (const Search s : kSearches) {
        QVERIFY(run(s, handle, ranges[0].end).found);
        QVERIFY(!run(s, handle, ranges[1].start).found);
        QVERIFY(!run(s, handle, ranges[1].end).found);
        QVERIFY(run(s, handle, ranges[2].start).found);
    }
}

void TstIpSearch::recordsAtTheLengthLimitsAreRead()
{
    QVector<IpDb::Range> ranges = sampleRanges(3, 10);
    for (IpDb::Range &r : ranges)
        r.hasData = true;
    ranges[0].region = QByteArray(251, 'L'); // the longest a one-byte length allows
    ranges[1].region.clear(); // city id only
    const QString path = writeDb(IpDb::build(ranges, 2).bytes);
    IpRegionHandle handle;
    QVERIFY(ip2region_create(handle, path));
    for (const Search s : kSearches) {
        const Outcome longest = run(s, handle, ranges[0].start);
        QVERIFY(longest.found);
        QCOMPARE(longest.region, ranges[0].region);
        const Outcome empty = run(s, handle, ranges[1].start);
        QVERIFY(empty.found);
        QCOMPARE(empty.cityId, ranges[1].cityId);
        QVERIFY(empty.region.isEmpty());
    }
}

void TstIpSearch::stringVariantsConvertFirst()
{
    IpDb::Range r;
    r.start = ip2long(QStringLiteral("10.0.0.0"));
    r.end = ip2long(QStringLiteral("10.0.0.255"));
    r.cityId = 9;
    r.region = "Private|0|0|0|0";
    const QString path = writeDb(IpDb::build({r}, 1).bytes);
    IpRegionHandle handle;
    QVERIFY(ip2region_create(handle, path));
    IpRegionResult result;
    QVERIFY(ip2region_binary_search_string(handle, QStringLiteral("10.0.0.7"), result));
    QCOMPARE(QByteArray(result.region), r.region);
    QVERIFY(ip2region_btree_search_string(handle, QStringLiteral("10.0.0.255"), result));
    QCOMPARE(QByteArray(result.region), r.region);
    QVERIFY(ip2region_memory_search_string(handle, QStringLiteral(" 10.0.0.0"), result));
    QCOMPARE(QByteArray(result.region), r.region);
    QVERIFY(!ip2region_binary_search_string(handle, QStringLiteral("10.0.1.0"), result));
    QVERIFY(!ip2region_btree_search_string(handle, QStringLiteral("9.255.255.255"), result));
    QVERIFY(!ip2region_memory_search_string(handle, QStringLiteral("1000.0.0.1"), result));
}

void TstIpSearch::realDatabaseMapsPublicDnsToChina()
{
    IpRegionHandle handle;
    QVERIFY2(ip2region_create(handle, realDatabasePath()), qPrintable(realDatabasePath()));
    for (const Search s : kSearches) {
        IpRegionResult result;
        bool found = false;
        const QString ip = QStringLiteral("114.114.114.114");
        if (s == Search::File)
            found = ip2region_binary_search_string(handle, ip, result);
        else if (s == Search::Header)
            found = ip2region_btree_search_string(handle, ip, result);
        else
            found = ip2region_memory_search_string(handle, ip, result);
        QVERIFY2(found, searchName(s));
        const QString region = QString::fromUtf8(result.region);
        QVERIFY2(region.startsWith(QStringLiteral("中国")), qPrintable(region));
    }
}

void TstIpSearch::realDatabaseSearchesAgreeOnRandomAddresses()
{
    const QVector<IpDb::Range> ranges = readRanges(realDatabasePath());
    QVERIFY(ranges.size() > 1000);
    const auto oracle = [&ranges](quint32 ip) {
        auto it = std::upper_bound(ranges.cbegin(), ranges.cend(), ip,
                                   [](quint32 v, const IpDb::Range &r) { return v < r.start; });
        if (it == ranges.cbegin() || ip > (it - 1)->end || !(it - 1)->hasData)
            return Outcome();
        --it;
        return Outcome{true, it->cityId, it->region};
    };

    IpRegionHandle handle;
    QVERIFY(ip2region_create(handle, realDatabasePath()));
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    QVector<quint32> probes;
    for (int i = 0; i < 100000; ++i)
        probes << random.generate();
    // The few holes between ranges are rare targets for random addresses: add their edges.
    for (int i = 1; i < ranges.size(); ++i) {
        if (ranges[i].start != ranges[i - 1].end + 1)
            probes << ranges[i - 1].end << ranges[i - 1].end + 1 << ranges[i].start - 1
                   << ranges[i].start;
    }
    int found = 0;
    for (const quint32 ip : probes) {
        const Outcome want = oracle(ip);
        const Outcome file = run(Search::File, handle, ip);
        const Outcome header = run(Search::Header, handle, ip);
        const Outcome memory = run(Search::Memory, handle, ip);
        // Compared first: QCOMPARE formats both values even when they are equal.
        if (!(file == want) || !(header == want) || !(memory == want)) {
            qWarning() << "seed" << seed << "address" << ip;
            QCOMPARE(file, want);
            QCOMPARE(header, want);
            QCOMPARE(memory, want);
        }
        found += file.found ? 1 : 0;
    }
    // Guard against a vacuous pass: nearly every address has a region.
    QVERIFY(found > probes.size() * 9 / 10);
}

void TstIpSearch::missingFileCannotBeOpened()
{
    IpRegionHandle handle;
    QVERIFY(!ip2region_create(handle, m_dir.filePath(QStringLiteral("absent.db"))));
    QVERIFY(!handle.dbFile);
    QVERIFY(!handle.headerSip);
    QVERIFY(!handle.headerPtr);
    IpRegionResult result;
    QVERIFY(!ip2region_binary_search(handle, 1, result));
    QVERIFY(!ip2region_btree_search(handle, 1, result));
    QVERIFY(!ip2region_memory_search(handle, 1, result));
}

void TstIpSearch::tinyOrEmptyFileIsNotFound()
{
    for (const QByteArray &bytes : {QByteArray(), QByteArray("\x01", 1), QByteArray(7, '\xff'),
                                    QByteArray(8, '\0'), QByteArray(20, '\x0c')}) {
        const QString path = writeDb(bytes);
        IpRegionHandle handle;
        QVERIFY(ip2region_create(handle, path));
        for (const Search s : kSearches) {
            QVERIFY(!run(s, handle, 0).found);
            QVERIFY(!run(s, handle, 0x0C0C0C0C).found);
        }
    }
}

void TstIpSearch::truncatedDatabaseIsNotFound()
{
    const QVector<IpDb::Range> ranges = sampleRanges(40, 1000);
    const IpDb::Layout layout = IpDb::build(ranges, 3);
    const int size = layout.bytes.size();
    QVector<int> lengths{0, 1, 4, 7, 8, 9, 100, 8199, 8200, 8201};
    for (int length = int(layout.firstIndexPtr) - 40; length < size; ++length)
        lengths << length; // the last records and every cut through the index
    const QVector<quint32> probes = probesFor(ranges);
    for (const int length : lengths) {
        const QString path = writeDb(layout.bytes.left(length));
        IpRegionHandle handle;
        QVERIFY(ip2region_create(handle, path));
        for (const quint32 ip : probes) {
            for (const Search s : kSearches) {
                if (run(s, handle, ip).found)
                    QFAIL(qPrintable(QStringLiteral("%1 found %2 in a file cut to %3 bytes")
                                         .arg(QLatin1String(searchName(s)))
                                         .arg(ip)
                                         .arg(length)));
            }
        }
        QFile::remove(path);
    }
}

using Damage = std::function<void(IpDb::Layout &)>;
Q_DECLARE_METATYPE(Damage)

void TstIpSearch::damagedIndexOrDataPointersAreNotFound_data()
{
    QTest::addColumn<Damage>("damage");
    const auto setHead = [](quint32 first, quint32 last) {
        return Damage([first, last](IpDb::Layout &l) {
            IpDb::putUInt(l.bytes, 0, first == 1 ? l.lastIndexPtr + 12 : first);
            IpDb::putUInt(l.bytes, 4, last == 1 ? l.firstIndexPtr : last);
        });
    };
    // 1 stands for "the other pointer" in setHead, to build first > last.
    QTest::newRow("first after last") << setHead(1, 1);
    QTest::newRow("first pointer zero") << setHead(0, 0);
    QTest::newRow("both pointers past the end") << setHead(0x7FFFFFF0u, 0x7FFFFFFCu);
    QTest::newRow("huge block count") << setHead(8, 0xFFFFFFF0u);
    QTest::newRow("last pointer at the end")
        << Damage([](IpDb::Layout &l) { IpDb::putUInt(l.bytes, 4, quint32(l.bytes.size())); });
    QTest::newRow("last block cut short")
        << Damage([](IpDb::Layout &l) { IpDb::putUInt(l.bytes, 4, quint32(l.bytes.size() - 11)); });
    const auto setAllDataPtrs = [](std::function<quint32(const IpDb::Layout &)> value) {
        return Damage([value](IpDb::Layout &l) {
            const quint32 ptr = value(l);
            for (quint32 at = l.firstIndexPtr; at <= l.lastIndexPtr; at += 12)
                IpDb::putUInt(l.bytes, int(at + 8), ptr);
        });
    };
    QTest::newRow("data offset past the end") << setAllDataPtrs(
        [](const IpDb::Layout &l) { return (20u << 24) | quint32(l.bytes.size() + 100); });
    QTest::newRow("data length past the end") << setAllDataPtrs(
        [](const IpDb::Layout &l) { return (255u << 24) | quint32(l.bytes.size() - 10); });
    QTest::newRow("data offset at the top")
        << setAllDataPtrs([](const IpDb::Layout &) { return 0xFFFFFFFFu; });
    QTest::newRow("data shorter than the city id")
        << setAllDataPtrs([](const IpDb::Layout &) { return (3u << 24) | 8200u; });
}

void TstIpSearch::damagedIndexOrDataPointersAreNotFound()
{
    QFETCH(Damage, damage);
    QVector<IpDb::Range> ranges = sampleRanges(30, 4000);
    IpDb::Layout layout = IpDb::build(ranges, 4);
    damage(layout);
    const QString path = writeDb(layout.bytes);
    IpRegionHandle handle;
    QVERIFY(ip2region_create(handle, path));
    for (const quint32 ip : probesFor(ranges)) {
        for (const Search s : kSearches)
            QVERIFY2(!run(s, handle, ip).found, searchName(s));
    }
}

void TstIpSearch::damagedHeaderIndexNeverGivesWrongAnswers_data()
{
    QTest::addColumn<Damage>("damage");
    const auto setHeaderPtr = [](int entry, std::function<quint32(const IpDb::Layout &)> value) {
        return Damage([entry, value](IpDb::Layout &l) {
            IpDb::putUInt(l.bytes, 8 + 8 * entry + 4, value(l));
        });
    };
    QTest::newRow("pointer past the end")
        << setHeaderPtr(2, [](const IpDb::Layout &l) { return quint32(l.bytes.size() + 1000); });
    QTest::newRow("pointer at the top")
        << setHeaderPtr(1, [](const IpDb::Layout &) { return 0xFFFFFFFFu; });
    QTest::newRow("pointer into the data")
        << setHeaderPtr(0, [](const IpDb::Layout &) { return 8200u; });
    QTest::newRow("pointer between blocks")
        << setHeaderPtr(1, [](const IpDb::Layout &l) { return l.headerPtr[1] + 5; });
    QTest::newRow("pointers reversed") << Damage([](IpDb::Layout &l) {
        IpDb::putUInt(l.bytes, 8 + 4, l.headerPtr[3]);
        IpDb::putUInt(l.bytes, 8 + 3 * 8 + 4, l.headerPtr[0]);
    });
    QTest::newRow("start addresses out of order") << Damage([](IpDb::Layout &l) {
        IpDb::putUInt(l.bytes, 8 + 8, 0xFFFFFFFFu);
        IpDb::putUInt(l.bytes, 8 + 16, 0);
    });
    QTest::newRow("one entry spanning the file") << Damage([](IpDb::Layout &l) {
        IpDb::putUInt(l.bytes, 8 + 4, 8);
        IpDb::putUInt(l.bytes, 8 + 8 + 4, quint32(l.bytes.size() - 12));
    });
    QTest::newRow("header empty") << setHeaderPtr(0, [](const IpDb::Layout &) { return 0u; });
}

void TstIpSearch::damagedHeaderIndexNeverGivesWrongAnswers()
{
    QFETCH(Damage, damage);
    QVector<IpDb::Range> ranges = sampleRanges(30, 4000);
    IpDb::Layout layout = IpDb::build(ranges, 4);
    damage(layout);
    const QString path = writeDb(layout.bytes);
    IpRegionHandle handle;
    QVERIFY(ip2region_create(handle, path));
    int headerMisses = 0;
    for (const quint32 ip : probesFor(ranges)) {
        const Outcome want = expected(ranges, ip);
        // The index itself is intact, so these two still answer correctly.
        QCOMPARE(run(Search::File, handle, ip), want);
        QCOMPARE(run(Search::Memory, handle, ip), want);
        const Outcome header = run(Search::Header, handle, ip);
        if (header.found)
            QCOMPARE(header, want);
        else if (want.found)
            ++headerMisses;
    }
    QVERIFY(headerMisses > 0);
}

void TstIpSearch::destroyedHandleFindsNothing()
{
    const QVector<IpDb::Range> ranges = sampleRanges(10, 50);
    const QString path = writeDb(IpDb::build(ranges, 2).bytes);
    IpRegionHandle handle;
    QVERIFY(ip2region_create(handle, path));
    for (const Search s : kSearches)
        QVERIFY(run(s, handle, ranges[0].start).found);
    QVERIFY(ip2region_destroy(handle));
    QVERIFY(ip2region_destroy(handle));
    for (const Search s : kSearches)
        QVERIFY(!run(s, handle, ranges[0].start).found);
    // A handle can be opened again after it was released.
    QVERIFY(ip2region_create(handle, path));
    for (const Search s : kSearches)
        QVERIFY(run(s, handle, ranges[0].start).found);
}

QTEST_GUILESS_MAIN(TstIpSearch)
#include "tst_ipsearch.moc"
