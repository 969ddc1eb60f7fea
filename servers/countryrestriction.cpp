#include "countryrestriction.h"

#include "backendprotocol.h"
#include "geolookup.h"
#include "mconfig.h"
#include "mnetwork.h"

#include <QDebug>
#include <QFile>
#include <QFutureWatcher>
#include <QLocale>
#include <QtConcurrent>

CountryRestriction::CountryRestriction(const AppServices &services, QObject *parent)
    : QObject(parent)
    , m_services(services)
{ }

QString CountryRestriction::queryPublicIp()
{
    HeaderMap headers;
    makeRequestHeaders(headers);
    QString ip = MNetwork::get(Endpoint::getIp(), headers).trimmed();
    for (const char *failure : {"-10", "-20", "-30"}) {
        if (ip.contains(QLatin1String(failure))) {
            qInfo() << "Get Ip Failed:" << ip;
            ip = fallbackIp();
            break;
        }
    }
    GeoState::instance().setPublicIp(ip);
    return ip;
}

QStringList CountryRestriction::restrictedCountries()
{
    QFile file(QStringLiteral(":/country.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        qInfo() << "Error: no restricted-country list";
        return {};
    }
    return QString::fromUtf8(file.readAll()).trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

int CountryRestriction::decideLocally()
{
    if (MConfig::instance()->xyz == bypassValue())
        return 0;
    if (QLocale().language() == QLocale::Chinese) {
        m_services.event(QStringLiteral("Forhibed"), QStringLiteral("LocalUI"),
                         QStringLiteral("Chinese"));
        return 1;
    }
    return -1;
}

CountryRestriction::Verdict CountryRestriction::lookUp()
{
    Verdict verdict;
    verdict.publicIp = GeoState::instance().publicIp();
    if (verdict.publicIp.isEmpty())
        verdict.publicIp = queryPublicIp();
    QString address;
    verdict.country = lookupCountry(verdict.publicIp, address);
    GeoState::instance().setRegion(verdict.country, address);
    for (const QString &entry : restrictedCountries()) {
        if (verdict.country.contains(entry)) {
            verdict.entry = entry;
            break;
        }
    }
    return verdict;
}

bool CountryRestriction::report(const Verdict &verdict)
{
    if (verdict.entry.isEmpty())
        return false;
    qInfo() << "You Country:" << verdict.country << verdict.publicIp << verdict.entry;
    m_services.event(QStringLiteral("Forhibed"), QStringLiteral("IP"), verdict.publicIp);
    return true;
}

bool CountryRestriction::isCountryRestricted()
{
    const int local = decideLocally();
    return local >= 0 ? local == 1 : report(lookUp());
}

void CountryRestriction::check()
{
    if (m_running)
        return;
    m_running = true;
    const auto done = [this](bool prohibited) {
        m_running = false;
        emit finished(prohibited, prohibited ? message() : QString());
    };
    const int local = decideLocally();
    if (local >= 0) {
        // Queued all the same, so the caller may connect after check() returns.
        QMetaObject::invokeMethod(
            this, [done, local] { done(local == 1); }, Qt::QueuedConnection);
        return;
    }
    // The watcher is a child: if this object goes first, the late result is dropped.
    auto *watcher = new QFutureWatcher<Verdict>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, done] {
        const Verdict verdict = watcher->result();
        watcher->deleteLater();
        done(report(verdict));
    });
    // A fresh address on every start-up check, as the query comes before the decision.
    watcher->setFuture(QtConcurrent::run([] {
        queryPublicIp();
        return lookUp();
    }));
}
