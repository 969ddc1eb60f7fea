#pragma once

#include "vpnclient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QPair>
#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

// Records what vpnclient reports through its callbacks (events, log lines, traffic) on its own
// thread, for the test's thread to read and wait on. The callbacks are plain functions, so
// the record is one per process. Header only: users link the client, the support library
// does not.
class EventRecorder
{
public:
    // Sets the three callbacks; the calling thread is the one they must never run on.
    static void install()
    {
        {
            std::lock_guard<std::mutex> lock(state().mutex);
            state().caller = std::this_thread::get_id();
        }
        vpn_event_set_callback([](const std::string &name, const std::string &info) {
            note([&](State &s) {
                s.names << QString::fromStdString(name);
                s.infos << QString::fromStdString(info);
            });
        });
        vpn_log_set_callback([](const std::string &line) {
            note([&](State &s) { s.logs << QString::fromStdString(line); });
        });
        vpn_traffic_set_callback([](float inMb, float outMb) {
            note([&](State &s) { s.traffic.append({inMb, outMb}); });
        });
    }

    static void clear()
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        State &s = state();
        s.names.clear();
        s.infos.clear();
        s.logs.clear();
        s.traffic.clear();
        s.offCallerThread = true;
    }

    // Event names from the index `from` on (a mark taken with names().size()).
    static QStringList names(int from = 0)
    {
        return read([&](State &s) { return s.names.mid(from); });
    }
    // The info of the first event called `name`; empty if none.
    static QString info(const QString &name)
    {
        return read([&](State &s) { return s.infos.value(s.names.indexOf(name)); });
    }
    static QStringList logs()
    {
        return read([](State &s) { return s.logs; });
    }
    static QList<QPair<float, float>> traffic()
    {
        return read([](State &s) { return s.traffic; });
    }
    // False once any callback ran on the thread that installed them.
    static bool offCallerThread()
    {
        return read([](State &s) { return s.offCallerThread; });
    }

    // Waits, at most timeoutMs and running the caller's event loop, for `name` from `from` on.
    static bool waitFor(const QString &name, int timeoutMs = 5000, int from = 0)
    {
        return waitUntil([&] { return names(from).contains(name); }, timeoutMs);
    }
    // The first event from `from` on that is one of `any`, waiting at most timeoutMs; empty
    // if none came.
    static QString waitForFirst(const QStringList &any, int timeoutMs, int from = 0)
    {
        QString found;
        waitUntil(
            [&] {
                for (const QString &name : names(from)) {
                    if (any.contains(name)) {
                        found = name;
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
        return found;
    }
    // Runs the event loop until done() or timeoutMs have passed; wakes early on a report.
    template<typename Done>
    static bool waitUntil(Done done, int timeoutMs)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            std::unique_lock<std::mutex> lock(state().mutex);
            state().changed.wait_for(lock, std::chrono::milliseconds(10));
        }
        return true;
    }

private:
    struct State
    {
        std::mutex mutex;
        std::condition_variable changed;
        QStringList names, infos, logs;
        QList<QPair<float, float>> traffic;
        std::thread::id caller;
        bool offCallerThread = true;
    };

    static State &state()
    {
        static State s;
        return s;
    }
    template<typename F>
    static void note(F f)
    {
        {
            std::lock_guard<std::mutex> lock(state().mutex);
            if (std::this_thread::get_id() == state().caller)
                state().offCallerThread = false;
            f(state());
        }
        state().changed.notify_all();
    }
    template<typename F>
    static auto read(F f) -> decltype(f(std::declval<State &>()))
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        return f(state());
    }
};
