#pragma once

#include <QtGlobal>

#include <cstdio>
#include <ctime>

// With QUELLNET_TRACE_STARTUP=1 the start-up steps go to stderr as
// "startup-trace <CLOCK_MONOTONIC ms> cpu=<process CPU ms> <step>", so that a launcher reading
// the same clock just before exec can tell where the time goes (and, from the CPU time, work
// from waiting); "shown" is the main window's first painted frame.
// Off, a step costs one test of a cached flag. Header-only: the start-up benchmark's bare
// window stamps its frame with the same code.
namespace StartTrace {

inline bool enabled()
{
    static const bool on = qEnvironmentVariableIntValue("QUELLNET_TRACE_STARTUP") == 1;
    return on;
}

inline void step(const char *name)
{
    if (!enabled())
        return;
    const auto ms = [](clockid_t clock) {
        timespec now{};
        clock_gettime(clock, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    };
    std::fprintf(stderr, "startup-trace %.3f cpu=%.3f %s\n", ms(CLOCK_MONOTONIC),
                 ms(CLOCK_PROCESS_CPUTIME_ID), name);
    std::fflush(stderr);
}

} // namespace StartTrace
