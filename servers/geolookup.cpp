#include "geolookup.h"

#include "ip2region.h"
#include "mutils.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

QString lookupCountry(const QString &dbPath, const QString &ip, QString &address)
{
    IpRegionHandle handle;
    if (!ip2region_create(handle, dbPath)) {
        qInfo() << "Error: Fail to create the ip2region object";
        return QStringLiteral("unknown");
    }
    IpRegionResult result;
    const bool found = ip2region_binary_search_string(handle, ip, result);
    ip2region_destroy(handle);

    const QString region = found ? QString::fromUtf8(result.region) : QString();
    qInfo() << "Ip:" << region;
    address = region;
    address.replace(QLatin1Char('|'), QLatin1Char(','));

    const QStringList parts = region.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return QStringLiteral("unknown");
    return parts.first().trimmed();
}

QString geoDatabasePath(const QString &programDir)
{
    const QString beside = programDir + QStringLiteral("/ip.db");
    const QString installed
        = QDir::cleanPath(programDir + QStringLiteral("/../share/quellnet/ip.db"));
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

QString lookupCountry(const QString &ip, QString &address)
{
    return lookupCountry(geoDatabasePath(appDir()), ip, address);
}
