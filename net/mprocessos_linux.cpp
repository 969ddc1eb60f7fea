#include "mprocessos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <signal.h>

namespace {

// A process that has ended but is not yet reaped still has an entry; it is gone for us.
bool isZombie(int pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    return close < 0 || close + 2 >= line.size() || line.at(close + 2) == 'Z';
}

} // namespace

namespace ProcessOs {

QVector<ProcessEntry> snapshot(bool &ok)
{
    QVector<ProcessEntry> entries;
    const QDir proc(QStringLiteral("/proc"));
    const QStringList pids = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &dir : pids) {
        bool isPid = false;
        const int pid = dir.toInt(&isPid);
        if (!isPid || pid <= 0 || isZombie(pid))
            continue;
        // exe names the real file; comm (15 characters at most) covers processes whose exe
        // we may not read.
        QString name
            = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid))).fileName();
        if (name.isEmpty()) {
            QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
            if (comm.open(QIODevice::ReadOnly))
                name = QString::fromUtf8(comm.readAll()).trimmed();
        }
        if (!name.isEmpty())
            entries.append({pid, name});
    }
    ok = !entries.isEmpty();
    return entries;
}

bool terminate(int pid)
{
    // 0 and negative ids address process groups: never ours to end.
    if (pid <= 0)
        return false;
    return ::kill(pid, SIGKILL) == 0;
}

} // namespace ProcessOs
