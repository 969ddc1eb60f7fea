#include "environment.h"
#include "system.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace tunnelkit {

Environment Environment::forHelper(const QString &runtimeDir, const QString &stateDir)
{
    Environment e;
    e.runtimeBase = runtimeDir + QStringLiteral("/engine");
    e.stateDir = stateDir;
    e.markerPath = e.stateDir + QStringLiteral("/killswitch.active");
    e.userName = os::userName();
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

} // namespace tunnelkit
