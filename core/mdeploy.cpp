#include "mdeploy.h"

#include "quellnet_deploy.h"

namespace {

QString fromEnv(const char *name, const char *fallback)
{
    const QString value = qEnvironmentVariable(name).trimmed();
    return value.isEmpty() ? QString::fromUtf8(fallback) : value;
}

} // namespace

namespace Deploy {

QString backendHost()
{
    return fromEnv("QUELLNET_BACKEND_HOST", QUELLNET_DEFAULT_BACKEND_HOST);
}

QString serverListHost()
{
    return fromEnv("QUELLNET_SERVERLIST_HOST", QUELLNET_DEFAULT_SERVERLIST_HOST);
}

QString webHost()
{
    return fromEnv("QUELLNET_WEB_HOST", QUELLNET_DEFAULT_WEB_HOST);
}

QString collectUrl()
{
    return fromEnv("QUELLNET_COLLECT_URL", QUELLNET_DEFAULT_COLLECT_URL);
}

QString collectUrlPlain()
{
    return QStringLiteral(QUELLNET_COLLECT_URL_PLAIN);
}

QString caFile()
{
    return qEnvironmentVariable("QUELLNET_CA_FILE").trimmed();
}

QString webUrl()
{
    return QStringLiteral("https://") + webHost() + QLatin1Char('/');
}

QString helpDeskUrl()
{
    return QStringLiteral(QUELLNET_HELPDESK_URL);
}

QString supportEmail()
{
    return QStringLiteral(QUELLNET_SUPPORT_EMAIL);
}

QString gaProperty()
{
    return QStringLiteral(QUELLNET_GA_PROPERTY);
}

QString gaSiblingProperty()
{
    return QStringLiteral(QUELLNET_GA_SIBLING_PROPERTY);
}

QByteArray identity()
{
    return QByteArrayLiteral(QUELLNET_IDENTITY);
}

QByteArray secretKey()
{
    return QByteArray::fromHex(QByteArrayLiteral(QUELLNET_SECRET_KEY_HEX));
}

QByteArray ovpnKey()
{
    return QByteArrayLiteral(QUELLNET_OVPN_KEY);
}

QString appId()
{
    return QStringLiteral(QUELLNET_APP_ID);
}

QByteArray updatePublicKey()
{
    return QByteArray::fromBase64(QByteArrayLiteral(QUELLNET_UPDATE_PUBLIC_KEY));
}

} // namespace Deploy
