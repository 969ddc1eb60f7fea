#pragma once

#include "engine.h"

#include <atomic>
#include <functional>
#include <thread>

namespace tunnelkit {

// The engine on a thread of its own, for the helper. That thread runs a Qt event loop (it owns
// openvpn's QProcess, the management socket and the timers); it is a std::thread so ending it
// is a join. Jobs run there one after another, in the order posted, and the sink's callbacks
// run there too, so a job's events always come before whatever the job itself reports after.
class EngineHost
{
public:
    explicit EngineHost(EngineSink sink);
    // Ends the thread; a running openvpn ends with its management link.
    ~EngineHost();

    // Any thread; returns at once.
    void post(std::function<void(Engine &)> job);
    // Any thread but the engine's; returns once job has run.
    void run(const std::function<void(Engine &)> &job);
    // True while a session is running or being set up.
    bool running() const { return m_running.load(); }

    EngineHost(const EngineHost &) = delete;
    EngineHost &operator=(const EngineHost &) = delete;

private:
    std::atomic<bool> m_running{false};
    std::thread m_thread;
    Engine *m_engine = nullptr; // lives on the engine thread's stack
};

} // namespace tunnelkit
