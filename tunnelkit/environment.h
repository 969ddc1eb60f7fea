#pragma once

#include <QString>
#include <QStringList>

namespace tunnelkit {

// Everything the engine takes from its surroundings, read on the caller's thread at each
// start/stop/close so the engine thread never reads the environment.
struct Environment
{
    QString openvpn = QStringLiteral("/usr/sbin/openvpn"); // QUELLNET_OPENVPN
    QString nft = QStringLiteral("/usr/sbin/nft"); // QUELLNET_NFT
    QString pkexec = QStringLiteral("/usr/bin/pkexec"); // QUELLNET_PKEXEC
    QString elevate = QStringLiteral("auto"); // QUELLNET_TUNNELKIT_ELEVATE
    QString runtimeBase; // $XDG_RUNTIME_DIR, else the temporary folder
    QString markerPath; // "a kill-switch table may be installed"
    QString userName; // the only user allowed on the management socket
    bool root = false;
    qint64 pid = 0;

    static Environment fromProcess();
};

enum class Elevation { Direct, Pkexec, Unavailable };

struct ElevationChoice
{
    Elevation how = Elevation::Unavailable;
    QString pkexec; // absolute path when how is Pkexec
    QString problem; // why it is Unavailable
};

// Direct as root, through pkexec otherwise; the QUELLNET_TUNNELKIT_ELEVATE knob can force
// either ("none", "pkexec").
ElevationChoice chooseElevation(const Environment &environment);

struct Command
{
    QString program;
    QStringList arguments;
};
Command elevatedCommand(const ElevationChoice &choice, const QString &program,
                        const QStringList &arguments);

// Absolute path of an executable file (a bare name is looked up in PATH); empty when none.
QString resolveProgram(const QString &program);

} // namespace tunnelkit
