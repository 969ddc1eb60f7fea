#pragma once

#include <QObject>
#include <QString>

// Every persistent setting of the client, in one process-wide object whose public fields
// all parts read and write directly. loadCommConfig() runs at start-up only (no lock);
// saveCommConfig() may run on any thread and is serialised by a process-wide mutex.
// Fields themselves are not locked.
class MConfig : public QObject
{
    Q_OBJECT

public:
    static MConfig *instance();

    static void loadCommConfig();
    static void saveCommConfig();

    // <AppDataLocation>/<sub>/ with native separators; created before it is returned.
    static QString getAppDataFolder(const QString &sub);
    static QString getConfigFile();
    // <temp>/Quellnet/<sub>/; created before it is returned.
    static QString getTempFolder(const QString &sub);
    static QString getUserId();
    static QString createSessionId();

    // Stored secrets: Blowfish (padding on) with the built-in key, upper-case hex text.
    static QString encipherSecret(const QString &clearText);
    static QString decipherSecret(const QString &hexText);

    // [common]
    QString appName;
    QString appId;
    QString gaTrackerId;
    QString userID;
    QString webUrl;
    QString supportEmail;
    QString helpUrl;
    // [update]
    int updatePeriod = 0;
    QString lastUpdate;
    QString lastShowUpdate;
    // [save]
    int firstRun = 0;
    QString lang;
    QString lastLoadServerListDate;
    QString lastServIp;
    QString lastServCountry;
    QString loginEmail;
    QString loginPassword; // clear text in memory, enciphered on disk
    int mainWndX = -1;
    int mainWndY = -1;
    int ckbAutoLogin = 0;
    int auto_run = 1;
    QString killSwitch;
    int killSwithDisc = 0;
    int killSwithAllLocal = 0;
    QString installedTap;
    QString xyz;
    int errorCount = 0;

    // Not stored.
    QString buyUrl;
    QString helpDeskUrl;
    QString tutorialsUrl;

private:
    MConfig();
};
