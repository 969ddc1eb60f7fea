#include "backendprotocol.h"

#include "mconfig.h"
#include "mdeploy.h"

#include <QDateTime>
#include <QDebug>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QMutexLocker>
#include <QSysInfo>
#include <QUrl>

GeoState &GeoState::instance()
{
    static GeoState state;
    return state;
}

QString GeoState::publicIp() const
{
    QMutexLocker locker(&m_lock);
    return m_publicIp;
}

QString GeoState::country() const
{
    QMutexLocker locker(&m_lock);
    return m_country;
}

QString GeoState::address() const
{
    QMutexLocker locker(&m_lock);
    return m_address;
}

void GeoState::setPublicIp(const QString &ip)
{
    QMutexLocker locker(&m_lock);
    m_publicIp = ip;
}

void GeoState::setRegion(const QString &country, const QString &region)
{
    QMutexLocker locker(&m_lock);
    m_country = country;
    m_address = QString(region).replace(QLatin1Char('|'), QLatin1Char(','));
}

void GeoState::clear()
{
    QMutexLocker locker(&m_lock);
    m_publicIp.clear();
    m_country.clear();
    m_address.clear();
}

void GeoState::valuesForRequest(QString &address, QString &country)
{
    QMutexLocker locker(&m_lock);
    if (m_address.isEmpty())
        m_address = QStringLiteral("UnkownA");
    if (m_country.isEmpty())
        m_country = QStringLiteral("UnkownX");
    address = m_address;
    country = m_country;
}

QString percentEncoded(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

void makeRequestHeaders(HeaderMap &map, GeoState &geo)
{
    map.insert(QStringLiteral("identity"), QStringLiteral("quell_net_request"));
    map.insert(QStringLiteral("vpntoken"), MConfig::createSessionId());
    map.insert(QStringLiteral("machineid"), MConfig::getUserId());
    const QString localTime
        = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QString address;
    QString country;
    geo.valuesForRequest(address, country);
    map.insert(QStringLiteral("localtime"), percentEncoded(localTime));
    map.insert(QStringLiteral("address"), percentEncoded(address));
    map.insert(QStringLiteral("country"), percentEncoded(country));
    map.insert(QStringLiteral("os_login"),
               QSysInfo::productType() + QLatin1Char('_') + QSysInfo::productVersion());
    map.insert(QStringLiteral("os"), QStringLiteral("Win"));
}

void addAccountHeaders(HeaderMap &map, const QString &email, const QString *password)
{
    map.insert(QStringLiteral("email"), percentEncoded(email.trimmed()));
    if (password)
        map.insert(QStringLiteral("password"), percentEncoded(password->trimmed()));
}

bool parseJsonObject(const QString &text, QString &errorText, QJsonObject &object)
{
    errorText.clear();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        qInfo() << "QJsonParseError:" << error.errorString();
        errorText = error.errorString();
        return false;
    }
    if (!document.isObject()) {
        qInfo() << "! parse_doucment.isObject()";
        return false;
    }
    object = document.object();
    return true;
}

namespace Endpoint {

QString accountBase()
{
    return QStringLiteral("https://") + Deploy::backendHost() + QStringLiteral("/vpnserver/");
}

QString getIp()
{
    return accountBase() + QStringLiteral("getip/");
}

QString login()
{
    return accountBase() + QStringLiteral("loginvpn/");
}

QString registration()
{
    return accountBase() + QStringLiteral("registervpn/");
}

QString findPassword()
{
    return accountBase() + QStringLiteral("findpwd/");
}

QString serverList()
{
    return accountBase() + QStringLiteral("serverlist/");
}

QString serverListHost()
{
    return QStringLiteral("https://") + Deploy::serverListHost() + QStringLiteral(":4430/servers");
}

QString priceList()
{
    return QStringLiteral("https://") + Deploy::backendHost() + QStringLiteral("/price.json");
}

QString updateInfo()
{
    return QStringLiteral("https://") + Deploy::backendHost() + QStringLiteral("/update.json");
}

} // namespace Endpoint

ResultMessage resultMessage(AccountRequest request, int code)
{
    static const char *const kInvalid
        = QT_TRANSLATE_NOOP("MainWindow", "Invalid request,please reinstall program");
    static const char *const kFindFailed
        = QT_TRANSLATE_NOOP("MainWindow", "Find password failed, please try it again");
    const char *loginTitle = QT_TRANSLATE_NOOP("MainWindow", "Login failed");
    const char *registerTitle = QT_TRANSLATE_NOOP("MainWindow", "Register failed");
    const char *findTitle = QT_TRANSLATE_NOOP("MainWindow", "Find password");

    switch (request) {
    case AccountRequest::Login:
        switch (code) {
        case -110:
            return {true, loginTitle,
                    QT_TRANSLATE_NOOP("MainWindow", "This email or password is empty"), nullptr};
        case -111:
            return {true, loginTitle,
                    QT_TRANSLATE_NOOP("MainWindow",
                                      "Only one device can be bound to the same "
                                      "account in each system"),
                    nullptr};
        case -120:
            return {true, loginTitle,
                    QT_TRANSLATE_NOOP("MainWindow", "Incorrect password or user does not exist"),
                    nullptr};
        default:
            return code < -100 ? ResultMessage{true, loginTitle, kInvalid, nullptr}
                               : ResultMessage{};
        }
    case AccountRequest::Register:
        switch (code) {
        case -110:
            return {
                true, registerTitle,
                QT_TRANSLATE_NOOP("MainWindow", "This email was registered,please login with it"),
                nullptr};
        case -111:
            return {};
        case -120:
            return {true, registerTitle,
                    QT_TRANSLATE_NOOP("MainWindow", "Register failed, please try it again"),
                    nullptr};
        default:
            return code < -100 ? ResultMessage{true, registerTitle, kInvalid, nullptr}
                               : ResultMessage{};
        }
    case AccountRequest::FindPassword:
        switch (code) {
        case 0:
            return {true, QT_TRANSLATE_NOOP("MainWindow", "Find Password"),
                    QT_TRANSLATE_NOOP("MainWindow",
                                      "Change password link is sent to your email address"),
                    QT_TRANSLATE_NOOP("MainWindow", "please click it to change your password")};
        case -10:
        case -110:
            return {true, findTitle, kFindFailed, nullptr};
        case -111:
            return {};
        case -120:
            return {true, findTitle,
                    QT_TRANSLATE_NOOP("MainWindow", "Sorry, This user does not exist"), nullptr};
        default:
            return code < -100 ? ResultMessage{true, findTitle, kInvalid, nullptr}
                               : ResultMessage{};
        }
    }
    return {};
}
