#pragma once

#include <QString>
#include <QStringList>

// Starting and ending other programs. Everything runs on the calling thread; a waited-for
// child spins a nested event loop, so the caller's other slots may run meanwhile.
class MProcessMgr
{
public:
    // Runs program (checked for existence first; a bare name is looked up in PATH). With
    // wait, returns when the child finishes or after timeoutSec, whichever is first; the
    // child keeps running past the time-out. Exit codes and output are not examined.
    static void OpenSubProcess(const QString &program, const QStringList &arguments, int timeoutSec,
                               bool wait);
    static void OpenSingleProcess(const QString &program, const QStringList &arguments);
    // Terminates the process; false when it does not exist or cannot be signalled.
    static bool killProcess(int pid);
    // Terminates every process whose executable name equals name (case-insensitive).
    static bool KillProcessByName(const QString &name);
    // True when a process of that name other than excludePid runs; its id goes to pid.
    static bool findProecessByName(const QString &name, int &pid, int excludePid);
};
