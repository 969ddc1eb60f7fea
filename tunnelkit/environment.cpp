#include "environment.h"
#include "system.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tunnelkit {

Environment Environment::fromProcess()
{
    Environment e;
    const auto take = [](const char *name, QString *value) {
        const QString v = qEnvironmentVariable(name);
        if (!v.isEmpty())
            *value = v;
    };
    take("QUELLNET_OPENVPN", &e.openvpn);
    take("QUELLNET_NFT", &e.nft);
    take("QUELLNET_PKEXEC", &e.pkexec);
    take("QUELLNET_TUNNELKIT_ELEVATE", &e.elevate);

    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    e.runtimeBase = !runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QDir::tempPath();
    e.markerPath = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/quellnet-tunnelkit/killswitch.active");
    e.userName = os::userName();
    e.root = os::runningAsRoot();
    e.pid = os::processId();
    return e;
}

QString resolveProgram(const QString &program)
{
    if (program.isEmpty())
        return QString();
    if (!program.contains(QLatin1Char('/')))
        return QStandardPaths::findExecutable(program);
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable())
        return QString();
    return info.absoluteFilePath();
}

ElevationChoice chooseElevation(const Environment &environment)
{
    ElevationChoice c;
    const QString &knob = environment.elevate;
    if (knob == QLatin1String("none") || (knob == QLatin1String("auto") && environment.root)) {
        c.how = Elevation::Direct;
        return c;
    }
    if (knob != QLatin1String("auto") && knob != QLatin1String("pkexec")) {
        c.problem = QStringLiteral("QUELLNET_TUNNELKIT_ELEVATE is '%1', not auto, none or pkexec")
                        .arg(knob);
        return c;
    }
    c.pkexec = resolveProgram(environment.pkexec);
    if (c.pkexec.isEmpty()) {
        c.problem = QStringLiteral("not running as root and pkexec (%1) is not there: openvpn and "
                                   "nft need administrator rights")
                        .arg(environment.pkexec);
        return c;
    }
    c.how = Elevation::Pkexec;
    return c;
}

Command elevatedCommand(const ElevationChoice &choice, const QString &program,
                        const QStringList &arguments)
{
    if (choice.how == Elevation::Pkexec)
        return {choice.pkexec, QStringList{program} + arguments};
    return {program, arguments};
}

} // namespace tunnelkit
