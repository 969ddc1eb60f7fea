#include "mconfig.h"

#include "mblowfish.h"
#include "mdeploy.h"
#include "mutils.h"
#include "privatefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <QStandardPaths>
#include <QUuid>

namespace {

const char kProductName[] = "Quellnet";
const char kKillSwitchOff[] = "id_killswitch_off";

QMutex &saveMutex()
{
    static QMutex mutex;
    return mutex;
}

QString defaultHelpUrl()
{
    return Deploy::webUrl() + QStringLiteral("support/");
}

QString defaultBuyUrl()
{
    return Deploy::webUrl() + QStringLiteral("order.html");
}

// Constructed before main, so every part sees the start values from the first moment.
MConfig *const s_early = MConfig::instance();

} // namespace

MConfig::MConfig()
    : appName(QString::fromLatin1(kProductName))
    , gaTrackerId(Deploy::gaSiblingProperty())
    , webUrl(Deploy::webUrl())
    , helpUrl(defaultHelpUrl())
    , lang(QStringLiteral("en.qm"))
    , killSwitch(QString::fromLatin1(kKillSwitchOff))
    , buyUrl(defaultBuyUrl())
    , helpDeskUrl(Deploy::helpDeskUrl() + QStringLiteral("?ver=") + getVer())
    , tutorialsUrl(Deploy::webUrl() + QStringLiteral("support"))
{ }

MConfig *MConfig::instance()
{
    static MConfig config;
    return &config;
}

void MConfig::loadCommConfig()
{
    MConfig &c = *instance();
    QSettings s(getConfigFile(), QSettings::IniFormat);
    s.setIniCodec("UTF-8");
    auto text = [&s](const char *key) {
        return s.value(QLatin1String(key)).toString();
    };
    auto trimmed = [&text](const char *key) {
        return text(key).trimmed();
    };
    auto number = [&s](const char *key) {
        return s.value(QLatin1String(key)).toInt();
    };

    c.appName = text("/common/appName");
    c.appId = text("/common/appId");
    c.gaTrackerId = text("/common/gaTrackerId");
    c.userID = text("/common/userID");
    c.webUrl = text("/common/webUrl");
    c.supportEmail = text("/common/supportEmail");
    c.helpUrl = text("/common/helpUrl");
    c.updatePeriod = number("/update/updatePeriod");
    c.lastUpdate = text("/update/lastUpdate");
    c.lastShowUpdate = text("/update/lastShowUpdate");
    c.firstRun = number("/save/firstRun");
    c.lang = text("/save/lang");
    if (c.lang == QLatin1String("0"))
        c.lang = QStringLiteral("en.qm");
    c.lastLoadServerListDate = trimmed("/save/lastLoadServerListDate");
    c.lastServIp = trimmed("/save/lastServIp");
    c.lastServCountry = trimmed("/save/lastServCountry");
    c.loginEmail = trimmed("/save/loginEmail");
    c.loginPassword = trimmed("/save/loginPassword");
    c.mainWndX = number("/save/mainWndX");
    c.mainWndY = number("/save/mainWndY");
    c.ckbAutoLogin = number("/save/ckbAutoLogin");
    c.auto_run = number("/save/auto_run");
    c.killSwitch = trimmed("/save/killSwitch");
    c.killSwithDisc = number("/save/killSwithDisc");
    c.killSwithAllLocal = number("/save/killSwithAllLocal");
    c.installedTap = trimmed("/save/installedTap");
    c.xyz = trimmed("/save/xyz");
    c.errorCount = number("/save/errorCount");

    if (c.killSwitch.isEmpty())
        c.killSwitch = QString::fromLatin1(kKillSwitchOff);
    if (c.appName.isEmpty())
        c.appName = QString::fromLatin1(kProductName);
    if (c.webUrl.isEmpty())
        c.webUrl = Deploy::webUrl();
    if (c.supportEmail.isEmpty())
        c.supportEmail = Deploy::supportEmail();
    if (c.buyUrl.isEmpty())
        c.buyUrl = defaultBuyUrl();
    if (c.helpUrl.isEmpty())
        c.helpUrl = defaultHelpUrl();
    if (c.killSwithAllLocal == 0)
        c.killSwithAllLocal = 1;
    if (c.userID.isEmpty())
        getUserId();
    if (c.gaTrackerId.isEmpty())
        c.gaTrackerId = Deploy::gaProperty();

    c.loginPassword = decipherSecret(c.loginPassword);
}

