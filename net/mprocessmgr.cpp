#include "mprocessmgr.h"

#include "mprocessos.h"

#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace {

QString resolveProgram(const QString &program)
{
    if (program.contains(QLatin1Char('/')) || program.contains(QDir::separator()))
        return program;
    const QString found = QStandardPaths::findExecutable(program);
    return found.isEmpty() ? program : found;
}

} // namespace

void MProcessMgr::OpenSubProcess(const QString &program, const QStringList &arguments,
                                 int timeoutSec, bool wait)
{
    const QString path = QDir::toNativeSeparators(resolveProgram(program));
    qInfo() << "Run:" << path << arguments;
    if (!QFileInfo::exists(path)) {
        qInfo() << "MProcessMgr::OpenSubProcess,process dose not exist:" << path;
        return;
    }

    // No parent: the child may outlive this call; the object goes once the child ends.
    auto *process = new QProcess;
    QEventLoop loop;
    QObject::connect(process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), process,
                     &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             process->deleteLater();
                     });
    if (wait) {
        QObject::connect(process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), &loop,
                         &QEventLoop::quit);
        QObject::connect(process, &QProcess::errorOccurred, &loop,
                         [&loop](QProcess::ProcessError error) {
                             if (error == QProcess::FailedToStart)
                                 loop.quit();
                         });
    }
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start(path, arguments, QIODevice::ReadWrite);
    if (!wait)
        return;

    // Belongs to this call only: destroyed on return, so a late time-out cannot touch a
    // loop that no longer runs.
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(timeoutSec * 1000);
    if (process->state() != QProcess::NotRunning)
        loop.exec();
}

void MProcessMgr::OpenSingleProcess(const QString &program, const QStringList &arguments)
{
    QProcess::startDetached(QDir::toNativeSeparators(program), arguments);
}

bool MProcessMgr::killProcess(int pid)
{
    return ProcessOs::terminate(pid);
}

bool MProcessMgr::KillProcessByName(const QString &name)
{
    bool ok = false;
    const QVector<ProcessOs::ProcessEntry> entries = ProcessOs::snapshot(ok);
    if (!ok)
        return false;
    for (const ProcessOs::ProcessEntry &entry : entries) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            ProcessOs::terminate(entry.pid);
    }
    return true;
}

bool MProcessMgr::findProecessByName(const QString &name, int &pid, int excludePid)
{
    bool ok = false;
    const QVector<ProcessOs::ProcessEntry> entries = ProcessOs::snapshot(ok);
    for (const ProcessOs::ProcessEntry &entry : entries) {
        if (entry.pid != excludePid && entry.name.compare(name, Qt::CaseInsensitive) == 0) {
            pid = entry.pid;
            return true;
        }
    }
    return false;
}
