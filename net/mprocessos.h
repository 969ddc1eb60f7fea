#pragma once

#include <QString>
#include <QVector>

// Operating-system side of MProcessMgr; one implementation file per platform.
namespace ProcessOs {

struct ProcessEntry
{
    int pid = 0;
    QString name; // executable file name
};

// All processes visible to this user; ok is false when the table cannot be read.
QVector<ProcessEntry> snapshot(bool &ok);
// Ends the process at once; false when it does not exist or may not be signalled.
bool terminate(int pid);

} // namespace ProcessOs
