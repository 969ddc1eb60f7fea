#pragma once

#include <QJsonObject>
#include <QMap>
#include <QMutex>
#include <QString>

// The account backend's request protocol: every request is an HTTPS GET whose parameters
// travel only as request headers (the envelope); replies are JSON objects with an integer
// "error" member.

using HeaderMap = QMap<QString, QString>; // ordered by name, as the headers are sent

// Where the caller is, as far as the client knows: the public address ("getip/") and its
// geo-IP region. Written on the GUI thread, read by worker tasks that send requests, so
// every access is locked.
class GeoState
{
public:
    static GeoState &instance();

    QString publicIp() const;
    QString country() const;
    QString address() const;
    void setPublicIp(const QString &ip);
    // region is the geo-IP text ("country|area|province|city|isp"); address keeps all of
    // it with "|" turned into ",".
    void setRegion(const QString &country, const QString &region);
    void clear();

    // The values a request carries; empty ones become "UnkownA"/"UnkownX" and stay so
    // until a lookup sets real values.
    void valuesForRequest(QString &address, QString &country);

private:
    mutable QMutex m_lock;
    QString m_publicIp;
    QString m_country;
    QString m_address;
};

// Inserts the eight common entries (identity, vpntoken, machineid, localtime, address,
// country, os_login, os), replacing entries of the same name.
void makeRequestHeaders(HeaderMap &map, GeoState &geo = GeoState::instance());
// Adds "email" (and "password" when given) trimmed and percent-encoded.
void addAccountHeaders(HeaderMap &map, const QString &email, const QString *password = nullptr);
QString percentEncoded(const QString &text);

// Parses text as a JSON object. A parse error is logged and returned in errorText; a
// document that is not an object returns false with errorText empty.
bool parseJsonObject(const QString &text, QString &errorText, QJsonObject &object);

namespace Endpoint {

QString accountBase(); // "https://<backend>/vpnserver/"
QString getIp();
QString login();
QString registration();
QString findPassword();
QString serverList();
QString serverListHost(); // "https://<server-list host>:4430/servers"
QString priceList();
QString updateInfo();

} // namespace Endpoint

// What a reply code of an account request shows the user. Texts are untranslated source
// texts in the "MainWindow" context; the page passes them through tr().
enum class AccountRequest { Login, Register, FindPassword };

struct ResultMessage
{
    bool show = false;
    const char *title = nullptr;
    const char *text = nullptr;
    // When set, shown after text, joined by ",<br/>".
    const char *secondLine = nullptr;
};

// Every "error" code; a login or registration success (0) shows nothing here, the page
// handles it.
ResultMessage resultMessage(AccountRequest request, int code);
