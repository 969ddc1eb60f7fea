#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QSharedPointer>
#include <QString>

// One server of the list. A plain record: built by the list loader on a worker thread, then
// handed to the GUI thread and never changed again.
class ServerInfo : public QObject
{
    Q_OBJECT

public:
    explicit ServerInfo(QObject *parent = nullptr);

    QString ip; // "Ip", trimmed
    QString name; // "Name", trimmed
    QString country; // "Country", trimmed: a country code or name, used for the flag
    QString host; // a copy of ip: the remembered choice and the row's user data
    QString reservedText1;
    QString reservedText2;
    int firstPort = 7860;
    int secondPort = 1080;
    QString ovpn; // the decrypted tunnel configuration (untrusted)
};

// Shared, so that a record the window still holds as its current server outlives the list it
// came from.
using ServerInfoPtr = QSharedPointer<ServerInfo>;
using ServerInfoList = QList<ServerInfoPtr>;
Q_DECLARE_METATYPE(ServerInfoList)

// The flag code of a country text: the text itself when ":/flag/<TEXT>.png" exists, else a
// known country name ("Janpanese" in any case gives "JP"), else "US". Only codes made of the
// letters A-Z are looked up, so a server's text never names another resource. Needs the
// compiled-in resources to be registered.
QString flagCode(const QString &country);