void MConfig::saveCommConfig()
{
    QMutexLocker locker(&saveMutex());
    MConfig &c = *instance();
    const QString path = getConfigFile();
    // The file holds the saved password: it never exists with wider permissions.
    ensurePrivateFile(path);
    // An empty lock file is what a writer killed between creating and filling it leaves; Qt
    // would wait 30 s for it to go stale, with the window frozen. Saves of this process take
    // turns above, and a second instance does not run.
    const QFileInfo lock(path + QStringLiteral(".lock"));
    if (lock.exists() && lock.size() == 0)
        QFile::remove(lock.filePath());
    {
        QSettings s(path, QSettings::IniFormat);
        s.setIniCodec("UTF-8");
        s.clear();
        auto put = [&s](const char *key, const QVariant &value) {
            s.setValue(QLatin1String(key), value);
        };
        put("/common/appName", c.appName);
        put("/common/appId", c.appId);
        put("/common/gaTrackerId", c.gaTrackerId);
        put("/common/userID", getUserId());
        put("/common/webUrl", c.webUrl);
        put("/common/supportEmail", c.supportEmail);
        put("/common/helpUrl", c.helpUrl);
        put("/update/updatePeriod", c.updatePeriod);
        put("/update/lastUpdate", c.lastUpdate);
        put("/update/lastShowUpdate", c.lastShowUpdate);
        put("/save/firstRun", c.firstRun);
        put("/save/lang", c.lang);
        put("/save/lastLoadServerListDate", c.lastLoadServerListDate);
        put("/save/lastServIp", c.lastServIp);
        put("/save/lastServCountry", c.lastServCountry);
        put("/save/loginPassword", encipherSecret(c.loginPassword));
        put("/save/loginEmail", c.loginEmail);
        put("/save/mainWndY", c.mainWndY);
        put("/save/mainWndX", c.mainWndX);
        put("/save/ckbAutoLogin", c.ckbAutoLogin);
        put("/save/auto_run", c.auto_run);
        put("/save/killSwitch", c.killSwitch);
        put("/save/killSwithDisc", c.killSwithDisc);
        put("/save/killSwithAllLocal", c.killSwithAllLocal);
        put("/save/installedTap", c.installedTap);
        put("/save/xyz", c.xyz);
        put("/save/errorCount", c.errorCount);
    } // QSettings writes the file (atomically, keeping its mode) when it goes away
    ensurePrivateFile(path);
}

QString MConfig::getAppDataFolder(const QString &sub)
{
    QString path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QLatin1Char('/') + sub;
    if (!sub.isEmpty())
        path += QLatin1Char('/');
    path = QDir::toNativeSeparators(path);
    QDir().mkpath(path);
    return path;
}

QString MConfig::getConfigFile()
{
    // The folder path already ends with a separator.
    return getAppDataFolder(QString()) + QStringLiteral("config_comm.ini");
}

QString MConfig::getTempFolder(const QString &sub)
{
    QString path = QDir::tempPath() + QLatin1Char('/') + QString::fromLatin1(kProductName)
        + QLatin1Char('/') + sub;
    if (!sub.isEmpty())
        path += QLatin1Char('/');
    path = QDir::toNativeSeparators(path);
    QDir().mkpath(path);
    return path;
}

QString MConfig::getUserId()
{
    MConfig &c = *instance();
    if (c.userID.isEmpty()) {
        QString mac = GetMacAddress();
        for (const char *sep : {":", "}", "{", "-"})
            mac.remove(QLatin1String(sep));
        c.userID = mac.isEmpty() ? Rand(true) : mac;
    }
    return c.userID;
}

QString MConfig::createSessionId()
{
    QString text = QUuid::createUuid().toString();
    text.remove(QLatin1Char('{')).remove(QLatin1Char('-')).remove(QLatin1Char('}'));
    text = text.trimmed();
    const int start = RandRange(0, text.length() - 12);
    return encipherSecret(text.mid(start, 10));
}

QString MConfig::encipherSecret(const QString &clearText)
{
    if (clearText.isEmpty())
        return QString();
    MBlowfish cipher(Deploy::secretKey());
    cipher.setPaddingEnabled(true);
    return QString::fromLatin1(cipher.encrypted(clearText.toUtf8()).toHex().toUpper());
}

QString MConfig::decipherSecret(const QString &hexText)
{
    if (hexText.isEmpty())
        return QString();
    MBlowfish cipher(Deploy::secretKey());
    cipher.setPaddingEnabled(true);
    return QString::fromUtf8(cipher.decrypted(QByteArray::fromHex(hexText.toLatin1())));
}
