#pragma once

#include <functional>

// Runs onTerminate on the main thread when the process receives SIGTERM, SIGINT or SIGHUP
// (a session logout, Ctrl+C), so the normal shutdown order still runs. Call once, after
// the application object exists.
void handleTerminationSignals(std::function<void()> onTerminate);
