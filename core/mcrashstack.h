#pragma once

#include <QString>
#include <QVector>

// The crash reporter. A fatal signal (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT) writes a
// report to <app data>/logs/dump/<number>.dmp and between banners to the day's log, then
// the process dies of that signal as it would have without the handler. Nothing leaves the
// machine from the crashing process: the next start collects the reports as analytics
// events.
class MCrashStack
{
public:
    // One report of an earlier run, as the analytics event that announces it.
    struct Event
    {
        QString category; // "CrashDetails"
        QString action; // version of the program that crashed
        QString label; // "<module base name>:<fault address>"
        QString file; // the report, already renamed to "<name>.dmp.sent"
    };

    // Call once, right after startLog(), on the main thread. Everything the handler needs
    // (paths, version, the log's descriptor) is fixed here. False if no handler went in.
    static bool install();
    // Puts the previous actions back; for the shutdown after the event loop.
    static void uninstall();
    // Reports not yet sent, oldest first; each is marked sent, so it comes back only once.
    static QVector<Event> takeUnsentReports();
    // Ends with a separator.
    static QString dumpFolder();
};
