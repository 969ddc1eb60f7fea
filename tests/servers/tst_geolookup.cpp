#include "geolookup.h"
#include "ipdbwriter.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtTest>

class TstGeoLookup : public QObject
{
    Q_OBJECT

private slots:
    void countryIsTheFirstRegionPart();
    void addressOutsideEveryRangeIsUnknown();
    void blankRegionIsUnknown();
    void missingDatabaseIsUnknownAndLogged();
    void databaseBesideTheProgramIsUsed();

private:
    QString writeDb(const QVector<IpDb::Range> &ranges);

    QTemporaryDir m_dir;
    int m_files = 0;
};

QString TstGeoLookup::writeDb(const QVector<IpDb::Range> &ranges)
{
    const QString path = m_dir.filePath(QStringLiteral("ip%1.db").arg(m_files++));
    return IpDb::write(path, IpDb::build(ranges, 1).bytes) ? path : QString();
}

void TstGeoLookup::countryIsTheFirstRegionPart()
{
    IpDb::Range shenzhen{0x0A000000u, 0x0A0000FFu, 7, "China|0|Guangdong|Shenzhen|Telecom"};
    IpDb::Range padded{0x0B000000u, 0x0B0000FFu, 8, "|| Germany |0|Hessen"};
    const QString path = writeDb({shenzhen, padded});
    QVERIFY(!path.isEmpty());

    QString address = QStringLiteral("stale");
    QTest::ignoreMessage(QtInfoMsg, "Ip: \"China|0|Guangdong|Shenzhen|Telecom\"");
    QCOMPARE(lookupCountry(path, QStringLiteral("10.0.0.1"), address), QStringLiteral("China"));
    QCOMPARE(address, QStringLiteral("China,0,Guangdong,Shenzhen,Telecom"));

    // Empty parts are dropped before the first one is taken, and it is trimmed.
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^Ip: ")));
    QCOMPARE(lookupCountry(path, QStringLiteral("11.0.0.255"), address), QStringLiteral("Germany"));
    QCOMPARE(address, QStringLiteral(",, Germany ,0,Hessen"));
}

void TstGeoLookup::addressOutsideEveryRangeIsUnknown()
{
    const QString path = writeDb({IpDb::Range{100, 200, 1, "China|0|0|0|0"}});
    QString address = QStringLiteral("stale");
    QTest::ignoreMessage(QtInfoMsg, "Ip: \"\"");
    QCOMPARE(lookupCountry(path, QStringLiteral("0.0.0.201"), address), QStringLiteral("unknown"));
    QVERIFY(address.isEmpty());
}

void TstGeoLookup::blankRegionIsUnknown()
{
    const QString path = writeDb({IpDb::Range{100, 200, 1, "||"}});
    QString address;
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^Ip: ")));
    QCOMPARE(lookupCountry(path, QStringLiteral("0.0.0.150"), address), QStringLiteral("unknown"));
    QCOMPARE(address, QStringLiteral(",,"));
}

void TstGeoLookup::missingDatabaseIsUnknownAndLogged()
{
    QString address = QStringLiteral("kept");
    QTest::ignoreMessage(QtInfoMsg, "Error: Fail to create the ip2region object");
    QCOMPARE(lookupCountry(m_dir.filePath(QStringLiteral("absent.db")), QStringLiteral("1.2.3.4"),
                           address),
             QStringLiteral("unknown"));
    QCOMPARE(address, QStringLiteral("kept"));
}

void TstGeoLookup::databaseBesideTheProgramIsUsed()
{
    // The build puts the real ip.db beside every executable, this test included.
    QVERIFY(QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/ip.db")));
    QString address;
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^Ip: ")));
    QCOMPARE(lookupCountry(QStringLiteral("114.114.114.114"), address), QStringLiteral("中国"));
    QVERIFY2(address.startsWith(QStringLiteral("中国,")), qPrintable(address));
    QVERIFY(!address.contains(QLatin1Char('|')));
}

QTEST_GUILESS_MAIN(TstGeoLookup)
#include "tst_geolookup.moc"
