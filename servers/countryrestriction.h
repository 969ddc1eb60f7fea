#pragma once

#include "appservices.h"

#include <QObject>
#include <QString>
#include <QStringList>

// Refusal of service in restricted countries, decided from the interface language of the
// system and from the public address ("getip/") looked up in the geo-IP database. The lookup
// also gives the address and country that every backend request carries (GeoState).
class CountryRestriction : public QObject
{
    Q_OBJECT

public:
    // Used when the backend cannot tell the address.
    static QString fallbackIp() { return QStringLiteral("192.168.0.1"); }
    // "/save/xyz" holding exactly this text turns the restriction off.
    static QString bypassValue() { return QStringLiteral("qzrwpxkv"); }

    // services: only its analytics event is used.
    explicit CountryRestriction(const AppServices &services, QObject *parent = nullptr);

    // Asks "getip/" and stores the address, or the fallback after a failure reply, in
    // GeoState. Blocks the calling thread for up to the client's 120 s.
    static QString queryPublicIp();
    // The entries of ":/country.txt".
    static QStringList restrictedCountries();

    // The whole decision on the calling thread; queries the address first when GeoState has
    // none, so it may block: not for the GUI thread.
    bool isCountryRestricted();

    // The start-up check: returns at once; the address query and the lookup run on the
    // global thread pool, and finished() arrives queued on this object's thread. A call
    // while a check runs is ignored.
    void check();
    bool isRunning() const { return m_running; }

    static QString title() { return tr("Prohibit"); }
    static QString message()
    {
        return tr("According to the laws of your country, our products is prohibited");
    }

signals:
    // message is message() when prohibited, else empty.
    void finished(bool prohibited, const QString &message);

private:
    struct Verdict
    {
        QString publicIp;
        QString country;
        QString entry; // the matching list entry; empty: allowed
    };
    // Before any address: the bypass (false) or the Chinese locale (true); -1: undecided.
    int decideLocally();
    static Verdict lookUp();
    bool report(const Verdict &verdict);

    AppServices m_services;
    bool m_running = false;
};
